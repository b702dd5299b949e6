#pragma once

#include <QList>
#include <QString>

#include "command.h"

namespace cli {

// The help, made from the command table: the program's (its commands, the
// options of every command, the exit codes) and each command's (its usage,
// what it does, its own options, then the same two lists).
QString helpText(const QList<const Command *> &commands);
QString helpText(const Command &command);
// "gateway-cli VERSION" and a line end.
QString versionText();
// "gateway-cli VERSION": the program that wrote a report.
QString toolName();

} // namespace cli
