#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <QVector>

#include "checkargs.h"
#include "modbusreply.h"

class QTcpSocket;

// One check of a gateway's bridge: a Modbus TCP master connects to HOST at
// PORT, sends each read in order (the whole list `repeat` times), one at a
// time, times the connection and each round trip, and keeps what came back.
// A reply counts only when it matches its request (modbusreply.h); a
// request is given up no earlier than the time-out after it was sent. It
// runs in the event loop that is there (no loop of its own, no blocking
// wait), so that many checks and serial work can run side by side;
// finished() says it has ended. A connection that the gateway closes is not
// opened again: the reads not answered by then stay unanswered.
class ModbusCheck : public QObject
{
    Q_OBJECT

public:
    // Why there is no connection.
    enum class Failure {
        None,
        Refused,  // the host answered that nothing listens at the port
        TimedOut, // nothing answered within the time-out
        HostNotFound,
        Other,
    };

    // What became of a read's last request.
    enum class Outcome {
        NotSent,
        Data,
        Exception,
        Timeout,     // no reply within the time-out
        Invalid,     // a reply that does not match the request
        Closed,      // the connection closed before its reply
        Interrupted, // the check was stopped before its reply
    };

    // What became of one read.
    struct Answer {
        checkargs::Read read;
        Outcome outcome = Outcome::NotSent;
        QVector<quint16> values; // of the last reply with data, kept when a later request fails
        int exception = 0;       // of the last exception reply
        modbusreply::Mismatch mismatch; // of the last malformed reply
        QVector<double> ms;      // each round trip that a reply with data or an exception ended, in ms
        bool hasData() const { return outcome == Outcome::Data; }
        // The gateway reached the device: data, or the device's own exception.
        bool proves() const;
    };

    struct Result {
        bool connected = false;
        double connectMs = -1; // -1: no connection
        Failure failure = Failure::None;
        QString error; // the system's words for a failed or lost connection (English)
        bool closedByGateway = false;
        // A reply no frame could be read from: the check closed the
        // connection itself, as nothing after it can be read.
        bool gaveUp = false;
        bool interrupted = false;
        QVector<Answer> answers;
    };

    // The exit status of a check: 0 every read answered with data; 4 each
    // path proven, but a device refused a read with its own exception; 1
    // connected, but some read unproven (0x0A, 0x0B, another exception, no
    // reply, the connection closed, a malformed reply); 3 no connection.
    enum Status {
        AllAnswered = 0,
        Unproven = 1,
        NoConnection = 3,
        DeviceRefused = 4,
    };

    ModbusCheck(const QString &host, int port, const QVector<checkargs::Read> &reads, int timeoutMs, int repeat = 1,
                QObject *parent = nullptr);
    ~ModbusCheck() override;

    void start();
    // Ends the check now (Ctrl+C), keeping what it has.
    void stop();
    bool isFinished() const { return done; }
    const Result &result() const { return outcome; }
    Status status() const;
    QString host() const { return hostName; }
    int port() const { return portNumber; }
    int timeoutMs() const { return timeout; }
    int repeat() const { return rounds; }
    // The round under way, from 1.
    int round() const { return roundNow + 1; }

signals:
    void connected();
    // A request of the read at `index` sent.
    void sent(int index);
    // The read at `index` has its request's outcome.
    void answered(int index);
    // Every frame sent and taken, for a trace.
    void traffic(bool sent, const QByteArray &frame);
    // Once, when the check has ended. Do not delete the check in a slot
    // connected to it (deleteLater() is fine).
    void finished();

private:
    void onConnected();
    void onDisconnected();
    void onError();
    void onConnectTimeout();
    void onReplyTimeout();
    void onReadyRead();
    void sendNext();
    void settle(Outcome result);
    void finish();

    const QString hostName;
    const int portNumber;
    const int timeout;
    const int rounds;
    QTcpSocket *socket = nullptr;
    QTimer connectTimer;
    QTimer replyTimer;
    QElapsedTimer clock;
    Result outcome;
    QByteArray buffer;
    quint16 transaction = 0;
    bool pending = false; // a request waits for its reply
    qint64 sentAt = 0;
    // Transactions given up: a reply to one of them, late, is not an answer.
    QSet<quint16> givenUp;
    int roundNow = 0;
    int next = 0; // the read to send next (or waiting) in this round
    bool done = false;
};
