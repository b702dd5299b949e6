#include "plan.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include "protocoltables.h"
#include "valueargs.h"

namespace csv {

namespace {

// Where the bytes stop being UTF-8 (an overlong form or a surrogate is no
// UTF-8 either), or -1 when they are UTF-8 throughout.
int notUtf8At(const QByteArray &data)
{
    const auto *s = reinterpret_cast<const unsigned char *>(data.constData());
    const int n = data.size();
    for (int i = 0; i < n;) {
        const unsigned char c = s[i];
        int more = 0;
        unsigned int code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xe0) == 0xc0) {
            more = 1;
            code = c & 0x1f;
        } else if ((c & 0xf0) == 0xe0) {
            more = 2;
            code = c & 0x0f;
        } else if ((c & 0xf8) == 0xf0) {
            more = 3;
            code = c & 0x07;
        } else {
            return i;
        }
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n || (s[i + k] & 0xc0) != 0x80)
                return i;
            code = (code << 6) | (s[i + k] & 0x3f);
        }
        const unsigned int least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[more] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return i;
        i += more + 1;
    }
    return -1;
}

QChar separatorOf(const QString &text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
    }
    return QLatin1Char(semicolons > commas ? ';' : ',');
}

} // namespace

Table read(const QByteArray &data)
{
    Table table;
    QByteArray bytes = data;
    if (bytes.startsWith("\xef\xbb\xbf"))
        bytes.remove(0, 3);
    const int bad = notUtf8At(bytes);
    if (bad >= 0) {
        table.fault = QStringLiteral("not UTF-8 text");
        table.faultLine = 1 + int(bytes.left(bad).count('\n'));
        return table;
    }
    const QString text = QString::fromUtf8(bytes);
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
        const bool blank = record.fields.size() == 1 && record.fields[0].isEmpty();
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
                table.fault = QStringLiteral("text after a closing quote");
                table.faultLine = line;
                return table;
            }
        } else {
            cell += c;
        }
    }
    if (quoted) {
        table.fault = QStringLiteral("a quote that is never closed");
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
    return QStringLiteral("line %1, column %2 (%3)").arg(line).arg(column + 1).arg(name);
}

} // namespace

QString portKey(const QString &port)
{
#ifdef Q_OS_WIN
    QString key = port.toUpper();
    if (key.startsWith(QLatin1String("\\\\.\\")))
        key.remove(0, 4);
    return key;
#else
    const QString path = port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
#endif
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
    if (!table.fault.isEmpty()) {
        result.faults << QStringLiteral("line %1: %2").arg(table.faultLine).arg(table.fault);
        return result;
    }
    if (table.records.isEmpty()) {
        result.faults << QStringLiteral("line 1: no header row");
        return result;
    }

    // The header: each column known, none twice, port or mac among them.
    const csv::Record &header = table.records.first();
    QStringList columns;
    for (int c = 0; c < header.fields.size(); ++c) {
        const QString name = header.fields[c].toLower();
        const proto::Parameter *row = proto::parameterNamed(name);
        const bool known = name == portColumn || name == macColumn || name == fileColumn || name == checkColumn
                           || name == viaColumn || (row && row->rule);
        if (!known)
            result.faults << QStringLiteral("%1: no such column (the columns: port, mac, file, check, via, %2)")
                                 .arg(where(header.line, c, header.fields[c]), valueargs::writableKeys());
        else if (columns.contains(name))
            result.faults << QStringLiteral("%1: a second column of that name").arg(where(header.line, c, name));
        // An unknown column is left out of the rows (its fault is said once).
        columns << (known ? name : QString());
    }
    if (!columns.contains(portColumn) && !columns.contains(macColumn))
        result.faults << QStringLiteral("line %1: neither a port nor a mac column").arg(header.line);
    if (table.records.size() == 1)
        result.faults << QStringLiteral("line %1: no module after the header").arg(header.line);

    // Where an earlier row named a port, a MAC address or an IP address.
    QHash<QString, int> ports, macs, ips;
    for (int r = 1; r < table.records.size(); ++r) {
        const csv::Record &record = table.records[r];
        Row row;
        row.line = record.line;
        if (record.fields.size() > columns.size())
            result.faults << QStringLiteral("line %1: %2 fields, the header has %3")
                                 .arg(record.line).arg(record.fields.size()).arg(columns.size());
        const auto cell = [&](const QString &name) {
            const int c = columns.indexOf(name);
            return c < 0 ? QString() : record.fields.value(c);
        };
        row.port = cell(portColumn);
        row.mac = cell(macColumn);
        if (row.port.isEmpty() && row.mac.isEmpty())
            result.faults << QStringLiteral("line %1: neither a port nor a mac").arg(record.line);
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
            result.faults << QStringLiteral("line %1: nothing to write").arg(record.line);
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
                              const QString &value, const char *what) {
            if (key.isEmpty())
                return;
            if (seen.contains(key))
                result.faults << QStringLiteral("%1: %2 is %3 of line %4 as well")
                                     .arg(where(record.line, int(columns.indexOf(column)), column), value,
                                          QLatin1String(what))
                                     .arg(seen.value(key));
            else
                seen.insert(key, record.line);
        };
        once(ports, row.port.isEmpty() ? QString() : portKey(row.port), portColumn, row.port, "the port");
        once(macs, macKey(row.mac), macColumn, row.mac, "the MAC address");
        const QString ip = row.values.value(proto::Param::Ip);
        const QString ipColumn = proto::nameOf(proto::Param::Ip);
        if (row.values.has(proto::Param::Ip))
            once(ips, ip, columns.contains(ipColumn) && !cell(ipColumn).isEmpty() ? ipColumn : fileColumn, ip,
                 "the IP address");
        result.rows << row;
    }
    return result;
}

} // namespace plan
