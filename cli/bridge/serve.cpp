// gateway-cli serve: the Modbus TCP server that a module in client mode
// connects to, answering every unit.
#include <QTimer>

#include "anyunitserver.h"
#include "batchrun.h"
#include "bridgecommands.h"
#include "checkargs.h"
#include "exitcode.h"
#include "keys.h"
#include "messages.h"
#include "options.h"
#include "serveview.h"

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
        *fault = colon < 0 ? cli::tr("PORT \"%1\" is not a number 0-65535").arg(text)
                           : cli::tr("\"%1\": PORT \"%2\" is not a number 0-65535").arg(text, portText);
        return false;
    }
    return true;
}

QCommandLineOption forOption()
{
    return {QStringLiteral("for"), tr("how long to serve (default 60)"), QStringLiteral("SECONDS")};
}

QCommandLineOption mapOption()
{
    return {QStringLiteral("map"),
            tr("values to hold. Without it each holding and input register reads back its own address (hr:7 is 7), "
               "and each coil and discrete input is 1 at an odd address, 0 at an even one. A map file has lines "
               "KIND:ADDRESS = VALUE... (hr:100 = 1234, ir:0 = 10 20 30, coil:8 = 1 0 1); the values go to ADDRESS "
               "and the addresses after it; registers 0-65535 (or 0x0000-0xFFFF), bits 0 or 1; # begins a comment."),
            QStringLiteral("FILE")};
}

QList<QCommandLineOption> serveOptions()
{
    return {forOption(), mapOption()};
}

int serve(const Options &o)
{
    QStringList faults;
    QString fault;
    QHostAddress address;
    int port = 0;
    if (!listenAddress(o.positional[0], &address, &port, &fault))
        faults << fault;
    int seconds = 60;
    bool bad = o.isSet(forOption()) && !o.number(forOption(), 1, 7 * 24 * 3600, &seconds);
    QVector<registermap::Entry> entries;
    if (o.isSet(mapOption()))
        registermap::load(o.value(mapOption()), &entries, &faults);
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

    // Run on the driver for the time asked, or until Ctrl+C.
    ServeView view(server, o.common);
    BatchRun run;
    const bool interruptedBefore = Interrupts::instance()->seen();
    bool interrupted = interruptedBefore;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &run, &BatchRun::release);
    QObject::connect(Interrupts::instance(), &Interrupts::interrupted, &run, [&] {
        if (!timer.isActive())
            return;
        interrupted = true;
        timer.stop();
        run.release();
    });
    if (!interruptedBefore) {
        run.hold();
        timer.start(seconds * 1000);
    }
    run.run();
    server.disconnectDevice();

    // Render: the summary, and the document.
    message(tr("%n requests served", nullptr, view.served()) + QStringLiteral(", ")
            + tr("%n connections", nullptr, view.connections()));
    if (o.common.json) {
        QJsonObject doc = view.json();
        doc.insert(key::listen(), everywhere ? QJsonValue() : QJsonValue(address.toString()));
        doc.insert(key::port(), listening);
        doc.insert(key::seconds(), seconds);
        printJson(doc);
    }
    if (interrupted)
        return Interrupted;
    return view.served() == 0 ? NoModule : Done;
}

} // namespace

const ExitCode serveExitCodes[] = {
    {Done, QT_TRANSLATE_NOOP("cli", "at least one request was served")},
    {Usage, QT_TRANSLATE_NOOP("cli", "bad usage: nothing was listened for")},
    {NoModule, QT_TRANSLATE_NOOP("cli", "no request came (or the port could not be listened at)")},
    {Interrupted, QT_TRANSLATE_NOOP("cli", "interrupted (Ctrl+C)")},
};

const Command serveCommand{
    "serve", "[HOST:]PORT",
    "[HOST:]PORT [--for SECONDS] [--map FILE] [--json]",
    1, 1, Command::Network,
    QT_TRANSLATE_NOOP("cli",
                      "the Modbus TCP server that a module in client mode connects to: shows what it forwards"),
    QT_TRANSLATE_NOOP("cli",
                      "Stands in for the Modbus TCP server that a module in TCP client mode\n"
                      "connects to (its ip_server_tcp, at its port_tcp): listens at PORT, on the\n"
                      "address HOST of this PC (without HOST: every address of this PC; PORT 0:\n"
                      "one the system picks, named on the first line), answers every unit it is\n"
                      "asked for, and shows each connection (the peer's address) and each request\n"
                      "served (unit, function, address, count) as it comes. So the requests of the\n"
                      "RTU master on the module's line arrive here when the module forwards them."),
    serveOptions,
    QT_TRANSLATE_NOOP("cli",
                      "With --json the connections and requests come as one JSON document at the\n"
                      "end ({\"listen\", \"port\", \"seconds\", \"connections\": [{\"peer\", \"at_s\"}],\n"
                      "\"requests\": [{\"peer\", \"unit\", \"function\", \"address\", \"count\", \"exception\",\n"
                      "\"at_s\"}], \"served\"}), the live lines on stderr."),
    exitCodeList(serveExitCodes),
    serve};

} // namespace cli
