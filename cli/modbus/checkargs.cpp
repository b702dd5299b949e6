#include "checkargs.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QRegularExpression>

#include "modbus.h"

namespace checkargs {

namespace {

// A whole number written plainly (digits only) within its bounds.
bool number(const QString &text, int min, int max, int *out)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(text).hasMatch())
        return false;
    const int v = text.toInt();
    if (v < min || v > max)
        return false;
    *out = v;
    return true;
}

} // namespace

QString kindWord(Kind kind)
{
    const modbus::Table *table = modbus::tableOf(quint8(kind));
    return table ? QLatin1String(table->word) : QString();
}

bool isBits(Kind kind)
{
    const modbus::Table *table = modbus::tableOf(quint8(kind));
    return table && table->bits;
}

QModbusDataUnit::RegisterType registerType(Kind kind)
{
    switch (kind) {
    case Kind::HoldingRegisters:
        return QModbusDataUnit::HoldingRegisters;
    case Kind::InputRegisters:
        return QModbusDataUnit::InputRegisters;
    case Kind::Coils:
        return QModbusDataUnit::Coils;
    case Kind::DiscreteInputs:
        return QModbusDataUnit::DiscreteInputs;
    }
    return QModbusDataUnit::Invalid;
}

QString readText(const Read &read)
{
    return QStringLiteral("%1:%2:%3").arg(kindWord(read.kind)).arg(read.address).arg(read.count);
}

bool parseRead(const QString &text, int unit, Read *read, QString *fault)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3) {
        *fault =
            QCoreApplication::translate("checkargs", "\"%1\": not KIND:ADDRESS[:COUNT] (for example hr:0:2)").arg(text);
        return false;
    }
    Read r;
    r.unit = unit;
    bool known = false;
    for (const modbus::Table &t : modbus::tables) {
        if (parts[0].compare(QLatin1String(t.word), Qt::CaseInsensitive) == 0) {
            r.kind = Kind(t.read);
            known = true;
        }
    }
    if (!known) {
        *fault = QCoreApplication::translate("checkargs", "\"%1\": KIND \"%2\" is not one of hr, ir, coil, di")
                     .arg(text, parts[0]);
        return false;
    }
    if (!number(parts[1], 0, modbus::MaxAddress, &r.address)) {
        *fault = QCoreApplication::translate("checkargs", "\"%1\": ADDRESS \"%2\" is not a number 0-%3")
                     .arg(text, parts[1])
                     .arg(modbus::MaxAddress);
        return false;
    }
    const int most = isBits(r.kind) ? modbus::MaxReadBits : modbus::MaxReadRegisters;
    if (parts.size() == 3 && !number(parts[2], 1, most, &r.count)) {
        *fault = isBits(r.kind)
                     ? QCoreApplication::translate("checkargs", "\"%1\": COUNT \"%2\" is not a number 1-%3 (bits)")
                           .arg(text, parts[2])
                           .arg(most)
                     : QCoreApplication::translate("checkargs", "\"%1\": COUNT \"%2\" is not a number 1-%3 (registers)")
                           .arg(text, parts[2])
                           .arg(most);
        return false;
    }
    if (r.address + r.count - 1 > modbus::MaxAddress) {
        *fault = QCoreApplication::translate("checkargs", "\"%1\": the read goes beyond address %2")
                     .arg(text)
                     .arg(modbus::MaxAddress);
        return false;
    }
    *read = r;
    return true;
}

bool parseUnitReads(const QString &text, QVector<Read> *reads, QStringList *faults)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList items = text.split(blanks, Qt::SkipEmptyParts);
    bool ok = true;
    QVector<Read> out;
    for (const QString &item : items) {
        const int colon = item.indexOf(QLatin1Char(':'));
        int unit = 0;
        QString fault;
        if (colon < 0) {
            *faults << QCoreApplication::translate("checkargs",
                                                   "\"%1\": not UNIT:KIND:ADDRESS[:COUNT] (for example 1:hr:0:2)")
                           .arg(item);
            ok = false;
            continue;
        }
        if (!parseUnit(item.left(colon), &unit, &fault)) {
            *faults << QCoreApplication::translate("checkargs", "\"%1\": %2").arg(item, fault);
            ok = false;
            continue;
        }
        Read r;
        if (!parseRead(item.mid(colon + 1), unit, &r, &fault)) {
            *faults << QCoreApplication::translate("checkargs", "\"%1\": %2").arg(item, fault);
            ok = false;
            continue;
        }
        out << r;
    }
    if (items.isEmpty()) {
        *faults << QCoreApplication::translate("checkargs",
                                               "no read given: UNIT:KIND:ADDRESS[:COUNT], several separated by blanks");
        ok = false;
    }
    if (ok)
        *reads = out;
    return ok;
}

bool parseHostPort(const QString &given, QString *host, int *port, QString *fault)
{
    const QString text = given.trimmed();
    QString h = text;
    QString p;
    if (text.startsWith(QLatin1Char('[')) || text.count(QLatin1Char(':')) > 1) {
        *fault = QCoreApplication::translate("checkargs",
                                             "\"%1\": an IPv6 address; the module has an IPv4 address only (HOST "
                                             "as 192.168.1.10)")
                     .arg(text);
        return false;
    } else if (text.count(QLatin1Char(':')) == 1) {
        h = text.section(QLatin1Char(':'), 0, 0);
        p = text.section(QLatin1Char(':'), 1);
    } else {
        p = QString::number(modbus::DefaultTcpPort);
    }
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?$"));
    if (h.isEmpty() || (QHostAddress(h).isNull() && !name.match(h).hasMatch())) {
        *fault = QCoreApplication::translate("checkargs", "\"%1\": HOST \"%2\" is neither an address nor a host name")
                     .arg(text, h);
        return false;
    }
    static const QRegularExpression dotted(QStringLiteral("^[0-9.]+$"));
    if (dotted.match(h).hasMatch()
        && (h.count(QLatin1Char('.')) != 3 || QHostAddress(h).protocol() != QAbstractSocket::IPv4Protocol)) {
        *fault = QCoreApplication::translate("checkargs", "\"%1\": HOST \"%2\" is not an IPv4 address").arg(text, h);
        return false;
    }
    if (!number(p, 1, 65535, port)) {
        *fault = QCoreApplication::translate("checkargs", "\"%1\": PORT \"%2\" is not a number 1-65535").arg(text, p);
        return false;
    }
    *host = h;
    return true;
}

bool parseUnit(const QString &text, int *unit, QString *fault)
{
    if (!number(text, modbus::MinUnit, modbus::MaxUnit, unit)) {
        *fault = QCoreApplication::translate("checkargs", "unit \"%1\" is not a number %2-%3")
                     .arg(text)
                     .arg(modbus::MinUnit)
                     .arg(modbus::MaxUnit);
        return false;
    }
    return true;
}

bool parseUnits(const QString &text, QVector<int> *units, QString *fault)
{
    QVector<int> out;
    const QStringList items = text.split(QLatin1Char(','));
    for (const QString &given : items) {
        const QString item = given.trimmed();
        const QStringList ends = item.split(QLatin1Char('-'));
        int first = 0;
        int last = 0;
        if (ends.size() > 2 || !parseUnit(ends.first(), &first, fault) || !parseUnit(ends.last(), &last, fault)) {
            if (ends.size() > 2 || item.isEmpty())
                *fault = QCoreApplication::translate("checkargs", "\"%1\": not UNIT or FIRST-LAST (for example 1-32)")
                             .arg(item);
            return false;
        }
        if (last < first) {
            *fault = QCoreApplication::translate("checkargs", "\"%1\": the range ends before it starts").arg(item);
            return false;
        }
        for (int unit = first; unit <= last; ++unit)
            if (!out.contains(unit))
                out << unit;
    }
    *units = out;
    return true;
}

} // namespace checkargs
