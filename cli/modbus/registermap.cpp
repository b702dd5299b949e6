#include "registermap.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include "modbus.h"
#include "systemwords.h"

namespace registermap {

namespace {

bool value(const QString &text, int max, quint16 *out)
{
    bool ok = false;
    const int v =
        text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok, 10);
    if (!ok || v < 0 || v > max || text.startsWith(QLatin1Char('+')))
        return false;
    *out = quint16(v);
    return true;
}

} // namespace

quint16 defaultValue(checkargs::Kind kind, int address)
{
    return checkargs::isBits(kind) ? quint16(address % 2) : quint16(address);
}

bool load(const QString &path, QVector<Entry> *entries, QStringList *faults)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *faults << QCoreApplication::translate("registermap", "%1: %2").arg(path, language::fileFailureText(path, file.errorString()));
        return false;
    }
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QVector<Entry> out;
    const int before = faults->size();
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QString where = QStringLiteral("%1:%2").arg(path).arg(i + 1);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            *faults << QCoreApplication::translate("registermap", "%1: not KIND:ADDRESS = VALUE...").arg(where);
            continue;
        }
        const QString target = line.left(eq).trimmed();
        checkargs::Read read;
        QString fault;
        if (target.count(QLatin1Char(':')) != 1 || !checkargs::parseRead(target, 1, &read, &fault)) {
            *faults << QCoreApplication::translate("registermap",
                                                   "%1: \"%2\" is not KIND:ADDRESS (hr, ir, coil or di, and 0-%3)")
                           .arg(where, target)
                           .arg(modbus::MaxAddress);
            continue;
        }
        Entry entry;
        entry.kind = read.kind;
        entry.address = read.address;
        const int max = checkargs::isBits(read.kind) ? 1 : 65535;
        const QStringList values = line.mid(eq + 1).split(separators, Qt::SkipEmptyParts);
        bool good = !values.isEmpty();
        for (const QString &text : values) {
            quint16 v = 0;
            if (!value(text, max, &v)) {
                good = false;
                break;
            }
            entry.values << v;
        }
        if (!good) {
            *faults
                << (max == 1
                        ? QCoreApplication::translate("registermap", "%1: the values must be bits, 0 or 1").arg(where)
                        : QCoreApplication::translate("registermap",
                                                      "%1: the values must be numbers 0-65535 (or 0x0000-0xFFFF)")
                              .arg(where));
            continue;
        }
        if (entry.address + entry.values.size() - 1 > modbus::MaxAddress) {
            *faults << QCoreApplication::translate("registermap", "%1: the values go beyond address %2")
                           .arg(where)
                           .arg(modbus::MaxAddress);
            continue;
        }
        out << entry;
    }
    if (faults->size() > before)
        return false;
    *entries = out;
    return true;
}

} // namespace registermap
