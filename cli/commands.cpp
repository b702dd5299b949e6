#include "commands.h"

#include "console.h"
#include "exitcode.h"
#include "help.h"
#include "messages.h"
#include "options.h"

namespace cli {

QList<Command> commands()
{
    return {portsCommand(),  findCommand(),         scanCommand(), writeCommand(), diffCommand(),
            rebootCommand(), factoryResetCommand(), planCommand(), batchCommand(),
            checkCommand(), surveyCommand(), tuneCommand(), serveCommand()};
}

int main(const QStringList &arguments)
{
    // Caught from the start: a Ctrl+C, a closed terminal or a closed pipe
    // never ends the program before it has said what it did.
    Interrupts::instance();
    const QStringList args = arguments.mid(1);
    const QString name = args.value(0);
    const QList<Command> table = commands();
    for (const Command &command : table) {
        if (name != command.name)
            continue;
        Options options(command);
        int code = Done;
        if (!options.parse(args.mid(1), &code))
            return code;
        return command.run(options);
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        console::out(helpText(table));
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
