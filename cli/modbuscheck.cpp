#include "modbuscheck.h"

#include <QModbusDataUnit>
#include <QModbusReply>
#include <QModbusTcpClient>
#include <QTcpSocket>
#include <QVariant>

ModbusCheck::ModbusCheck(const QString &host, int port, const QVector<checkargs::Read> &reads, int timeoutMs,
                         int repeat, QObject *parent)
    : QObject(parent)
    , hostName(host)
    , portNumber(port)
    , timeout(timeoutMs)
    , rounds(qMax(1, repeat))
{
    for (const checkargs::Read &r : reads) {
        Answer a;
        a.read = r;
        outcome.answers << a;
    }
    connectTimer.setSingleShot(true);
    connect(&connectTimer, &QTimer::timeout, this, &ModbusCheck::onConnectTimeout);
}

ModbusCheck::~ModbusCheck() = default;

void ModbusCheck::start()
{
    client = new QModbusTcpClient(this);
    client->setConnectionParameter(QModbusDevice::NetworkAddressParameter, hostName);
    client->setConnectionParameter(QModbusDevice::NetworkPortParameter, portNumber);
    client->setTimeout(timeout);
    // One request, one answer: a read sent again would time the gateway twice.
    client->setNumberOfRetries(0);
    connect(client, &QModbusDevice::stateChanged, this, &ModbusCheck::onStateChanged);
    connect(client, &QModbusDevice::errorOccurred, this, &ModbusCheck::onErrorOccurred);
    clock.start();
    connectTimer.start(timeout);
    if (!client->connectDevice()) {
        outcome.failure = Failure::Other;
        outcome.error = client->errorString();
        finish();
    }
}

ModbusCheck::Status ModbusCheck::status() const
{
    if (!outcome.connected)
        return NoConnection;
    for (const Answer &a : outcome.answers)
        if (!a.hasData())
            return NotAllAnswered;
    return AllAnswered;
}

void ModbusCheck::onStateChanged()
{
    if (done)
        return;
    const QModbusDevice::State state = client->state();
    if (state == QModbusDevice::ConnectedState && !outcome.connected) {
        connectTimer.stop();
        outcome.connected = true;
        outcome.connectMs = double(clock.nsecsElapsed()) / 1e6;
        sendNext();
    } else if (state == QModbusDevice::UnconnectedState) {
        // The client's socket is its only child socket: it knows why.
        const QTcpSocket *socket = client->findChild<QTcpSocket *>();
        outcome.error = socket ? socket->errorString() : client->errorString();
        if (outcome.connected) {
            outcome.closedByGateway = true;
        } else if (socket) {
            switch (socket->error()) {
            case QAbstractSocket::ConnectionRefusedError:
                outcome.failure = Failure::Refused;
                break;
            case QAbstractSocket::HostNotFoundError:
                outcome.failure = Failure::HostNotFound;
                break;
            case QAbstractSocket::SocketTimeoutError:
                outcome.failure = Failure::TimedOut;
                break;
            default:
                outcome.failure = Failure::Other;
                break;
            }
        } else {
            outcome.failure = Failure::Other;
        }
        finish();
    }
}

void ModbusCheck::onErrorOccurred()
{
    // A failed connection ends through the state's change; an error that
    // leaves the client connected (a write that failed) is the reply's.
    if (!done && !outcome.connected && client->state() == QModbusDevice::UnconnectedState) {
        outcome.failure = Failure::Other;
        outcome.error = client->errorString();
        finish();
    }
}

void ModbusCheck::onConnectTimeout()
{
    if (done || outcome.connected)
        return;
    outcome.failure = Failure::TimedOut;
    // In English, as Qt's own errors beside it, for the JSON's "error".
    outcome.error = QStringLiteral("no connection within %1 ms").arg(timeout);
    finish();
}

void ModbusCheck::sendNext()
{
    if (done)
        return;
    if (next >= outcome.answers.size()) {
        next = 0;
        if (++round >= rounds || outcome.answers.isEmpty()) {
            finish();
            return;
        }
    }
    const checkargs::Read &r = outcome.answers[next].read;
    QModbusReply *reply =
        client->sendReadRequest(QModbusDataUnit(checkargs::registerType(r.kind), r.address, quint16(r.count)), r.unit);
    if (!reply) {
        // Nothing could be written: the connection is gone.
        outcome.closedByGateway = true;
        outcome.error = client->errorString();
        finish();
        return;
    }
    const qint64 sentAt = clock.nsecsElapsed();
    connect(reply, &QModbusReply::finished, this, [this, reply, sentAt] {
        const double ms = double(clock.nsecsElapsed() - sentAt) / 1e6;
        reply->deleteLater();
        if (done)
            return;
        Answer &a = outcome.answers[next];
        switch (reply->error()) {
        case QModbusDevice::NoError:
            a.answered = true;
            a.exception = 0;
            a.error.clear();
            a.values = reply->result().values();
            // Qt 6 gives the bits of whole bytes: the padding is not data.
            if (a.values.size() > a.read.count)
                a.values.resize(a.read.count);
            a.ms << ms;
            break;
        case QModbusDevice::ProtocolError: {
            // An exception reply's data is its one code byte. (Its function
            // code is not asked for: Qt SerialBus 5.15 reads that byte through
            // a signed char, which gives the enumeration a value outside its
            // range for any exception, 0x80 and above.)
            const QByteArray data = reply->rawResult().data();
            a.answered = true;
            a.values.clear();
            a.exception = data.size() == 1 ? int(quint8(data.at(0))) : -1;
            a.error = a.exception < 0 ? reply->errorString() : QString();
            a.ms << ms;
            break;
        }
        case QModbusDevice::TimeoutError:
            a.answered = false;
            a.values.clear();
            a.exception = 0;
            a.error = QStringLiteral("timeout");
            break;
        default:
            // Aborted: the connection closed under it.
            outcome.closedByGateway = true;
            outcome.error = reply->errorString();
            finish();
            return;
        }
        ++next;
        sendNext();
    });
}

void ModbusCheck::finish()
{
    if (done)
        return;
    done = true;
    connectTimer.stop();
    if (outcome.closedByGateway) {
        // The read on its way and those after it in this round got no answer.
        for (int i = next; i < outcome.answers.size(); ++i) {
            Answer &a = outcome.answers[i];
            a.answered = false;
            a.values.clear();
            a.exception = 0;
            a.error = QStringLiteral("closed");
        }
    }
    if (!outcome.connected)
        for (Answer &a : outcome.answers)
            a.error = QStringLiteral("not sent");
    if (client && client->state() != QModbusDevice::UnconnectedState)
        client->disconnectDevice();
    // Out of the client's own signal, which may be on the stack.
    QTimer::singleShot(0, this, [this] { emit finished(); });
}
