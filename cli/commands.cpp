#include "commands.h"

#include <iterator>

#include "batchcommands.h"
#include "bridgecommands.h"
#include "console.h"
#include "exitcode.h"
#include "help.h"
#include "messages.h"
#include "options.h"
#include "serialcommands.h"
#include "surveycommands.h"

namespace cli {

namespace {

const Command *const table[] = {
    &portsCommand,  &findCommand, &scanCommand,  &writeCommand,  &diffCommand, &rebootCommand, &factoryResetCommand,
    &planCommand, &batchCommand, &checkCommand, &surveyCommand, &tuneCommand, &serveCommand,
};

} // namespace

QList<const Command *> commands()
{
    return QList<const Command *>(std::begin(table), std::end(table));
}

int main(const QStringList &arguments)
{
    // Caught from the start: a Ctrl+C, a closed terminal or a closed pipe
    // never ends the program before it has said what it did.
    Interrupts::instance();
    const QStringList args = arguments.mid(1);
    const QString name = args.value(0);
    for (const Command *command : table) {
        if (name != QLatin1String(command->name))
            continue;
        Options options(*command);
        int code = Done;
        if (!options.parse(args.mid(1), &code))
            return code;
        return command->run(options);
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        console::out(helpText(commands()));
        return Done;
    }
    if (name == QLatin1String("--version")) {
        console::out(versionText());
        return Done;
    }
    if (name.isEmpty())
        message(tr("which command? (gateway-cli --help)"));
    else
        message(tr("no command \"%1\" (gateway-cli --help)").arg(name));
    return Usage;
}

} // namespace cli
