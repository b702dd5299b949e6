// gateway-cli: the module's parameters from a console, without the window.
#include <QCoreApplication>

#include "commands.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return cli::main(QCoreApplication::arguments());
}
