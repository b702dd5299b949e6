// gateway-cli: the module's parameters from a console, without the window.
#include <QCoreApplication>

#include "commands.h"
#include "console.h"
#include "exitcode.h"
#include "language.h"
#include "messages.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString fault;
    const QStringList arguments = language::choose(QStringLiteral("gateway-cli"), console::arguments(argc, argv), &fault);
    if (!fault.isEmpty()) {
        cli::message(fault);
        return cli::Usage;
    }
    const int status = cli::main(arguments);
    Interrupts::programEnds();
    return status;
}
