#include "options.h"

#include "console.h"
#include "help.h"

namespace cli {

Options::Options(const QString &command)
    : command(command)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({
        {QStringLiteral("interval"), QString(), QStringLiteral("MS")},
        {QStringLiteral("verbose"), QString()},
        {QStringLiteral("json"), QString()},
        {{QStringLiteral("h"), QStringLiteral("help")}, QString()},
        {QStringLiteral("version"), QString()},
    });
}

bool Options::parse(const QStringList &args, int minPositional, int maxPositional, int *exitCode)
{
    *exitCode = Usage;
    // The parser takes the program's name first.
    if (!parser.parse(QStringList{QStringLiteral("gateway-cli")} + args)) {
        message(parser.errorText() + QStringLiteral(" (gateway-cli %1 --help)").arg(command));
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        console::out(helpText(command));
        *exitCode = Done;
        return false;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        console::out(QStringLiteral("gateway-cli " GATEWAY_VERSION "\n"));
        *exitCode = Done;
        return false;
    }
    positional = parser.positionalArguments();
    if (positional.size() < minPositional || (maxPositional >= 0 && positional.size() > maxPositional)) {
        message(QStringLiteral("%1 arguments for %2 (gateway-cli %2 --help)")
                    .arg(QLatin1String(positional.size() < minPositional ? "too few" : "too many"), command));
        return false;
    }
    common.verbose = parser.isSet(QStringLiteral("verbose"));
    common.json = parser.isSet(QStringLiteral("json"));
    if (parser.isSet(QStringLiteral("interval")) && !number(QStringLiteral("interval"), 1, 600000, &common.interval))
        return false;
    return true;
}

bool Options::number(const QString &name, int min, int max, int *out) const
{
    bool ok = false;
    const QString text = parser.value(name);
    const int v = text.toInt(&ok);
    if (!ok || v < min || v > max) {
        message(QStringLiteral("--%1 \"%2\": must be a number %3-%4").arg(name, text).arg(min).arg(max));
        return false;
    }
    *out = v;
    return true;
}

} // namespace cli
