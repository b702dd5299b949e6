// gateway-cli: the module's parameters from a console, without the window.
#include <QCoreApplication>
#include <QLoggingCategory>

#include "commands.h"
#include "console.h"
#include "exitcode.h"
#include "language.h"
#include "messages.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The program says what went wrong in its own words; Qt's own log lines
    // (qt.modbus, qt.network) are for QT_LOGGING_RULES, which still applies.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.*=false"));
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
