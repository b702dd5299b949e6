#pragma once

#include <QStringList>

// The commands of gateway-cli. Each takes the arguments after its name and
// returns the program's exit code.
namespace cli {

int ports(const QStringList &args);
int find(const QStringList &args);
int scan(const QStringList &args);
int write(const QStringList &args);
int diff(const QStringList &args);
int reboot(const QStringList &args);
int factoryReset(const QStringList &args);
int plan(const QStringList &args);
int batch(const QStringList &args);
// The network side (check.cpp, serve.cpp).
int check(const QStringList &args);
int serve(const QStringList &args);

// The whole program: the command named first, --help, --version.
int main(const QStringList &arguments);

} // namespace cli
