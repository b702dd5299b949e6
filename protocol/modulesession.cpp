#include "modulesession.h"

#include "replyframer.h"
#include "serialmodulelink.h"

ModuleSession::ModuleSession(const QString &portName, QObject *parent)
    : ModuleSession(new SerialModuleLink(portName), parent)
{
}

ModuleSession::ModuleSession(ModuleLink *link, QObject *parent)
    : QObject(parent)
    , moduleLink(link)
    , port(link->device())
    , framer(new ReplyFramer(port, this))
{
    link->setParent(this);
    for (QTimer *t : {&paceTimer, &replyTimer, &quietTimer}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
    }
    connect(&paceTimer, &QTimer::timeout, this, &ModuleSession::transmit);
    connect(&replyTimer, &QTimer::timeout, this, &ModuleSession::replyTimedOut);
    connect(&quietTimer, &QTimer::timeout, this, &ModuleSession::checkQuiet);
    connect(framer, &ReplyFramer::replied, this, &ModuleSession::takeReply);
    connect(port, &QIODevice::readyRead, this, &ModuleSession::readData);
    connect(port, &QIODevice::bytesWritten, this, &ModuleSession::bytesWritten);
    connect(link, &ModuleLink::lost, this, [this](const QString &reason) { fail(Fault::Lost, reason); });
}

bool ModuleSession::open(Fault *fault, QString *reason)
{
    ModuleLink::OpenFault why = ModuleLink::OpenFault::Busy;
    if (moduleLink->open(&why, reason))
        return true;
    switch (why) {
    case ModuleLink::OpenFault::Busy:
        *fault = Fault::Busy;
        break;
    case ModuleLink::OpenFault::Missing:
        *fault = Fault::Missing;
        break;
    case ModuleLink::OpenFault::NotSerial:
        *fault = Fault::NotSerial;
        break;
    }
    return false;
}

void ModuleSession::close()
{
    paceTimer.stop();
    replyTimer.stop();
    framer->cancel();
    waiting = Waiting::Nothing;
    if (port->isOpen())
        port->close();
}

void ModuleSession::request(const QByteArray &command)
{
    line = command;
    expectReply = true;
    lineOut = false;
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
    if (stopping)
        return;
    stopping = true;
    paceTimer.stop();
    // A line on its way is finished, and a reply on its way awaited: a
    // change the module took is then known to have been taken.
    if (port->isOpen() && waiting == Waiting::Written && port->bytesToWrite() > 0)
        return; // stopped() once the line is out
    if (port->isOpen() && waiting == Waiting::Reply)
        return; // stopped() once the reply is in, or the module's time is over
    waiting = Waiting::Nothing;
    emit stopped();
}

void ModuleSession::settle()
{
    sinceDrained.invalidate();
    checkQuiet();
}

void ModuleSession::checkQuiet()
{
    if (!port->isOpen() || !sinceSent.isValid()) {
        emit settled();
        return;
    }
    // The driver's queue is not watched by any signal: it is asked again
    // every few milliseconds (a line of 25 bytes takes 26 ms at 9600 baud).
    if (!moduleLink->drained()) {
        quietTimer.start(5);
        return;
    }
    if (!sinceDrained.isValid())
        sinceDrained.start();
    const qint64 wait = qMax(interval - sinceSent.elapsed(), ReplyFramer::GapMs - sinceDrained.elapsed());
    if (wait > 0) {
        quietTimer.start(int(wait));
        return;
    }
    emit settled();
}

void ModuleSession::transmit()
{
    if (!port->isOpen()) {
        fail(Fault::Lost, port->errorString());
        return;
    }
    // Whatever came unasked (a late reply to an earlier command, noise) is
    // no reply to this one.
    if (port->bytesAvailable() > 0)
        emit traffic(false, port->readAll());
    sinceSent.start();
    emit traffic(true, line);
    // One write of the whole line, no terminator, as the window writes.
    lineOut = true;
    if (port->write(line) != line.size()) {
        fail(Fault::Lost, port->errorString());
        return;
    }
    if (expectReply) {
        waiting = Waiting::Reply;
        replyTimer.start(replyTimeout());
    } else {
        waiting = Waiting::Written;
        if (port->bytesToWrite() == 0)
            bytesWritten();
    }
}

void ModuleSession::readData()
{
    if (waiting != Waiting::Reply)
        return; // kept until the next command drops it
    framer->delivered();
}

void ModuleSession::takeReply(const QByteArray &reply)
{
    if (waiting != Waiting::Reply)
        return;
    replyTimer.stop();
    waiting = Waiting::Nothing;
    emit traffic(false, reply);
    emit replied(reply);
    if (stopping)
        emit stopped();
}

void ModuleSession::replyTimedOut()
{
    if (waiting != Waiting::Reply)
        return;
    // Bytes that came late in the wait are the reply, line end or not.
    if (port->isOpen() && port->bytesAvailable() > 0) {
        framer->takeNow();
        return;
    }
    fail(Fault::Silent, QString());
}

void ModuleSession::bytesWritten()
{
    if (waiting != Waiting::Written || port->bytesToWrite() > 0)
        return;
    waiting = Waiting::Nothing;
    if (stopping)
        emit stopped();
    else
        emit written();
}

void ModuleSession::fail(Fault fault, const QString &reason)
{
    // What the module said before its device went is its reply all the
    // same: an acknowledgement waits for the gap that ends it, and the
    // device may go within that gap.
    bool told = false;
    if (fault == Fault::Lost && waiting == Waiting::Reply && port->isOpen() && port->bytesAvailable() > 0) {
        framer->takeNow();
        told = stopping; // and stopped() with it: the command was finished
    }
    const bool wasStopping = stopping && waiting != Waiting::Nothing;
    paceTimer.stop();
    replyTimer.stop();
    framer->cancel();
    waiting = Waiting::Nothing;
    if (fault == Fault::Lost && port->isOpen())
        port->close();
    if (told)
        return;
    if (wasStopping)
        emit stopped();
    else
        emit failed(fault, reason);
}
