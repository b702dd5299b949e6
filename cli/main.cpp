// gateway-cli: the module's parameters from a console, without the window.
#include <QCoreApplication>

#include "commands.h"
#include "console.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int status = cli::main(console::arguments(argc, argv));
    Interrupts::programEnds();
    return status;
}
