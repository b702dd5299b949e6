#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>

#include "modulesession.h"
#include "modulevalues.h"
#include "protocoltables.h"

// One module, through its port, from start to end of what a command asks:
// open the port; scan (the identity and the values before); write the
// changes with each acknowledgement judged; an action (the reboot that
// ends a write, a reboot or a factory reset alone); wait for the module to
// come back after it; scan again (the values read back) and compare them
// with those written. The steps are known in advance, so progress is step
// n of N. The job ends once its last line has left the port and the
// module's quiet gap has passed, so that whatever is sent next is a line of
// its own.
class Commissioning : public QObject
{
    Q_OBJECT

public:
    struct Plan {
        QVector<proto::Param> before; // queried first, in this order
        ModuleValues changes;         // written, in the window's write order
        bool onlyChanged = false;     // write only what differs from `before`
        QByteArray action;            // sent after the changes; empty: none
        bool waitBack = false;        // after the action, wait until the module answers again
        bool readBack = false;        // and then scan it again (waits for it too)
        // What the read-back scans, in this order; none: every parameter.
        QVector<proto::Param> readBackOnly;
        int rebootTimeoutMs = 30000;
        // The values as they will stand once the changes are written (the
        // module's own, as far as `before` read them, for the others),
        // judged before the first change is sent: each fault a line; any
        // ends the job Invalid with nothing written.
        std::function<QStringList(const ModuleValues &)> judge;
    };

    enum class Outcome {
        Ok,
        Refused,     // a change was refused ("?")
        Mismatch,    // a value read back differs from the value written
        BadValue,    // a reply echoes its query but holds no valid value
        Garbled,     // a reply that is not the protocol's: no echo of its query, not "ok" or "?"
        Invalid,     // the values, as they would stand, cannot work: nothing was written
        Silent,      // the module did not answer
        Lost,        // the port went away
        NoPort,      // no such port
        NotSerial,   // the port is no serial device
        Busy,        // the port cannot be opened: held by another program, or no access
        NotBack,     // the module did not come back after its reboot
        Interrupted, // stopped from outside
    };
    Q_ENUM(Outcome)

    // What the job has done so far, for a log of its progress.
    enum class Milestone {
        Opened,     // the port is open
        Scanned,    // the values before are read
        Written,    // every change is acknowledged
        ActionSent, // the action has left the port
        Left,       // the module's device went away after the action
        Reopened,   // its device is open again
        Back,       // the module answers again
        ReadBack,   // the values after are read
    };
    Q_ENUM(Milestone)

    struct Result {
        Outcome outcome = Outcome::Ok;
        // What failed and why, for a person: the key, the reply, the
        // system's reason; the keys that differ after a read-back. In
        // English (JSON and reports hold it), and in the person's language.
        QString detail;
        QString detailText;
        QList<proto::Param> mismatched;
        ModuleValues before;
        // Acknowledged, in order: also where the job failed or was stopped
        // later, and where the device went right after acknowledging.
        QList<proto::Param> written;
        ModuleValues after;
        // Whether a module answered in the protocol at all.
        bool answered = false;
        // From the action's leaving the port to the module's first answer
        // after it; -1 when it was not waited for or did not come.
        qint64 backAfterMs = -1;
        QDateTime started;
        QDateTime finished;
    };

    // The module on the serial port of that name.
    Commissioning(const QString &port, const Plan &plan, int interval, QObject *parent = nullptr);
    // The module behind `link`, which the job takes.
    Commissioning(ModuleLink *link, const Plan &plan, int interval, QObject *parent = nullptr);

    QString port() const { return session.portName(); }
    void start();
    // Sends no new command; the command on the wire is finished first (its
    // reply awaited). Ends with the outcome Interrupted unless the work was
    // done.
    void stop();
    bool isFinished() const { return done; }
    const Result &result() const { return res; }

    // The session's trace of every line, for a log.
    ModuleSession &moduleSession() { return session; }

signals:
    // A step begins: `step` of `total` (counted from 1), and what it does
    // ("scan ip", "write mode", "reset", "wait for the module", ...).
    void stepStarted(int step, int total, const QString &what);
    void reached(Commissioning::Milestone milestone);
    // The module's identity, once scanned.
    void identified(const QString &mac, const QString &version);
    // The result is whole, and the port settled and closed.
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
    void passed(Phase phase);
    bool judged();
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
    // The outcome is known and the port settling; done once it is closed.
    bool ending = false;
    bool done = false;
    // Waiting for the module's return: since the action, and the next try.
    QElapsedTimer returnClock;
    QTimer returnTimer;
    bool leftSeen = false;
};
