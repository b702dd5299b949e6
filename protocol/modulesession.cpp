#include "modulesession.h"

#include "hangup.h"
#include "lines.h"

ModuleSession::ModuleSession(const QString &portName, QObject *parent)
    : QObject(parent)
    , name(portName)
{
    port.setPortName(portName);
    for (QTimer *t : {&paceTimer, &replyTimer, &gapTimer}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
    }
    gapTimer.setInterval(proto::ReplyGapMs);
    connect(&paceTimer, &QTimer::timeout, this, &ModuleSession::transmit);
    connect(&replyTimer, &QTimer::timeout, this, &ModuleSession::replyTimedOut);
    connect(&gapTimer, &QTimer::timeout, this, &ModuleSession::takeReply);
    connect(&port, &QSerialPort::readyRead, this, &ModuleSession::readData);
    connect(&port, &QSerialPort::bytesWritten, this, &ModuleSession::bytesWritten);
    connect(&port, &QSerialPort::errorOccurred, this, &ModuleSession::handleError);
}

bool ModuleSession::open(Fault *fault, QString *reason)
{
    if (port.open(QIODevice::ReadWrite))
        return true;
    *fault = port.error() == QSerialPort::DeviceNotFoundError ? Fault::Missing : Fault::Busy;
    *reason = port.errorString();
    return false;
}

void ModuleSession::close()
{
    paceTimer.stop();
    replyTimer.stop();
    gapTimer.stop();
    waiting = Waiting::Nothing;
    if (port.isOpen())
        port.close();
}

void ModuleSession::request(const QByteArray &command)
{
    line = command;
    expectReply = true;
    waiting = Waiting::Pace;
    // One command per interval, counted from the previous one; the first
    // goes at once.
    const qint64 wait = sinceSent.isValid() ? interval - sinceSent.elapsed() : 0;
    paceTimer.start(int(qMax<qint64>(0, wait)));
}

void ModuleSession::send(const QByteArray &command)
{
    request(command);
    expectReply = false;
}

void ModuleSession::stop()
{
    stopping = true;
    paceTimer.stop();
    replyTimer.stop();
    gapTimer.stop();
    if (waiting == Waiting::Written && port.isOpen() && port.bytesToWrite() > 0)
        return; // stopped() once the line is out
    waiting = Waiting::Nothing;
    emit stopped();
}

void ModuleSession::transmit()
{
    if (!port.isOpen()) {
        fail(Fault::Lost, port.errorString());
        return;
    }
    // Whatever came unasked (a late reply to an earlier command, noise) is
    // no reply to this one.
    if (port.bytesAvailable() > 0)
        emit traffic(false, port.readAll());
    sinceSent.start();
    emit traffic(true, line);
    // One write of the whole line, no terminator, as the window writes.
    if (port.write(line) != line.size()) {
        fail(Fault::Lost, port.errorString());
        return;
    }
    if (expectReply) {
        waiting = Waiting::Reply;
        replyTimer.start(replyTimeout());
    } else {
        waiting = Waiting::Written;
        if (port.bytesToWrite() == 0)
            bytesWritten();
    }
}

void ModuleSession::readData()
{
    if (waiting != Waiting::Reply)
        return; // kept until the next command drops it
    if (proto::replyComplete(port.peek(qMin(port.bytesAvailable(), proto::MaxReplyBytes))))
        takeReply();
    else
        gapTimer.start();
}

void ModuleSession::takeReply()
{
    gapTimer.stop();
    if (waiting != Waiting::Reply || !port.isOpen())
        return;
    const QByteArray reply = port.readAll();
    if (reply.isEmpty())
        return;
    replyTimer.stop();
    waiting = Waiting::Nothing;
    emit traffic(false, reply);
    emit replied(reply);
}

void ModuleSession::replyTimedOut()
{
    if (waiting != Waiting::Reply)
        return;
    // Bytes that came late in the wait are the reply, line end or not.
    if (port.isOpen() && port.bytesAvailable() > 0) {
        takeReply();
        return;
    }
    fail(Fault::Silent, QString());
}

void ModuleSession::bytesWritten()
{
    if (waiting != Waiting::Written || port.bytesToWrite() > 0)
        return;
    waiting = Waiting::Nothing;
    if (stopping)
        emit stopped();
    else
        emit written();
}

void ModuleSession::handleError(QSerialPort::SerialPortError error)
{
    switch (link::troubleOf(error, port)) {
    case link::Trouble::None:
        return;
    case link::Trouble::Lost:
        link::afterPortCall(this, [this, reason = port.errorString()] {
            if (port.isOpen())
                fail(Fault::Lost, reason);
        });
        return;
    case link::Trouble::TransferFailed:
#ifdef Q_OS_WIN
        if (port.isOpen() && !reopenQueued) {
            reopenQueued = true;
            QTimer::singleShot(0, this, &ModuleSession::reopen);
        }
#endif
        return;
    }
}

void ModuleSession::reopen()
{
    reopenQueued = false;
    if (!port.isOpen())
        return;
    port.close();
    if (!port.open(QIODevice::ReadWrite))
        fail(Fault::Lost, port.errorString());
}

void ModuleSession::fail(Fault fault, const QString &reason)
{
    const bool wasStopping = stopping && waiting == Waiting::Written;
    paceTimer.stop();
    replyTimer.stop();
    gapTimer.stop();
    waiting = Waiting::Nothing;
    if (fault == Fault::Lost && port.isOpen())
        port.close();
    if (wasStopping)
        emit stopped();
    else
        emit failed(fault, reason);
}
