#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include "checkargs.h"

class QModbusReply;
class QModbusTcpClient;

// One check of a gateway's bridge: a Modbus TCP client connects to HOST at
// PORT, sends each read in order (the whole list `repeat` times), times the
// connection and each round trip, and keeps what came back. It runs in the
// event loop that is there (no loop of its own, no blocking wait), so that
// many checks and serial work can run side by side; finished() says it has
// ended. A connection that the gateway closes is not opened again: the reads
// not answered by then stay unanswered.
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

    // What became of one read.
    struct Answer {
        checkargs::Read read;
        bool answered = false;   // a reply came: data or an exception
        QVector<quint16> values; // the data of the last reply with data
        int exception = 0;       // the exception code of the last reply, 0: none
        QString error;           // no reply: why ("timeout", "closed"), empty when answered
        QVector<double> ms;      // each round trip that got a reply, in milliseconds
        bool hasData() const { return answered && exception == 0; }
    };

    struct Result {
        bool connected = false;
        double connectMs = -1; // -1: no connection
        Failure failure = Failure::None;
        QString error; // the system's words for a failed or lost connection
        bool closedByGateway = false;
        QVector<Answer> answers;
    };

    // The exit status of a check: 0 every read answered with data, 1
    // connected but some read got an exception or no answer, 3 no connection.
    enum Status {
        AllAnswered = 0,
        NotAllAnswered = 1,
        NoConnection = 3
    };

    ModbusCheck(const QString &host, int port, const QVector<checkargs::Read> &reads, int timeoutMs, int repeat = 1,
                QObject *parent = nullptr);
    ~ModbusCheck() override;

    void start();
    bool isFinished() const { return done; }
    const Result &result() const { return outcome; }
    Status status() const;
    QString host() const { return hostName; }
    int port() const { return portNumber; }
    int timeoutMs() const { return timeout; }
    int repeat() const { return rounds; }

signals:
    // Once, when the check has ended. Do not delete the check in a slot
    // connected to it (deleteLater() is fine).
    void finished();

private:
    void onStateChanged();
    void onErrorOccurred();
    void onConnectTimeout();
    void sendNext();
    void onReplyFinished(QModbusReply *reply);
    void finish();

    const QString hostName;
    const int portNumber;
    const int timeout;
    const int rounds;
    QModbusTcpClient *client = nullptr;
    QTimer connectTimer;
    QElapsedTimer clock;
    Result outcome;
    int round = 0;
    int next = 0; // the read to send next in this round
    bool done = false;
};
