#include "plan.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include "command.h"
#include "netrules.h"
#include "portnames.h"
#include "portpath.h"
#include "protocoltables.h"
#include "valueargs.h"

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

namespace {

// The header's columns: each known, none twice, port or mac among them;
// empty cells at its end are a spreadsheet's, not columns. An unknown
// column is an empty name, so that the rows leave it out (its fault is
// said once).
QStringList columnsOf(csv::Record header, QStringList *faults)
{
    while (!header.fields.isEmpty() && header.fields.last().isEmpty())
        header.fields.removeLast();
    QStringList columns;
    for (int c = 0; c < header.fields.size(); ++c) {
        const QString name = header.fields[c].toLower();
        const proto::Parameter *row = proto::parameterNamed(name);
        const bool known = name == portColumn || name == macColumn || name == fileColumn || name == checkColumn
                           || name == viaColumn || (row && row->rule);
        if (!known)
            *faults << cli::tr("%1: no such column (the columns: port, mac, file, check, via, %2)")
                           .arg(where(header.line, c, header.fields[c]), valueargs::writableKeys());
        else if (columns.contains(name))
            *faults << cli::tr("%1: a second column of that name").arg(where(header.line, c, name));
        columns << (known ? name : QString());
    }
    if (!columns.contains(portColumn) && !columns.contains(macColumn))
        *faults << cli::tr("line %1: neither a port nor a mac column").arg(header.line);
    return columns;
}

// The rows after the header, each read by itself and then against the
// rows before it.
class RowReader
{
public:
    RowReader(const QStringList &columns, const QString &folder, bool force, QStringList *faults)
        : columns(columns), folder(folder), force(force), faults(faults)
    {
    }

    Row read(const csv::Record &record)
    {
        this->record = &record;
        Row row;
        row.line = record.line;
        int fields = int(record.fields.size());
        while (fields > columns.size() && record.fields[fields - 1].isEmpty())
            --fields;
        if (fields > columns.size())
            *faults << cli::tr("line %1: %2 fields, the header has %3").arg(record.line).arg(fields).arg(columns.size());
        row.port = cell(portColumn);
        row.mac = cell(macColumn);
        if (row.port.isEmpty() && row.mac.isEmpty())
            *faults << cli::tr("line %1: neither a port nor a mac").arg(record.line);
        if (!row.mac.isEmpty() && cli::macKey(row.mac).isEmpty())
            *faults << cli::tr("%1: \"%2\" is no MAC address (six pairs of hex digits)")
                           .arg(at(macColumn), row.mac);
        readValues(&row);
        readCheck(&row);
        checkOnce(row);
        return row;
    }

private:
    QString cell(const QString &name) const
    {
        const int c = columns.indexOf(name);
        return c < 0 ? QString() : record->fields.value(c);
    }

    QString at(const QString &column) const
    {
        return where(record->line, int(columns.indexOf(column)), column);
    }

    // The file first, then each cell over it; then the network's rules on
    // the values the row gives together (those it leaves to the module are
    // judged once the module is read).
    void readValues(Row *row)
    {
        const QString file = cell(fileColumn);
        if (!file.isEmpty()) {
            QStringList fileFaults;
            row->values = valueargs::fromFile(QDir(folder).filePath(file), force, &fileFaults);
            for (const QString &fault : fileFaults)
                *faults << QStringLiteral("%1: %2").arg(at(fileColumn), fault);
        }
        bool anyValue = false;
        for (int c = 0; c < columns.size() && c < record->fields.size(); ++c) {
            const QString &name = columns[c];
            if (name.isEmpty() || name == portColumn || name == macColumn || name == fileColumn
                || name == checkColumn || name == viaColumn || record->fields[c].isEmpty())
                continue;
            anyValue = true;
            QStringList cellFaults;
            valueargs::take(name, record->fields[c], force, row->values, &cellFaults);
            for (const QString &fault : cellFaults)
                *faults << QStringLiteral("%1: %2").arg(where(record->line, c, name), fault);
        }
        if (!anyValue && file.isEmpty())
            *faults << cli::tr("line %1: nothing to write").arg(record->line);
        if (!force)
            for (const QString &fault : NetRules::jointFaults(row->values))
                *faults << cli::tr("line %1: %2").arg(record->line).arg(fault);
    }

    // The network check after the read-back.
    void readCheck(Row *row)
    {
        QStringList checkFaults;
        if (cli::writecheck::parseCells(cell(checkColumn), cell(viaColumn), &row->check, &checkFaults)
            && row->check.wanted() && !cli::writecheck::clientModeFault(row->values).isEmpty())
            checkFaults << cli::writecheck::clientModeFault(row->values);
        const QString column = columns.contains(checkColumn) ? checkColumn : viaColumn;
        for (const QString &fault : checkFaults)
            *faults << QStringLiteral("%1: %2").arg(at(column), fault);
    }

    // No port, MAC or IP address twice; two names of one device (a link
    // and its target, a relative path and an absolute one) said as both
    // names and the device.
    void checkOnce(const Row &row)
    {
        const QString device = row.port.isEmpty() ? QString() : cli::portKey(row.port);
        if (!device.isEmpty() && ports.contains(device) && portNames.value(device) != row.port)
            *faults << cli::tr("%1: %2 and %3 of line %4 are one device, %5")
                           .arg(at(portColumn), row.port, portNames.value(device))
                           .arg(ports.value(device))
                           .arg(device);
        else
            once(ports, device, portColumn, row.port, cli::tr("%1: %2 is the port of line %3 as well"));
        if (!device.isEmpty() && !portNames.contains(device))
            portNames.insert(device, row.port);
        once(macs, cli::macKey(row.mac), macColumn, row.mac, cli::tr("%1: %2 is the MAC address of line %3 as well"));
        const QString ip = row.values.value(proto::Param::Ip);
        const QString ipColumn = proto::nameOf(proto::Param::Ip);
        if (row.values.has(proto::Param::Ip))
            once(ips, ip, columns.contains(ipColumn) && !cell(ipColumn).isEmpty() ? ipColumn : fileColumn, ip,
                 cli::tr("%1: %2 is the IP address of line %3 as well"));
    }

    void once(QHash<QString, int> &seen, const QString &key, const QString &column, const QString &value,
              const QString &fault)
    {
        if (key.isEmpty())
            return;
        if (seen.contains(key))
            *faults << fault.arg(at(column), value).arg(seen.value(key));
        else
            seen.insert(key, record->line);
    }

    const QStringList columns;
    const QString folder;
    const bool force;
    QStringList *faults;
    const csv::Record *record = nullptr;
    // Where an earlier row named a port, a MAC address or an IP address,
    // and the name of a device's first row.
    QHash<QString, int> ports, macs, ips;
    QHash<QString, QString> portNames;
};

} // namespace

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
    const csv::Record &header = table.records.first();
    const QStringList columns = columnsOf(header, &result.faults);
    if (table.records.size() == 1)
        result.faults << cli::tr("line %1: no module after the header").arg(header.line);
    RowReader reader(columns, folder, force, &result.faults);
    for (int r = 1; r < table.records.size(); ++r)
        result.rows << reader.read(table.records[r]);
    return result;
}

} // namespace plan
