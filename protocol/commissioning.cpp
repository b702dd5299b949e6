#include "commissioning.h"

#include <QCoreApplication>

#include "lines.h"
#include "serialmodulelink.h"
#include "systemwords.h"

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
        if (current < 0 || current >= steps.size()) {
            finish(Outcome::Interrupted, said(QT_TRANSLATE_NOOP("Commissioning", "stopped before the start")));
            return;
        }
        const Said where = describe(steps[current]);
        const char *const source = QT_TRANSLATE_NOOP("Commissioning", "stopped at \"%1\"");
        finish(Outcome::Interrupted, {said(source, {where.english}).english, said(source, {where.text}).text});
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
            const QVector<proto::Param> all(std::begin(proto::order::scan), std::end(proto::order::scan));
            for (const proto::Param p : plan.readBackOnly.isEmpty() ? all : plan.readBackOnly)
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
    emit stepStarted(current + 1, steps.size(), describe(steps[current]).text);
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
    // The rules' own words, as the judge gives them.
    const QString told = faults.join(QStringLiteral("; "));
    finish(Outcome::Invalid, {told, told});
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

Commissioning::Said Commissioning::said(const char *source, const QStringList &args)
{
    // All at once: a value that holds "%1" (a module's reply) stays as it is.
    const auto fill = [&args](const QString &text) {
        switch (args.size()) {
        case 0:
            return text;
        case 1:
            return text.arg(args[0]);
        case 2:
            return text.arg(args[0], args[1]);
        case 3:
            return text.arg(args[0], args[1], args[2]);
        default:
            return text.arg(args[0], args[1], args[2], args[3]);
        }
    };
    return {fill(QString::fromUtf8(source)), fill(QCoreApplication::translate("Commissioning", source))};
}

Commissioning::Said Commissioning::describe(const Step &s) const
{
    const QStringList name{proto::nameOf(s.param)};
    switch (s.phase) {
    case Phase::Open:
        return said(QT_TRANSLATE_NOOP("Commissioning", "open"));
    case Phase::Before:
        return said(QT_TRANSLATE_NOOP("Commissioning", "scan %1"), name);
    case Phase::Change:
        return said(QT_TRANSLATE_NOOP("Commissioning", "write %1"), name);
    case Phase::Action: {
        // The module's own command word.
        const QString action = QString::fromLatin1(plan.action);
        return {action, action};
    }
    case Phase::Return:
        return said(QT_TRANSLATE_NOOP("Commissioning", "wait for the module"));
    case Phase::After:
        return said(QT_TRANSLATE_NOOP("Commissioning", "read back %1"), name);
    }
    return {};
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
            finish(Outcome::Garbled,
                   said(QT_TRANSLATE_NOOP("Commissioning", "%1: the reply \"%2\" is not the module's: no echo of \"%3\""),
                        {proto::nameOf(s.param), shownReply(reply), QLatin1String(row.query)}));
            return;
        }
        res.answered = true;
        QString fault;
        const QString value = proto::replyValue(row, reply, &fault);
        if (value.isEmpty()) {
            finish(Outcome::BadValue, said("%1: %2", {proto::nameOf(s.param), fault}));
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
            finish(Outcome::Refused, said("%1", {proto::nameOf(s.param)}));
        } else {
            finish(Outcome::Garbled, said(QT_TRANSLATE_NOOP("Commissioning", "%1: the reply \"%2\" is neither \"%3\" nor \"%4\""),
                                          {proto::nameOf(s.param), shownReply(reply), QLatin1String(proto::AckOk),
                                           QLatin1String(proto::AckRefused)}));
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
    const Said where = current >= 0 && current < steps.size() ? describe(steps[current]) : Said();
    // The system's reason as the system gives it.
    const auto withWhere = [&](const char *source, const QString &more = QString()) {
        const QStringList english{where.english, more}, text{where.text, more};
        const int count = more.isEmpty() ? 1 : 2;
        return Said{said(source, english.mid(0, count)).english, said(source, text.mid(0, count)).text};
    };
    // For a person, the common faults in the program's own words.
    const auto cannotOpen = [&](language::Failure failure) {
        const char *source = QT_TRANSLATE_NOOP("Commissioning", "cannot open the port: %1");
        return Said{said(source, {reason}).english, said(source, {language::failureText(failure, reason)}).text};
    };
    switch (fault) {
    case ModuleSession::Fault::Busy:
        finish(Outcome::Busy, cannotOpen(language::Failure::PortBusy));
        return;
    case ModuleSession::Fault::Missing:
        finish(Outcome::NoPort, cannotOpen(language::Failure::NoSuchPort));
        return;
    case ModuleSession::Fault::NotSerial:
        finish(Outcome::NotSerial, cannotOpen(language::Failure::NotSerial));
        return;
    case ModuleSession::Fault::Lost:
        finish(Outcome::Lost, reason.isEmpty()
                   ? withWhere(QT_TRANSLATE_NOOP("Commissioning", "the port went away (%1)"))
                   : withWhere(QT_TRANSLATE_NOOP("Commissioning", "the port went away (%1): %2"), reason));
        return;
    case ModuleSession::Fault::Silent:
        finish(Outcome::Silent, withWhere(QT_TRANSLATE_NOOP("Commissioning", "no reply (%1)")));
        return;
    }
}

void Commissioning::tryReturn()
{
    if (ending || session.isStopping())
        return;
    if (returnClock.elapsed() >= plan.rebootTimeoutMs) {
        finish(Outcome::NotBack, said(QT_TRANSLATE_NOOP("Commissioning", "the module did not come back within %1 s"),
                                      {QString::number(plan.rebootTimeoutMs / 1000.0)}));
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
    QStringList english, text;
    for (const proto::Param p : res.mismatched) {
        const Said part = said(QT_TRANSLATE_NOOP("Commissioning", "%1: wrote \"%2\", reads \"%3\""),
                               {proto::nameOf(p), plan.changes.value(p), res.after.value(p)});
        english << part.english;
        text << part.text;
    }
    finish(Outcome::Mismatch, {english.join(QStringLiteral("; ")), text.join(QStringLiteral("; "))});
}

void Commissioning::finish(Outcome outcome, const Said &detail)
{
    if (ending)
        return;
    ending = true;
    returnTimer.stop();
    res.outcome = outcome;
    res.detail = detail.english;
    res.detailText = detail.text;
    res.finished = QDateTime::currentDateTime();
    // settled() closes the port and tells the end, at once or once the last
    // line is out and the gap has passed.
    session.settle();
}
