#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include "modulesession.h"
#include "modulevalues.h"
#include "protocoltables.h"

// One module, through its port, from start to end of what a command asks:
// open the port; scan (the identity and the values before); write the
// changes with each acknowledgement judged; an action (the reboot that
// ends a write, a reboot or a factory reset alone); wait for the module to
// come back after a reboot; scan again (the values read back) and compare
// them with those written. The steps are known in advance, so progress is
// step n of N.
class Commissioning : public QObject
{
    Q_OBJECT

public:
    struct Plan {
        QVector<proto::Param> before; // queried first, in this order
        ModuleValues changes;         // written, in the window's write order
        bool onlyChanged = false;     // write only what differs from `before`
        QByteArray action;            // sent after the changes; empty: none
        bool readBack = false;        // wait for the module after the action and scan again
        int rebootTimeoutMs = 30000;
    };

    enum class Outcome {
        Ok,
        Refused,     // a change was refused, or acknowledged with another word
        Mismatch,    // a value read back differs from the value written
        BadValue,    // a reply holds no valid value
        Silent,      // the module did not answer
        Lost,        // the port went away, or never was
        Busy,        // the port cannot be opened: held by another program, or no access
        NotBack,     // the module did not come back after its reboot
        Interrupted, // stopped from outside
    };
    Q_ENUM(Outcome)

    struct Result {
        Outcome outcome = Outcome::Ok;
        // What failed and why, for a person: the key, the reply, the
        // system's reason; the keys that differ after a read-back. In
        // English (JSON and reports hold it), and in the person's language.
        QString detail;
        QString detailText;
        QList<proto::Param> mismatched;
        ModuleValues before;
        QList<proto::Param> written; // acknowledged, in order
        ModuleValues after;
        QDateTime started;
        QDateTime finished;
    };

    // The module on the serial port of that name.
    Commissioning(const QString &port, const Plan &plan, int interval, QObject *parent = nullptr);
    // The module behind `link`, which the job takes.
    Commissioning(ModuleLink *link, const Plan &plan, int interval, QObject *parent = nullptr);

    QString port() const { return session.portName(); }
    void start();
    // Sends no new command; the line on the wire is finished first. Ends
    // with the outcome Interrupted unless the work was done.
    void stop();
    bool isFinished() const { return done; }
    const Result &result() const { return res; }

    // The session's trace of every line, for a log.
    ModuleSession &moduleSession() { return session; }

signals:
    // A step begins: `step` of `total` (counted from 1), and what it does
    // ("scan ip", "write mode", "reset", "wait for the module", ...).
    void stepStarted(int step, int total, const QString &what);
    // The module's identity, once scanned.
    void identified(const QString &mac, const QString &version);
    void finished();

private:
    enum class Phase { Open, Before, Change, Action, Return, After };
    struct Step {
        Phase phase;
        proto::Param param = proto::Param::Mac;
    };

    void buildSteps();
    void runStep();
    void next();
    void dropUnchanged();
    void replied(const QByteArray &reply);
    void written();
    void failed(ModuleSession::Fault fault, const QString &reason);
    void tryReturn();
    void compare();
    // A text in English and in the person's language (context
    // "Commissioning").
    struct Said {
        QString english;
        QString text;
    };
    static Said said(const char *source, const QStringList &args = {});
    void finish(Outcome outcome, const Said &detail = {});
    Said describe(const Step &s) const;

    ModuleSession session;
    Plan plan;
    QVector<Step> steps;
    int current = -1;
    Result res;
    bool done = false;
    // Waiting for the module's return: since the action, and the next try.
    QElapsedTimer returnClock;
    QTimer returnTimer;
};
