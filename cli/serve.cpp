// gateway-cli serve: the Modbus TCP server that a module in client mode
// connects to, answering every unit.
#include "commands.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>

#include "anyunitserver.h"
#include "checkargs.h"
#include "checkwords.h"
#include "console.h"
#include "exitcode.h"
#include "language.h"
#include "messages.h"
#include "options.h"

namespace cli {

namespace {

// [HOST:]PORT; an empty host listens at every address of the PC. Port 0
// lets the system pick one (the line "listening at ..." names it).
bool listenAddress(const QString &text, QHostAddress *address, int *port, QString *fault)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    const QString portText = colon < 0 ? text : text.mid(colon + 1);
    *address = QHostAddress(QHostAddress::Any);
    if (colon >= 0) {
        QString host;
        int ignored = 0;
        if (!checkargs::parseHostPort(text.left(colon), &host, &ignored, fault))
            return false;
        *address = QHostAddress(host);
        if (address->isNull()) {
            *fault = cli::tr("\"%1\": HOST must be an address of this PC").arg(text);
            return false;
        }
    }
    bool ok = false;
    *port = portText.toInt(&ok);
    if (!ok || *port < 0 || *port > 65535 || portText.startsWith(QLatin1Char('+'))) {
        *fault = cli::tr("\"%1\": PORT \"%2\" is not a number 0-65535").arg(text, portText);
        return false;
    }
    return true;
}

// What a request read or wrote, as check writes it: hr:0:2.
QString target(const AnyUnitServer::Served &s)
{
    const char *kind = nullptr;
    switch (s.function) {
    case 0x01:
    case 0x05:
    case 0x0F:
        kind = "coil";
        break;
    case 0x02:
        kind = "di";
        break;
    case 0x03:
    case 0x06:
    case 0x10:
        kind = "hr";
        break;
    case 0x04:
        kind = "ir";
        break;
    default:
        break;
    }
    if (!kind || s.address < 0)
        return QString();
    return QStringLiteral("%1:%2:%3").arg(QLatin1String(kind)).arg(s.address).arg(s.count);
}

struct ServeOptions {
    QCommandLineOption seconds{QStringLiteral("for"), cli::tr("how long to serve (default 60)"),
                               QStringLiteral("SECONDS")};
    QCommandLineOption map{
        QStringLiteral("map"),
        cli::tr("values to hold. Without it each holding and input register reads back its own address (hr:7 is 7), "
           "and each coil and discrete input is 1 at an odd address, 0 at an even one. A map file has lines "
           "KIND:ADDRESS = VALUE... (hr:100 = 1234, ir:0 = 10 20 30, coil:8 = 1 0 1); the values go to ADDRESS "
           "and the addresses after it; registers 0-65535 (or 0x0000-0xFFFF), bits 0 or 1; # begins a comment."),
        QStringLiteral("FILE")};
    QList<QCommandLineOption> all() const { return {seconds, map}; }
};

int serve(const Options &o)
{
    const ServeOptions own;
    QStringList faults;
    QString fault;
    QHostAddress address;
    int port = 0;
    if (!listenAddress(o.positional[0], &address, &port, &fault))
        faults << fault;
    int seconds = 60;
    bool bad = o.isSet(own.seconds) && !o.number(own.seconds, 1, 7 * 24 * 3600, &seconds);
    QVector<registermap::Entry> entries;
    if (o.isSet(own.map))
        registermap::load(o.value(own.map), &entries, &faults);
    if (bad || !faults.isEmpty())
        return refuse(faults);

    AnyUnitServer server;
    server.setValues(entries);
    if (!server.listen(address, quint16(port))) {
        message(tr("cannot listen at %1 port %2: %3")
                    .arg(address.toString())
                    .arg(port)
                    .arg(server.listenFailureText()));
        return NoModule;
    }
    const quint16 listening = server.serverPort();
    const bool everywhere = address == QHostAddress(QHostAddress::Any);
    const QString where = everywhere ? tr("every address of this PC, port %1").arg(listening)
                                     : QStringLiteral("%1:%2").arg(address.toString()).arg(listening);
    message(tr("listening at %1 for %2 s, answering every unit").arg(where).arg(seconds));

    QElapsedTimer clock;
    clock.start();
    const auto stamp = [&clock] { return QString::number(double(clock.elapsed()) / 1000, 'f', 3); };
    // The same for a person: the person's decimal separator.
    const auto shownStamp = [&clock] { return language::decimal(double(clock.elapsed()) / 1000, 3); };
    // Live, for a person: on stdout, or with --json on stderr beside the
    // document that comes at the end.
    const auto live = [&o](const QString &line) {
        if (o.common.json)
            console::err(line);
        else
            console::out(line);
    };
    QJsonArray connections;
    QJsonArray requests;
    QObject::connect(&server, &AnyUnitServer::clientConnected, &server, [&](const QString &peer) {
        connections << QJsonObject{{QStringLiteral("peer"), peer}, {QStringLiteral("at_s"), stamp().toDouble()}};
        live(tr("%1 connection from %2\n").arg(shownStamp(), peer));
    });
    QObject::connect(&server, &AnyUnitServer::clientDisconnected, &server,
                     [&](const QString &peer) { live(tr("%1 %2 closed\n").arg(shownStamp(), peer)); });
    QObject::connect(&server, &AnyUnitServer::requestServed, &server, [&](const AnyUnitServer::Served &s) {
        const QString what = target(s);
        QJsonObject r{{QStringLiteral("peer"), s.peer},
                      {QStringLiteral("unit"), s.unit},
                      {QStringLiteral("function"), s.function},
                      {QStringLiteral("address"), s.address < 0 ? QJsonValue() : QJsonValue(s.address)},
                      {QStringLiteral("count"), s.count < 0 ? QJsonValue() : QJsonValue(s.count)},
                      {QStringLiteral("exception"), s.exception ? QJsonValue(s.exception) : QJsonValue()},
                      {QStringLiteral("at_s"), stamp().toDouble()}};
        requests << r;
        // A function without a name (0x2b) ends at its code.
        QString line = tr("%1 %2 unit %3 function 0x%4 %5")
                           .arg(shownStamp(), s.peer)
                           .arg(s.unit)
                           .arg(s.function, 2, 16, QLatin1Char('0'))
                           .arg(checkwords::functionName(s.function))
                           .trimmed();
        if (!what.isEmpty())
            line += QStringLiteral(" %1").arg(what);
        if (s.exception)
            line += tr(": exception 0x%1 %2")
                        .arg(s.exception, 2, 16, QLatin1Char('0'))
                        .arg(checkwords::exceptionNameText(s.exception));
        live(line + QLatin1Char('\n'));
    });

    QEventLoop loop;
    bool interrupted = Interrupts::instance()->seen();
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    QObject::connect(Interrupts::instance(), &Interrupts::interrupted, &loop, [&] {
        interrupted = true;
        loop.quit();
    });
    if (!interrupted)
        loop.exec();
    server.disconnectDevice();

    message(tr("%n requests served", nullptr, int(requests.size())) + QStringLiteral(", ")
            + tr("%n connections", nullptr, int(connections.size())));
    if (o.common.json)
        printJson({{QStringLiteral("listen"), everywhere ? QJsonValue() : QJsonValue(address.toString())},
                   {QStringLiteral("port"), listening},
                   {QStringLiteral("seconds"), seconds},
                   {QStringLiteral("connections"), connections},
                   {QStringLiteral("requests"), requests},
                   {QStringLiteral("served"), requests.size()}});
    if (interrupted)
        return Interrupted;
    return requests.isEmpty() ? NoModule : Done;
}

} // namespace

Command serveCommand()
{
    Command c;
    c.name = QStringLiteral("serve");
    c.arguments = QStringLiteral("[HOST:]PORT");
    c.synopsis = QStringLiteral("[HOST:]PORT [--for SECONDS] [--map FILE] [--json]");
    c.summary = tr("the Modbus TCP server that a module in client mode connects to: shows what it forwards");
    c.about = tr("Stands in for the Modbus TCP server that a module in TCP client mode\n"
                 "connects to (its ip_server_tcp, at its port_tcp): listens at PORT, on the\n"
                 "address HOST of this PC (without HOST: every address of this PC; PORT 0:\n"
                 "one the system picks, named on the first line), answers every unit it is\n"
                 "asked for, and shows each connection (the peer's address) and each request\n"
                 "served (unit, function, address, count) as it comes. So the requests of the\n"
                 "RTU master on the module's line arrive here when the module forwards them.");
    c.options = ServeOptions().all();
    c.notes = tr("With --json the connections and requests come as one JSON document at the\n"
                 "end ({\"listen\", \"port\", \"seconds\", \"connections\": [{\"peer\", \"at_s\"}],\n"
                 "\"requests\": [{\"peer\", \"unit\", \"function\", \"address\", \"count\", \"exception\",\n"
                 "\"at_s\"}], \"served\"}), the live lines on stderr.");
    c.exitCodes = {{Done, tr("at least one request was served")},
                   {Usage, tr("bad usage: nothing was listened for")},
                   {NoModule, tr("no request came (or the port could not be listened at)")},
                   {Interrupted, tr("interrupted (Ctrl+C)")}};
    c.serial = false;
    c.minArguments = c.maxArguments = 1;
    c.run = serve;
    return c;
}

} // namespace cli
