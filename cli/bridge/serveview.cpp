#include "serveview.h"

#include "checkwords.h"
#include "command.h"
#include "console.h"
#include "keys.h"
#include "language.h"
#include "modbus.h"

namespace cli {

namespace {

// What a request read or wrote, as check writes it: hr:0:2.
QString target(const AnyUnitServer::Served &s)
{
    const modbus::Table *table = modbus::tableOf(quint8(s.function));
    if (!table || s.address < 0)
        return QString();
    return QStringLiteral("%1:%2:%3").arg(QLatin1String(table->word)).arg(s.address).arg(s.count);
}

QString hexCode(int code)
{
    return QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0'));
}

} // namespace

ServeView::ServeView(AnyUnitServer &server, const Common &common)
    : toStderr(common.json)
{
    clock.start();
    connect(&server, &AnyUnitServer::clientConnected, this, [this](const QString &peer) {
        peers << QJsonObject{{key::peer(), peer}, {key::atS(), stamp().toDouble()}};
        live(cli::tr("%1 connection from %2\n").arg(shownStamp(), peer));
    });
    connect(&server, &AnyUnitServer::clientDisconnected, this,
            [this](const QString &peer) { live(cli::tr("%1 %2 closed\n").arg(shownStamp(), peer)); });
    connect(&server, &AnyUnitServer::requestServed, this, &ServeView::onServed);
}

QString ServeView::stamp() const
{
    return QString::number(double(clock.elapsed()) / 1000, 'f', 3);
}

QString ServeView::shownStamp() const
{
    return language::decimal(double(clock.elapsed()) / 1000, 3);
}

void ServeView::live(const QString &line) const
{
    toStderr ? console::err(line) : console::out(line);
}

void ServeView::onServed(const AnyUnitServer::Served &s)
{
    requests << QJsonObject{{key::peer(), s.peer},
                            {key::unit(), s.unit},
                            {key::function(), s.function},
                            {key::address(), s.address < 0 ? QJsonValue() : QJsonValue(s.address)},
                            {key::count(), s.count < 0 ? QJsonValue() : QJsonValue(s.count)},
                            {key::exception(), s.exception ? QJsonValue(s.exception) : QJsonValue()},
                            {key::atS(), stamp().toDouble()}};
    // A function without a name (0x2b) ends at its code.
    QString line = cli::tr("%1 %2 unit %3 function 0x%4 %5")
                       .arg(shownStamp(), s.peer)
                       .arg(s.unit)
                       .arg(hexCode(s.function), checkwords::functionName(s.function))
                       .trimmed();
    const QString what = target(s);
    if (!what.isEmpty())
        line += QStringLiteral(" %1").arg(what);
    if (s.exception)
        line += cli::tr(": exception 0x%1 %2").arg(hexCode(s.exception), checkwords::exceptionNameText(s.exception));
    live(line + QLatin1Char('\n'));
}

QJsonObject ServeView::json() const
{
    return {{key::connections(), peers}, {key::requests(), requests}, {key::served(), requests.size()}};
}

} // namespace cli
