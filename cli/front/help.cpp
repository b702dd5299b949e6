#include "help.h"

#include <QPair>

#include "exitcode.h"
#include "options.h"

namespace cli {

namespace {

// The width the help's lists are wrapped to.
constexpr int Width = 76;

// Entries in two columns, each on its lines: the first column as wide as
// its widest entry and three spaces, the second wrapped to the width under
// itself. An entry too wide for a sensible first column (a long option's
// value) stands on a line of its own, its text below it.
QString twoColumns(const QList<QPair<QString, QString>> &entries)
{
    constexpr int Widest = 24;
    int column = 0;
    for (const auto &e : entries) {
        const int needed = 2 + int(e.first.size()) + 3;
        if (needed <= Widest)
            column = qMax(column, needed);
    }
    if (column == 0)
        column = Widest;
    QString text;
    for (const auto &e : entries) {
        QString line = QStringLiteral("  ") + e.first;
        if (line.size() + 3 > column) {
            text += line + QLatin1Char('\n');
            line.clear();
        }
        line = line.leftJustified(column);
        bool empty = true; // nothing in the second column of this line yet
        for (const QString &word : e.second.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!empty && line.size() + 1 + word.size() > Width) {
                text += line + QLatin1Char('\n');
                line = QString(column, QLatin1Char(' '));
                empty = true;
            }
            if (!empty)
                line += QLatin1Char(' ');
            line += word;
            empty = false;
        }
        if (!empty)
            text += line + QLatin1Char('\n');
        else if (!line.trimmed().isEmpty())
            text += QStringLiteral("  ") + e.first + QLatin1Char('\n');
    }
    return text;
}

// An option as the help shows it: "-o, --output FILE".
QString optionEntry(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString entry = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        entry += QLatin1Char(' ') + option.valueName();
    return entry;
}

QString optionList(const QList<QCommandLineOption> &options)
{
    QList<QPair<QString, QString>> entries;
    for (const QCommandLineOption &option : options)
        entries << qMakePair(optionEntry(option), option.description());
    return twoColumns(entries);
}

// What every help ends with: the options of every command and the exit
// codes (a command's own, where it has them).
QString commonPart(Command::Side side = Command::Serial, ExitCodes own = {})
{
    const ExitCodes listed = own.count > 0 ? own : exitCodes();
    QList<QPair<QString, QString>> codes;
    for (int i = 0; i < listed.count; ++i)
        codes << qMakePair(QString::number(listed.rows[i].code), tr(listed.rows[i].meaning));
    return QLatin1Char('\n') + tr("Options of every command:") + QLatin1Char('\n')
        + optionList(commonOptions(side == Command::Serial)) + QLatin1Char('\n') + tr("Exit status:")
        + QLatin1Char('\n') + twoColumns(codes);
}

} // namespace

QString helpText(const QList<const Command *> &commands)
{
    QList<QPair<QString, QString>> list;
    for (const Command *c : commands)
        list << qMakePair(QStringLiteral("%1 %2").arg(QLatin1String(c->name), QLatin1String(c->arguments)).trimmed(),
                          tr(c->summary));
    return tr("Usage: gateway-cli COMMAND [ARGUMENT]... [OPTION]...") + QStringLiteral("\n\n")
        + tr("Reads and writes the parameters of Modbus TCP-RTU gateway modules through\n"
             "their serial configuration port, one module or many at once, and proves\n"
             "over Modbus TCP that a module bridges to the devices on its line.")
        + QStringLiteral("\n\n") + tr("Commands:") + QLatin1Char('\n') + twoColumns(list) + QLatin1Char('\n')
        + tr("\"gateway-cli COMMAND --help\" tells more of each.\n"
             "\n"
             "PORT is a port name (COM3, ttyUSB0: a device in /dev) or a device path\n"
             "(/dev/serial/by-id/..., relative from the working folder); two names of\n"
             "one device are one port, and a device in use by another program, under\n"
             "any name, is busy. FILE is a settings file (.TRset), as the configurator's\n"
             "menu \"Файл настройки\" opens and saves them.\n"
             "\n"
             "Parameter keys: mode, version, mac, ip, mask, gateway, port_tcp, parity,\n"
             "speed, stop_bits, timeout_response, ip_server_tcp, timeout_tcp,\n"
             "rtu_virtual_id, tcp_slave_id, in any case. Values are written as the\n"
             "module replies them, the choices' words in any case: mode server or\n"
             "client; parity none, odd or even; speed the baud rate; stop_bits 1 or 2;\n"
             "tcp_slave_id a number or off. version and mac are read only.\n"
             "\n"
             "Results: ok, refused, mismatch, garbled (replies that are not the\n"
             "protocol's), invalid (values that cannot work together; nothing written),\n"
             "silent, lost, no-port, not-serial, busy, interrupted.")
        + QStringLiteral("\n\n")
        + tr("The language of the texts is the system's (Russian or English); --lang en\n"
             "or --lang ru, anywhere on the command line, or the variable GATEWAY_LANG\n"
             "chooses it. JSON, reports and the words scripts read are the same in both.")
        + QLatin1Char('\n') + commonPart();
}

QString helpText(const Command &command)
{
    // The synopsis's "[OPTION]..." in the person's language, as the
    // program's own usage says it.
    QString synopsis = QLatin1String(command.synopsis);
    synopsis.replace(QLatin1String("[OPTION]..."), tr("[OPTION]..."));
    QString text = tr("Usage: gateway-cli %1 %2").arg(QLatin1String(command.name), synopsis) + QStringLiteral("\n\n")
        + tr(command.about) + QLatin1Char('\n');
    const QList<QCommandLineOption> options = command.options();
    if (!options.isEmpty())
        text += QLatin1Char('\n') + optionList(options);
    if (command.notes)
        text += QLatin1Char('\n') + tr(command.notes) + QLatin1Char('\n');
    return text + commonPart(command.side, command.exitCodes);
}

QString versionText()
{
    return toolName() + QLatin1Char('\n');
}

QString toolName()
{
    return QStringLiteral("gateway-cli " GATEWAY_VERSION);
}

} // namespace cli
