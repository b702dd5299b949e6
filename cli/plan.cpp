#include "plan.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include "command.h"
#include "netrules.h"
#include "portpath.h"
#include "protocoltables.h"
#include "valueargs.h"

namespace csv {

namespace {

QChar separatorOf(const QString &text)
{
    const QChar candidates[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    int counts[3] = {};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        for (int i = 0; i < 3; ++i)
            counts[i] += !quoted && c == candidates[i];
    }
    int most = 0;
    for (int i = 1; i < 3; ++i)
        if (counts[i] > counts[most])
            most = i;
    return candidates[most];
}

} // namespace

Table read(const QByteArray &data)
{
    Table table;
    const TextBytes::Decoded decoded = TextBytes::decode(data);
    table.encoding = decoded.encoding;
    const QString &text = decoded.text;
    const QChar sep = separatorOf(text);
    table.separator = sep;

    int line = 1;
    Record record{line, {}};
    QString cell;
    bool quoted = false;     // inside quotes
    bool wasQuoted = false;  // the cell began with a quote and it closed
    const auto endCell = [&] {
        record.fields << (wasQuoted ? cell : cell.trimmed());
        cell.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endCell();
        // A row of separators only is how a spreadsheet saves an empty row.
        bool blank = true;
        for (const QString &f : record.fields)
            blank = blank && f.isEmpty();
        if (!blank)
            table.records << record;
        record = Record{line, {}};
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && (i + 1 >= text.size() || text[i + 1] != QLatin1Char('\n'))))
                    ++line;
                cell += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && cell.trimmed().isEmpty() && !wasQuoted) {
            cell.clear();
            quoted = true;
        } else if (c == sep) {
            endCell();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            ++line;
            endRecord();
        } else if (wasQuoted) {
            if (!c.isSpace()) {
                table.fault = cli::tr("text after a closing quote");
                table.faultLine = line;
                return table;
            }
        } else {
            cell += c;
        }
    }
    if (quoted) {
        table.fault = cli::tr("a quote that is never closed");
        table.faultLine = record.line;
        return table;
    }
    endRecord();
    return table;
}

QString field(const QString &text)
{
    // Either separator is quoted, so that a reader that takes the other one
    // splits no field; blanks at either end, which a reader drops from a
    // field without quotes; and a byte order mark at the start, which a
    // reader takes for UTF-8's and drops at the start of a file.
    static const QRegularExpression special(QStringLiteral("[,;\"\r\n]"));
    if (!text.contains(special) && text == text.trimmed() && !text.startsWith(QChar(0xfeff)))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace csv

namespace plan {

namespace {

const QString portColumn = QStringLiteral("port");
const QString macColumn = QStringLiteral("mac");
const QString fileColumn = QStringLiteral("file");
const QString checkColumn = QStringLiteral("check");
const QString viaColumn = QStringLiteral("via");

QString where(int line, int column, const QString &name)
{
    return cli::tr("line %1, column %2 (%3)").arg(line).arg(column + 1).arg(name);
}

} // namespace

QString portKey(const QString &port)
{
    return PortPath::device(port);
}

QString macKey(const QString &mac)
{
    static const QRegularExpression form(QStringLiteral("^[0-9A-Fa-f]{2}([:-][0-9A-Fa-f]{2}){5}$"));
    if (!form.match(mac).hasMatch())
        return QString();
    QString key = mac.toUpper();
    key.replace(QLatin1Char('-'), QLatin1Char(':'));
    return key;
}

Plan read(const QByteArray &data, const QString &folder, bool force)
{
    Plan result;
    const csv::Table table = csv::read(data);
    result.separator = table.separator;
    result.encoding = table.encoding;
    if (!table.fault.isEmpty()) {
        result.faults << cli::tr("line %1: %2").arg(table.faultLine).arg(table.fault);
        return result;
    }
    if (table.records.isEmpty()) {
        result.faults << cli::tr("line 1: no header row");
        return result;
    }

    // The header: each column known, none twice, port or mac among them;
    // empty cells at its end are a spreadsheet's, not columns.
    csv::Record header = table.records.first();
    while (!header.fields.isEmpty() && header.fields.last().isEmpty())
        header.fields.removeLast();
    QStringList columns;
    for (int c = 0; c < header.fields.size(); ++c) {
        const QString name = header.fields[c].toLower();
        const proto::Parameter *row = proto::parameterNamed(name);
        const bool known = name == portColumn || name == macColumn || name == fileColumn || name == checkColumn
                           || name == viaColumn || (row && row->rule);
        if (!known)
            result.faults << cli::tr("%1: no such column (the columns: port, mac, file, check, via, %2)")
                                 .arg(where(header.line, c, header.fields[c]), valueargs::writableKeys());
        else if (columns.contains(name))
            result.faults << cli::tr("%1: a second column of that name").arg(where(header.line, c, name));
        // An unknown column is left out of the rows (its fault is said once).
        columns << (known ? name : QString());
    }
    if (!columns.contains(portColumn) && !columns.contains(macColumn))
        result.faults << cli::tr("line %1: neither a port nor a mac column").arg(header.line);
    if (table.records.size() == 1)
        result.faults << cli::tr("line %1: no module after the header").arg(header.line);

    // Where an earlier row named a port, a MAC address or an IP address.
    QHash<QString, int> ports, macs, ips;
    QHash<QString, QString> portNames; // the name of a device's first row
    for (int r = 1; r < table.records.size(); ++r) {
        const csv::Record &record = table.records[r];
        Row row;
        row.line = record.line;
        int fields = int(record.fields.size());
        while (fields > columns.size() && record.fields[fields - 1].isEmpty())
            --fields;
        if (fields > columns.size())
            result.faults << cli::tr("line %1: %2 fields, the header has %3")
                                 .arg(record.line).arg(fields).arg(columns.size());
        const auto cell = [&](const QString &name) {
            const int c = columns.indexOf(name);
            return c < 0 ? QString() : record.fields.value(c);
        };
        row.port = cell(portColumn);
        row.mac = cell(macColumn);
        if (row.port.isEmpty() && row.mac.isEmpty())
            result.faults << cli::tr("line %1: neither a port nor a mac").arg(record.line);
        if (!row.mac.isEmpty() && macKey(row.mac).isEmpty())
            result.faults << QStringLiteral("%1: \"%2\" is no MAC address (six pairs of hex digits)")
                                 .arg(where(record.line, int(columns.indexOf(macColumn)), macColumn), row.mac);

        // The file first, then each cell over it.
        const QString file = cell(fileColumn);
        if (!file.isEmpty()) {
            const QString path = QDir(folder).filePath(file);
            QStringList faults;
            row.values = valueargs::fromFile(path, force, &faults);
            for (const QString &fault : faults)
                result.faults << QStringLiteral("%1: %2").arg(where(record.line, int(columns.indexOf(fileColumn)), fileColumn), fault);
        }
        bool anyValue = false;
        for (int c = 0; c < columns.size() && c < record.fields.size(); ++c) {
            const QString &name = columns[c];
            if (name.isEmpty() || name == portColumn || name == macColumn || name == fileColumn
                || name == checkColumn || name == viaColumn || record.fields[c].isEmpty())
                continue;
            anyValue = true;
            QStringList faults;
            valueargs::take(name, record.fields[c], force, row.values, &faults);
            for (const QString &fault : faults)
                result.faults << QStringLiteral("%1: %2").arg(where(record.line, c, name), fault);
        }
        if (!anyValue && file.isEmpty())
            result.faults << cli::tr("line %1: nothing to write").arg(record.line);
        // The network's rules on the values the row gives together; those
        // it leaves to the module are judged once the module is read.
        if (!force)
            for (const QString &fault : NetRules::jointFaults(row.values))
                result.faults << cli::tr("line %1: %2").arg(record.line).arg(fault);
        // The network check after the read-back.
        QStringList checkFaults;
        if (cli::writecheck::parseCells(cell(checkColumn), cell(viaColumn), &row.check, &checkFaults)
            && row.check.wanted() && !cli::writecheck::clientModeFault(row.values).isEmpty())
            checkFaults << cli::writecheck::clientModeFault(row.values);
        const QString checkWhere = columns.contains(checkColumn) ? checkColumn : viaColumn;
        for (const QString &fault : checkFaults)
            result.faults << QStringLiteral("%1: %2").arg(where(record.line, int(columns.indexOf(checkWhere)), checkWhere), fault);

        // No port, MAC or IP address twice.
        const auto once = [&](QHash<QString, int> &seen, const QString &key, const QString &column,
                              const QString &value, const QString &fault) {
            if (key.isEmpty())
                return;
            if (seen.contains(key))
                result.faults << fault.arg(where(record.line, int(columns.indexOf(column)), column), value)
                                     .arg(seen.value(key));
            else
                seen.insert(key, record.line);
        };
        // Two names of one device (a link and its target, a relative path
        // and an absolute one): both named, and the device.
        const QString device = row.port.isEmpty() ? QString() : portKey(row.port);
        if (!device.isEmpty() && ports.contains(device) && portNames.value(device) != row.port)
            result.faults << cli::tr("%1: %2 and %3 of line %4 are one device, %5")
                                 .arg(where(record.line, int(columns.indexOf(portColumn)), portColumn), row.port,
                                      portNames.value(device))
                                 .arg(ports.value(device))
                                 .arg(device);
        else
            once(ports, device, portColumn, row.port, cli::tr("%1: %2 is the port of line %3 as well"));
        if (!device.isEmpty() && !portNames.contains(device))
            portNames.insert(device, row.port);
        once(macs, macKey(row.mac), macColumn, row.mac,
             cli::tr("%1: %2 is the MAC address of line %3 as well"));
        const QString ip = row.values.value(proto::Param::Ip);
        const QString ipColumn = proto::nameOf(proto::Param::Ip);
        if (row.values.has(proto::Param::Ip))
            once(ips, ip, columns.contains(ipColumn) && !cell(ipColumn).isEmpty() ? ipColumn : fileColumn, ip,
                 cli::tr("%1: %2 is the IP address of line %3 as well"));
        result.rows << row;
    }
    return result;
}

} // namespace plan
