#include "messages.h"

#include <QJsonDocument>

#include "console.h"
#include "exitcode.h"
#include "words.h"

namespace cli {

QString shown(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 0xdc80 && u <= 0xdcff) // a byte that was no UTF-8 (console::arguments())
            out += QStringLiteral("\\x%1").arg(u & 0xff, 2, 16, QLatin1Char('0'));
        else if (u < 0x20 || u == 0x7f)
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else if (u == 0xfffd)
            out += QStringLiteral("\\ufffd");
        else
            out += c;
    }
    return out;
}

void message(const QString &text)
{
    console::err(QStringLiteral("gateway-cli: ") + text + QLatin1Char('\n'));
}

int refuse(const QStringList &faults)
{
    for (const QString &fault : faults)
        message(fault);
    message(tr("nothing was sent"));
    return Usage;
}

QJsonObject toJson(const ModuleValues &values)
{
    QJsonObject object;
    for (const proto::Param p : values.params())
        object.insert(proto::nameOf(p), values.value(p));
    return object;
}

QJsonObject resultJson(const QString &port, Commissioning::Outcome outcome, const QString &detail)
{
    QJsonObject o{{key::port(), port}, {key::result(), resultWord(outcome)}};
    if (!detail.isEmpty())
        o.insert(key::detail(), detail);
    return o;
}

void printJson(const QJsonObject &document)
{
    console::out(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
}

} // namespace cli
