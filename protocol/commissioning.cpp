#include "commissioning.h"

#include "lines.h"
#include "serialmodulelink.h"

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
    connect(&session, &ModuleSession::stopped, this, [this] { finish(Outcome::Interrupted); });
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
    if (done)
        return;
    returnTimer.stop();
    session.stop(); // stopped() finishes, at once or once the line is out
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
        if (plan.readBack) {
            steps << Step{Phase::Return};
            for (const proto::Param p : proto::order::scan)
                steps << Step{Phase::After, p};
        }
    }
}

void Commissioning::next()
{
    if (done || session.isStopping())
        return;
    ++current;
    if (plan.onlyChanged && current < steps.size() && steps[current].phase == Phase::Change)
        dropUnchanged();
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
        // The module restarts: its device may go and come back. The first
        // try comes after an interval (a second at least), when it has had
        // its time to act on the reboot.
        session.close();
        returnTimer.start(session.replyTimeout() / 2);
        return;
    }
}

void Commissioning::replied(const QByteArray &reply)
{
    if (done || current < 0 || current >= steps.size())
        return;
    const Step &s = steps[current];
    const proto::Parameter &row = proto::parameter(s.param);
    switch (s.phase) {
    case Phase::Before:
    case Phase::After: {
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
            res.written << s.param;
            next();
        } else if (ack == proto::AckRefused) {
            finish(Outcome::Refused, proto::nameOf(s.param));
        } else {
            finish(Outcome::Refused, proto::nameOf(s.param) + QStringLiteral(": answered \"%1\"")
                                                               .arg(proto::cleanReply(reply)));
        }
        return;
    }
    case Phase::Return: {
        QString fault;
        if (proto::replyValue(proto::parameter(proto::Param::Mac), reply, &fault).isEmpty()) {
            returnTimer.start(session.replyTimeout() / 2);
            return;
        }
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
    if (!done && current >= 0 && current < steps.size() && steps[current].phase == Phase::Action)
        next();
}

void Commissioning::failed(ModuleSession::Fault fault, const QString &reason)
{
    if (done)
        return;
    if (current >= 0 && current < steps.size() && steps[current].phase == Phase::Return) {
        // Gone or silent while it restarts: try again until its time is up.
        if (fault == ModuleSession::Fault::Lost)
            session.close();
        if (!returnTimer.isActive())
            returnTimer.start(session.replyTimeout() / 2);
        return;
    }
    // A module restarts at once on a reboot or a factory reset: its device
    // may go with the line, before the port has told that it is written.
    if (fault == ModuleSession::Fault::Lost && current >= 0 && current < steps.size()
        && steps[current].phase == Phase::Action) {
        next();
        return;
    }
    const QString where = current >= 0 && current < steps.size() ? describe(steps[current]) : QString();
    switch (fault) {
    case ModuleSession::Fault::Busy:
        finish(Outcome::Busy, QStringLiteral("cannot open the port: ") + reason);
        return;
    case ModuleSession::Fault::Missing:
        finish(Outcome::Lost, QStringLiteral("cannot open the port: ") + reason);
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
    if (done || session.isStopping())
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
            returnTimer.start(session.replyTimeout() / 2);
            return;
        }
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
    if (done)
        return;
    done = true;
    returnTimer.stop();
    if (session.isOpen())
        session.close();
    res.outcome = outcome;
    res.detail = detail;
    res.finished = QDateTime::currentDateTime();
    emit finished();
}
