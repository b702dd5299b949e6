#include "commissioning.h"

#include "lines.h"
#include "serialmodulelink.h"

namespace {

// A reply is shown up to this many bytes in a detail.
constexpr int ShownReplyBytes = 48;

QString shownReply(const QByteArray &reply)
{
    return reply.size() > ShownReplyBytes ? proto::shownBytes(reply.left(ShownReplyBytes)) + QStringLiteral("...")
                                          : proto::shownBytes(reply);
}

} // namespace

Commissioning::Commissioning(const QString &port, const Plan &plan, int interval, QObject *parent)
    : Commissioning(new SerialModuleLink(port), plan, interval, parent)
{
}

Commissioning::Commissioning(ModuleLink *link, const Plan &plan, int interval, QObject *parent)
    : QObject(parent)
    , session(link)
    , plan(plan)
{
    session.setInterval(interval);
    returnTimer.setSingleShot(true);
    connect(&returnTimer, &QTimer::timeout, this, &Commissioning::tryReturn);
    connect(&session, &ModuleSession::replied, this, &Commissioning::replied);
    connect(&session, &ModuleSession::written, this, &Commissioning::written);
    connect(&session, &ModuleSession::failed, this, &Commissioning::failed);
    connect(&session, &ModuleSession::stopped, this, [this] {
        finish(Outcome::Interrupted, current >= 0 && current < steps.size()
                                         ? tr("stopped at \"%1\"").arg(describe(steps[current]))
                                         : tr("stopped before the start"));
    });
    connect(&session, &ModuleSession::settled, this, [this] {
        if (session.isOpen())
            session.close();
        done = true;
        emit finished();
    });
}

void Commissioning::start()
{
    res.started = QDateTime::currentDateTime();
    buildSteps();
    current = -1;
    next();
}

void Commissioning::stop()
{
    if (ending)
        return;
    returnTimer.stop();
    session.stop(); // stopped() finishes, at once or once the command on the wire is done
}

void Commissioning::buildSteps()
{
    steps.clear();
    steps << Step{Phase::Open};
    for (const proto::Param p : plan.before)
        steps << Step{Phase::Before, p};
    for (const proto::Param p : proto::order::write) {
        if (plan.changes.has(p))
            steps << Step{Phase::Change, p};
    }
    if (!plan.action.isEmpty()) {
        steps << Step{Phase::Action};
        if (plan.waitBack || plan.readBack)
            steps << Step{Phase::Return};
        if (plan.readBack) {
            for (const proto::Param p : proto::order::scan)
                steps << Step{Phase::After, p};
        }
    }
}

void Commissioning::next()
{
    if (ending || session.isStopping())
        return;
    const bool had = current >= 0 && current < steps.size();
    const Phase was = had ? steps[current].phase : Phase::Open;
    ++current;
    if (plan.onlyChanged && current < steps.size() && steps[current].phase == Phase::Change)
        dropUnchanged();
    if (had && (current >= steps.size() || steps[current].phase != was))
        passed(was);
    if (current < steps.size() && steps[current].phase == Phase::Change && !judged())
        return;
    if (current >= steps.size()) {
        if (plan.readBack && !res.written.isEmpty())
            compare();
        else
            finish(Outcome::Ok);
        return;
    }
    emit stepStarted(current + 1, steps.size(), describe(steps[current]));
    runStep();
}

void Commissioning::passed(Phase phase)
{
    switch (phase) {
    case Phase::Open:
        emit reached(Milestone::Opened);
        return;
    case Phase::Before:
        emit reached(Milestone::Scanned);
        return;
    case Phase::Change:
        emit reached(Milestone::Written);
        return;
    case Phase::Action: // told as it leaves the port
        return;
    case Phase::Return:
        emit reached(Milestone::Back);
        return;
    case Phase::After:
        emit reached(Milestone::ReadBack);
        return;
    }
}

bool Commissioning::judged()
{
    if (!plan.judge)
        return true;
    ModuleValues standing = res.before;
    for (const proto::Param p : plan.changes.params())
        standing.set(p, plan.changes.value(p));
    const QStringList faults = plan.judge(standing);
    // Judged once, before the first change.
    plan.judge = nullptr;
    if (faults.isEmpty())
        return true;
    finish(Outcome::Invalid, faults.join(QStringLiteral("; ")));
    return false;
}

void Commissioning::dropUnchanged()
{
    // The changes are known once the values before are.
    for (int i = current; i < steps.size() && steps[i].phase == Phase::Change;) {
        const proto::Param p = steps[i].param;
        if (res.before.has(p) && res.before.value(p) == plan.changes.value(p)) {
            steps.remove(i);
            plan.changes.remove(p);
        } else {
            ++i;
        }
    }
    if (!plan.changes.isEmpty())
        return;
    // Every value already as asked: nothing is sent, nothing rebooted, and
    // what was read before is what the module holds after.
    steps.resize(current);
    if (plan.readBack)
        res.after = res.before;
}

QString Commissioning::describe(const Step &s) const
{
    const QString name = proto::nameOf(s.param);
    switch (s.phase) {
    case Phase::Open:
        return QStringLiteral("open");
    case Phase::Before:
        return QStringLiteral("scan ") + name;
    case Phase::Change:
        return QStringLiteral("write ") + name;
    case Phase::Action:
        return QString::fromLatin1(plan.action);
    case Phase::Return:
        return QStringLiteral("wait for the module");
    case Phase::After:
        return QStringLiteral("read back ") + name;
    }
    return QString();
}

void Commissioning::runStep()
{
    const Step &s = steps[current];
    switch (s.phase) {
    case Phase::Open: {
        ModuleSession::Fault fault;
        QString reason;
        if (session.open(&fault, &reason))
            next();
        else
            failed(fault, reason);
        return;
    }
    case Phase::Before:
    case Phase::After:
        session.request(QByteArray(proto::parameter(s.param).query));
        return;
    case Phase::Change:
        session.request(proto::changeLineFor(s.param, plan.changes.value(s.param)));
        return;
    case Phase::Action:
        session.send(plan.action);
        return;
    case Phase::Return:
        returnClock.start();
        // The module restarts: its device may go (the port's loss tells)
        // and come back. The first try comes after an interval (a second at
        // least), when it has had its time to act on the reboot.
        returnTimer.start(session.replyTimeout() / 2);
        return;
    }
}

void Commissioning::replied(const QByteArray &reply)
{
    if (ending || current < 0 || current >= steps.size())
        return;
    const Step &s = steps[current];
    const proto::Parameter &row = proto::parameter(s.param);
    switch (s.phase) {
    case Phase::Before:
    case Phase::After: {
        if (!proto::cleanReply(reply).startsWith(QLatin1String(row.query))) {
            finish(Outcome::Garbled, tr("%1: the reply \"%2\" is not the module's: no echo of \"%3\"")
                                         .arg(proto::nameOf(s.param), shownReply(reply), QLatin1String(row.query)));
            return;
        }
        res.answered = true;
        QString fault;
        const QString value = proto::replyValue(row, reply, &fault);
        if (value.isEmpty()) {
            finish(Outcome::BadValue, proto::nameOf(s.param) + QStringLiteral(": ") + fault);
            return;
        }
        ModuleValues &values = s.phase == Phase::Before ? res.before : res.after;
        values.set(s.param, value);
        if (s.phase == Phase::Before && values.has(proto::Param::Mac) && values.has(proto::Param::Version)
            && (s.param == proto::Param::Mac || s.param == proto::Param::Version))
            emit identified(values.value(proto::Param::Mac), values.value(proto::Param::Version));
        next();
        return;
    }
    case Phase::Change: {
        const QByteArray ack = proto::cleanReply(reply).toUtf8();
        if (ack == proto::AckOk) {
            res.answered = true;
            res.written << s.param;
            next();
        } else if (ack == proto::AckRefused) {
            res.answered = true;
            finish(Outcome::Refused, proto::nameOf(s.param));
        } else {
            finish(Outcome::Garbled, tr("%1: the reply \"%2\" is neither \"%3\" nor \"%4\"")
                                         .arg(proto::nameOf(s.param), shownReply(reply), QLatin1String(proto::AckOk),
                                              QLatin1String(proto::AckRefused)));
        }
        return;
    }
    case Phase::Return: {
        QString fault;
        if (proto::replyValue(proto::parameter(proto::Param::Mac), reply, &fault).isEmpty()) {
            returnTimer.start(session.replyTimeout() / 2);
            return;
        }
        res.answered = true;
        res.backAfterMs = returnClock.elapsed();
        next();
        return;
    }
    case Phase::Open:
    case Phase::Action:
        return;
    }
}

void Commissioning::written()
{
    if (!ending && current >= 0 && current < steps.size() && steps[current].phase == Phase::Action) {
        emit reached(Milestone::ActionSent);
        next();
    }
}

void Commissioning::failed(ModuleSession::Fault fault, const QString &reason)
{
    if (ending)
        return;
    const Phase phase = current >= 0 && current < steps.size() ? steps[current].phase : Phase::Open;
    if (phase == Phase::Return) {
        // Gone or silent while it restarts: try again until its time is up.
        if (fault == ModuleSession::Fault::Lost && !leftSeen) {
            leftSeen = true;
            emit reached(Milestone::Left);
        }
        if (!returnTimer.isActive())
            returnTimer.start(session.replyTimeout() / 2);
        return;
    }
    // A module restarts at once on a reboot or a factory reset: its device
    // may go with the line, before the port has told that it is written.
    // (Gone before the line was written, the device is simply lost.)
    if (fault == ModuleSession::Fault::Lost && phase == Phase::Action && session.lineWritten()) {
        emit reached(Milestone::ActionSent);
        leftSeen = true;
        emit reached(Milestone::Left);
        next();
        return;
    }
    const QString where = current >= 0 && current < steps.size() ? describe(steps[current]) : QString();
    const QString cannotOpen = QStringLiteral("cannot open the port: ") + reason;
    switch (fault) {
    case ModuleSession::Fault::Busy:
        finish(Outcome::Busy, cannotOpen);
        return;
    case ModuleSession::Fault::Missing:
        finish(Outcome::NoPort, cannotOpen);
        return;
    case ModuleSession::Fault::NotSerial:
        finish(Outcome::NotSerial, cannotOpen);
        return;
    case ModuleSession::Fault::Lost:
        finish(Outcome::Lost, QStringLiteral("the port went away (%1)%2")
                                  .arg(where, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
        return;
    case ModuleSession::Fault::Silent:
        finish(Outcome::Silent, QStringLiteral("no reply (%1)").arg(where));
        return;
    }
}

void Commissioning::tryReturn()
{
    if (ending || session.isStopping())
        return;
    if (returnClock.elapsed() >= plan.rebootTimeoutMs) {
        finish(Outcome::NotBack,
               QStringLiteral("the module did not come back within %1 s").arg(plan.rebootTimeoutMs / 1000.0));
        return;
    }
    if (!session.isOpen()) {
        ModuleSession::Fault fault;
        QString reason;
        if (!session.open(&fault, &reason)) {
            if (!leftSeen) {
                leftSeen = true;
                emit reached(Milestone::Left);
            }
            returnTimer.start(session.replyTimeout() / 2);
            return;
        }
        emit reached(Milestone::Reopened);
    }
    session.request(QByteArray(proto::parameter(proto::Param::Mac).query));
}

void Commissioning::compare()
{
    for (const proto::Param p : res.written) {
        if (!res.after.has(p) || res.after.value(p) != plan.changes.value(p))
            res.mismatched << p;
    }
    if (res.mismatched.isEmpty()) {
        finish(Outcome::Ok);
        return;
    }
    QStringList parts;
    for (const proto::Param p : res.mismatched)
        parts << QStringLiteral("%1: wrote \"%2\", reads \"%3\"")
                     .arg(proto::nameOf(p), plan.changes.value(p), res.after.value(p));
    finish(Outcome::Mismatch, parts.join(QStringLiteral("; ")));
}

void Commissioning::finish(Outcome outcome, const QString &detail)
{
    if (ending)
        return;
    ending = true;
    returnTimer.stop();
    res.outcome = outcome;
    res.detail = detail;
    res.finished = QDateTime::currentDateTime();
    // settled() closes the port and tells the end, at once or once the last
    // line is out and the gap has passed.
    session.settle();
}
