#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <memory>

#include "checkargs.h"
#include "modbuscheck.h"

// A survey of a gateway's RS-485 line: one read to each unit in turn,
// through the gateway's Modbus TCP side (a ModbusCheck whose reads are one
// per unit). A unit is found when its device answered: with data, or with
// its own exception (modbus::isDeviceException). Requests go one at a
// time: the line carries one at a time whatever is sent, so sending several
// would save only the network's round trip per unit, while a gateway that
// keeps no queue refuses or drops the requests beyond its one.
//
// With `connectForMs`, a connection that is refused or not made is tried
// again every half second until that long after start(): a module just
// restarted may open its TCP side after its configuration port. A
// connection the gateway closes while units are left is opened again, and
// the unit whose reply it took with it asked again, as long as each
// connection got some unit answered (a gateway may close its connections
// after so many requests or so long). It runs in the event loop that is
// there; finished() says it has ended.
class Survey : public QObject
{
    Q_OBJECT

public:
    struct Asked {
        QString host;
        int port = 0;
        QVector<int> units;
        checkargs::Read read; // its unit aside
        int timeoutMs = 3000; // for the connection and for each reply
        int connectForMs = 0;
    };

    // How it ended: its numbers are gateway-cli's exit codes.
    enum Status {
        Found = 0,        // a device answered
        NoneFound = 1,    // every unit asked, none answered
        NoConnection = 3, // no connection, or it was lost before every unit was asked
    };

    explicit Survey(const Asked &asked, QObject *parent = nullptr);
    ~Survey() override;

    void start();
    // Ends now (Ctrl+C), keeping what was found.
    void stop();
    const Asked &asked() const { return ask; }
    // The check of the last connection; none before start().
    const ModbusCheck *check() const { return current.get(); }
    // What became of the unit at `index` of asked().units, over every
    // connection.
    const ModbusCheck::Answer &answer(int index) const { return answers[index]; }
    // How many times the gateway's closing was followed by a new connection.
    int reconnects() const { return reopened; }
    // A connection was made (the last one may have been lost since).
    bool isConnected() const { return connectedAt >= 0; }
    bool interrupted() const { return stopped; }
    // How many units a request went to.
    int unitsAsked() const { return sentCount; }
    // The places in asked().units of the units whose device answered, in
    // the order asked.
    QVector<int> found() const;
    // The units the gateway has no path to (0x0A).
    QVector<int> noPath() const;
    // Every unit asked and answered one way or another.
    bool complete() const;
    Status status() const;
    // Since start(), and since the connection (the survey itself).
    double elapsedMs() const;
    double surveyMs() const;

signals:
    void connected();
    void sent(int index);
    void answered(int index);
    // Every frame sent and taken, for a trace.
    void traffic(bool sent, const QByteArray &frame);
    void finished();

private:
    void attempt();
    void onCheckFinished();
    // Takes what the connection that has ended answered; whether to open
    // another for the units left.
    bool takeAnswers();

    const Asked ask;
    std::unique_ptr<ModbusCheck> current;
    QVector<ModbusCheck::Answer> answers;
    int first = 0; // the place in asked().units of the current check's first unit
    int reopened = 0;
    QTimer retry;
    QElapsedTimer clock;
    qint64 connectedAt = -1;
    qint64 endedAt = -1;
    int sentCount = 0;
    bool stopped = false;
    bool done = false;
};
