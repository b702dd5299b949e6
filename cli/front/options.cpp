#include "options.h"

#include <algorithm>

#include "console.h"
#include "exitcode.h"
#include "help.h"
#include "messages.h"
#include "modulevalues.h"

namespace cli {

namespace {

// What Qt's command-line parser says to the user (its errorText(), which
// gateway-cli shows), in its own context: named here so that lupdate keeps
// them in gateway-cli's translations.
[[maybe_unused]] const char *const parserTexts[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown option '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown options: %1."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Missing value after '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unexpected value after '%1'."),
};

QCommandLineOption interval()
{
    return {QStringLiteral("interval"),
            tr("the time between two commands to a module (default 1000, the module's pace; less only for "
               "modules known to keep up)"),
            QStringLiteral("MS")};
}
QCommandLineOption verbose()
{
    return {QStringLiteral("verbose"), tr("every line sent and received, with a time stamp, and the device leaving "
                                          "and coming back around a restart, on stderr")};
}
QCommandLineOption json()
{
    return {QStringLiteral("json"), tr("one JSON document on stdout; messages stay on stderr")};
}
QCommandLineOption help()
{
    return {{QStringLiteral("h"), QStringLiteral("help")}, tr("this help")};
}
QCommandLineOption version()
{
    return {QStringLiteral("version"), tr("the program's version")};
}
// Taken before the command is (language.h); here for the help and the
// manual page.
QCommandLineOption language()
{
    return {QStringLiteral("lang"),
            tr("the language of the texts for a person, anywhere on the command line (default: the system's, "
               "or GATEWAY_LANG)"),
            QStringLiteral("en|ru")};
}

} // namespace

QList<QCommandLineOption> commonOptions(bool serial)
{
    if (!serial)
        return {verbose(), json(), help(), version(), language()};
    return {interval(), verbose(), json(), help(), version(), language()};
}

Options::Options(const Command &command)
    : command(command)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(commonOptions(command.side == Command::Serial));
    parser.addOptions(command.options());
}

bool Options::parse(const QStringList &args, int *exitCode)
{
    *exitCode = Usage;
    // The parser takes the program's name first.
    if (!parser.parse(QStringList{QStringLiteral("gateway-cli")} + args)) {
        message(cli::tr("%1 (gateway-cli %2 --help)").arg(parser.errorText(), QLatin1String(command.name)));
        // "--ip 1.2.3.4": a module's parameter, which write takes as --set.
        const QList<QCommandLineOption> own = command.options();
        const bool takesSet = std::any_of(own.begin(), own.end(), [](const QCommandLineOption &o) {
            return o.names().contains(QStringLiteral("set"));
        });
        for (const QString &name : parser.unknownOptionNames()) {
            const proto::Parameter *row = proto::parameterNamed(name.toLower());
            if (takesSet && row && row->rule)
                message(cli::tr("%1 is a parameter of the module: --set %1=VALUE").arg(name.toLower()));
        }
        return false;
    }
    if (parser.isSet(help())) {
        console::out(helpText(command));
        *exitCode = Done;
        return false;
    }
    if (parser.isSet(version())) {
        console::out(versionText());
        *exitCode = Done;
        return false;
    }
    positional = parser.positionalArguments();
    const bool tooFew = positional.size() < command.minArguments;
    if (tooFew || (command.maxArguments >= 0 && positional.size() > command.maxArguments)) {
        message((tooFew ? cli::tr("too few arguments for %1 (gateway-cli %1 --help)")
                        : cli::tr("too many arguments for %1 (gateway-cli %1 --help)"))
                    .arg(QLatin1String(command.name)));
        return false;
    }
    common.verbose = parser.isSet(verbose());
    common.json = parser.isSet(json());
    if (command.side == Command::Serial && parser.isSet(interval()) && !number(interval(), 1, 600000, &common.interval))
        return false;
    return true;
}

bool Options::number(const QCommandLineOption &option, int min, int max, int *out) const
{
    bool ok = false;
    const QString text = parser.value(option);
    const int v = text.toInt(&ok);
    if (!ok || v < min || v > max) {
        message(cli::tr("--%1 \"%2\": must be a number %3-%4").arg(option.names().constLast(), text).arg(min).arg(max));
        return false;
    }
    *out = v;
    return true;
}

namespace option {

QCommandLineOption output()
{
    return {{QStringLiteral("o"), QStringLiteral("output")},
            cli::tr("the file to write, as this help tells (an existing one is replaced only with --overwrite)"),
            QStringLiteral("FILE")};
}

QCommandLineOption overwrite()
{
    return {QStringLiteral("overwrite"), cli::tr("replace the file if it exists")};
}

QCommandLineOption force()
{
    return {QStringLiteral("force"), cli::tr("send the values unchecked: the module judges them")};
}

QCommandLineOption onlyChanged()
{
    return {QStringLiteral("only-changed"), cli::tr("scan first and write only the values that differ")};
}

QCommandLineOption rebootTimeout()
{
    return {QStringLiteral("reboot-timeout"),
            cli::tr("how long to wait for the module to come back after its restart (default 30)"), QStringLiteral("S")};
}

QCommandLineOption report()
{
    return {QStringLiteral("report"),
            cli::tr("the record (CSV) to write, as this help tells: proven writable before anything is sent, and written "
               "however the command ends"),
            QStringLiteral("FILE")};
}

bool rebootTimeoutMs(const Options &o, int *ms)
{
    int seconds = 30;
    if (o.isSet(rebootTimeout()) && !o.number(rebootTimeout(), 1, 3600, &seconds))
        return false;
    *ms = seconds * 1000;
    return true;
}

} // namespace option

} // namespace cli
