#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include "modulelink.h"
#include "protocoltables.h"

class ReplyFramer;

// Drives one module through its link (a serial port, or any ModuleLink):
// command lines at the module's pace, each reply taken whole (by the link's
// ReplyFramer), the module's silence and the device's loss noticed. Everything happens in the event loop, with no thread and no
// blocking wait, so that many sessions run side by side in one loop.
//
// One command at a time: request() or send(), then wait for replied(),
// written() or failed() before the next.
class ModuleSession : public QObject
{
    Q_OBJECT

public:
    // Why a command or the port failed.
    enum class Fault {
        Busy,      // the port cannot be opened: another program holds it, or no access
        Missing,   // the port cannot be opened: no such device
        NotSerial, // the port cannot be opened: what is there is no serial device
        Lost,      // the device went away
        Silent,    // no reply within the module's time
    };
    Q_ENUM(Fault)

    static constexpr int DefaultInterval = proto::PaceMs;

    // A module on the serial port of that name.
    explicit ModuleSession(const QString &portName, QObject *parent = nullptr);
    // A module behind `link`, which the session takes.
    explicit ModuleSession(ModuleLink *link, QObject *parent = nullptr);

    // The port as it was given: a name or a device path.
    QString portName() const { return moduleLink->name(); }
    // The device that name stood for at the last open.
    QString deviceName() const { return moduleLink->deviceName(); }
    // The least time from one command to the next.
    void setInterval(int ms) { interval = ms; }
    // How long a command waits for its reply: as long as the window gives an
    // acknowledgement at its pace (two of its steps), however short the
    // interval, as a busy machine or adapter may delay a reply that much.
    int replyTimeout() const { return qMax(2 * interval, 2 * proto::PaceMs); }

    // Opens the port at the serial library's defaults (9600 baud, 8 data
    // bits, no parity, one stop bit), as the window does. False, with the
    // fault and the system's reason, when it cannot be opened.
    bool open(Fault *fault, QString *reason);
    void close();
    bool isOpen() const { return port->isOpen(); }

    // Sends a command line once the pace allows, and takes its reply:
    // replied() with the reply's bytes, or failed().
    void request(const QByteArray &line);
    // Sends a command line that gets no reply (a reboot): written() once it
    // is on the wire, or failed().
    void send(const QByteArray &line);
    // Sends nothing more; the command on the wire is finished first: its
    // line written and, when it asks for a reply, the reply taken (replied())
    // or the module's time over. Emits stopped() then.
    void stop();
    bool isStopping() const { return stopping; }
    // Whether the line of the last request() or send() has been handed to
    // the port (not only waiting for its pace), whether or not the write
    // then failed: a module restarting at once may take its device with it.
    bool lineWritten() const { return lineOut; }
    // Emits settled() once the last line has left the port, the driver's
    // queue included, and the module's quiet gap has passed since: the pace
    // interval from the line's start, and the reply framer's gap from its
    // end. A program that ends then leaves the module able to take the next
    // program's first line as a line of its own.
    void settle();

signals:
    void replied(const QByteArray &reply);
    void written();
    void failed(ModuleSession::Fault fault, const QString &reason);
    void stopped();
    void settled();
    // Every line sent and every reply taken, for a trace.
    void traffic(bool sent, const QByteArray &bytes);

private:
    enum class Waiting { Nothing, Pace, Reply, Written };

    void transmit();
    void readData();
    void takeReply(const QByteArray &reply);
    void replyTimedOut();
    void bytesWritten();
    void fail(Fault fault, const QString &reason);
    void checkQuiet();

    ModuleLink *moduleLink = nullptr;
    QIODevice *port = nullptr;
    ReplyFramer *framer = nullptr;
    int interval = DefaultInterval;
    QByteArray line;
    bool expectReply = false;
    bool lineOut = false;
    Waiting waiting = Waiting::Nothing;
    bool stopping = false;
    // Since the last line went out: the pace is kept from there.
    QElapsedTimer sinceSent;
    QTimer paceTimer;
    QTimer replyTimer;
    // Settling: polls the driver's queue, then waits out the gap.
    QTimer quietTimer;
    QElapsedTimer sinceDrained;
};
