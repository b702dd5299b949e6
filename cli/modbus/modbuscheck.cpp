#include "modbuscheck.h"

#include <QTcpSocket>

#include "modbus.h"

namespace {

// Arms `timer` for what is left of `ms` since `from` (nanoseconds on
// `clock`); false when nothing is left. A timer may fire a little early,
// even a precise one: the time-out is given up only when it has passed.
bool armForRest(QTimer &timer, const QElapsedTimer &clock, qint64 from, int ms)
{
    const qint64 left = (from + qint64(ms) * 1000000 - clock.nsecsElapsed() + 999999) / 1000000;
    if (left <= 0)
        return false;
    timer.start(int(left));
    return true;
}

} // namespace

bool ModbusCheck::Answer::proves() const
{
    return outcome == Outcome::Data || (outcome == Outcome::Exception && modbus::isDeviceException(exception));
}

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
    for (QTimer *timer : {&connectTimer, &replyTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&connectTimer, &QTimer::timeout, this, &ModbusCheck::onConnectTimeout);
    connect(&replyTimer, &QTimer::timeout, this, &ModbusCheck::onReplyTimeout);
}

ModbusCheck::~ModbusCheck() = default;

void ModbusCheck::start()
{
    socket = new QTcpSocket(this);
    connect(socket, &QTcpSocket::connected, this, &ModbusCheck::onConnected);
    connect(socket, &QTcpSocket::disconnected, this, &ModbusCheck::onDisconnected);
    connect(socket, &QTcpSocket::errorOccurred, this, &ModbusCheck::onError);
    connect(socket, &QTcpSocket::readyRead, this, &ModbusCheck::onReadyRead);
    clock.start();
    connectTimer.start(timeout);
    socket->connectToHost(hostName, quint16(portNumber));
}

void ModbusCheck::stop()
{
    if (done)
        return;
    outcome.interrupted = true;
    if (pending)
        settle(Outcome::Interrupted);
    finish();
}

ModbusCheck::Status ModbusCheck::status() const
{
    if (!outcome.connected)
        return NoConnection;
    bool refused = false;
    for (const Answer &a : outcome.answers) {
        if (!a.proves())
            return Unproven;
        refused = refused || !a.hasData();
    }
    return refused ? DeviceRefused : AllAnswered;
}

void ModbusCheck::onConnected()
{
    if (done)
        return;
    connectTimer.stop();
    outcome.connected = true;
    outcome.connectMs = double(clock.nsecsElapsed()) / 1e6;
    emit connected();
    sendNext();
}

void ModbusCheck::onDisconnected()
{
    if (done || !outcome.connected)
        return;
    outcome.closedByGateway = true;
    if (outcome.error.isEmpty())
        outcome.error = socket->errorString();
    finish();
}

void ModbusCheck::onError()
{
    if (done)
        return;
    outcome.error = socket->errorString();
    if (outcome.connected) {
        // The gateway closing its end ends through disconnected(); any other
        // loss of the connection is no doing of the gateway's that we know.
        if (socket->error() != QAbstractSocket::RemoteHostClosedError)
            finish();
        return;
    }
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
    finish();
}

void ModbusCheck::onConnectTimeout()
{
    if (done || outcome.connected || armForRest(connectTimer, clock, 0, timeout))
        return;
    outcome.failure = Failure::TimedOut;
    // In English, as the system's own errors beside it, for the JSON's "error".
    outcome.error = QStringLiteral("no connection within %1 ms").arg(timeout);
    finish();
}

void ModbusCheck::onReplyTimeout()
{
    if (done || !pending || armForRest(replyTimer, clock, sentAt, timeout))
        return;
    givenUp.insert(transaction);
    settle(Outcome::Timeout);
    sendNext();
}

void ModbusCheck::sendNext()
{
    if (done)
        return;
    if (next >= outcome.answers.size()) {
        next = 0;
        if (++roundNow >= rounds || outcome.answers.isEmpty()) {
            --roundNow;
            finish();
            return;
        }
    }
    ++transaction;
    const QByteArray frame = modbusreply::request(transaction, outcome.answers[next].read);
    pending = true;
    sentAt = clock.nsecsElapsed();
    emit traffic(true, frame);
    if (socket->write(frame) != frame.size()) {
        outcome.error = socket->errorString();
        finish();
        return;
    }
    replyTimer.start(timeout);
    emit sent(next);
}

void ModbusCheck::onReadyRead()
{
    buffer += socket->readAll();
    modbus::MbapHeader header;
    while (!done
           && modbus::readMbapHeader(reinterpret_cast<const unsigned char *>(buffer.constData()),
                                     std::size_t(buffer.size()), &header)) {
        if (!modbus::mbapLengthFits(header)) {
            emit traffic(false, buffer);
            if (pending) {
                outcome.answers[next].mismatch = {modbusreply::Mismatch::What::Framing, int(header.length), 0};
                settle(Outcome::Invalid);
            }
            outcome.gaveUp = true;
            finish();
            return;
        }
        const int size = int(modbus::mbapFrameSize(header));
        if (buffer.size() < size)
            return;
        const QByteArray frame = buffer.left(size);
        buffer.remove(0, size);
        emit traffic(false, frame);
        // A late reply to a request given up, or one never asked for.
        if (!pending || (header.transaction != transaction && givenUp.contains(quint16(header.transaction))))
            continue;
        Answer &a = outcome.answers[next];
        const double ms = double(clock.nsecsElapsed() - sentAt) / 1e6;
        if (header.transaction != transaction) {
            a.mismatch = {modbusreply::Mismatch::What::Transaction, int(header.transaction), transaction};
            givenUp.insert(transaction);
            settle(Outcome::Invalid);
            sendNext();
            continue;
        }
        const modbusreply::Verdict v = modbusreply::judge(frame, a.read);
        switch (v.kind) {
        case modbusreply::Verdict::Kind::Data:
            a.values = v.values;
            a.ms << ms;
            settle(Outcome::Data);
            break;
        case modbusreply::Verdict::Kind::Exception:
            a.exception = v.exception;
            a.ms << ms;
            settle(Outcome::Exception);
            break;
        case modbusreply::Verdict::Kind::Invalid:
            a.mismatch = v.mismatch;
            settle(Outcome::Invalid);
            break;
        }
        sendNext();
    }
}

// The request waiting for its reply ends with `result`; the next read is
// the one to send.
void ModbusCheck::settle(Outcome result)
{
    pending = false;
    replyTimer.stop();
    const int index = next++;
    outcome.answers[index].outcome = result;
    emit answered(index);
}

void ModbusCheck::finish()
{
    if (done)
        return;
    done = true;
    connectTimer.stop();
    replyTimer.stop();
    if (outcome.connected && (outcome.closedByGateway || !outcome.error.isEmpty() || outcome.gaveUp)) {
        // The read on its way and those after it in this round got no answer.
        if (pending)
            settle(Outcome::Closed);
        for (int i = next; i < outcome.answers.size(); ++i) {
            if (!outcome.gaveUp)
                outcome.answers[i].outcome = Outcome::Closed;
            emit answered(i);
        }
    }
    pending = false;
    if (socket)
        socket->abort();
    // Out of the socket's own signal, which may be on the stack.
    QTimer::singleShot(0, this, [this] { emit finished(); });
}
