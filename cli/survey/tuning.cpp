#include "tuning.h"

#include <QElapsedTimer>

#include <algorithm>
#include <tuple>

#include "command.h"
#include "console.h"
#include "surveyreport.h"
#include "words.h"
#include "writecheck.h"

namespace cli {

namespace {

using proto::Param;

const QVector<Param> lineParams{Param::Speed, Param::Parity, Param::StopBits};

// Each speed's rank: 0 the commonest, 1 the middle ones, 2 the rare ones;
// the order within a rank as listed.
const QStringList speedOrder{QStringLiteral("9600"),  QStringLiteral("19200"),  QStringLiteral("38400"),
                             QStringLiteral("115200"), QStringLiteral("57600"), QStringLiteral("4800"),
                             QStringLiteral("2400"),  QStringLiteral("1200"),   QStringLiteral("128000"),
                             QStringLiteral("256000")};
int speedRank(int place)
{
    return place < 2 ? 0 : place < 5 ? 1 : 2;
}
// Each framing (parity, stop bits): the first two common, the rest rare.
const QList<QPair<QString, QString>> framingOrder{
    {QStringLiteral("none"), QStringLiteral("1")}, {QStringLiteral("even"), QStringLiteral("1")},
    {QStringLiteral("none"), QStringLiteral("2")}, {QStringLiteral("odd"), QStringLiteral("1")},
    {QStringLiteral("even"), QStringLiteral("2")}, {QStringLiteral("odd"), QStringLiteral("2")}};
// The group of a speed's rank and a framing's (common 0, rare 1).
constexpr int groupOf[3][2] = {{0, 2}, {1, 4}, {3, 5}};

} // namespace

QString LineSetting::text() const
{
    return QStringLiteral("%1/%2/%3").arg(speed, parity, stopBits);
}

ModuleValues LineSetting::values() const
{
    ModuleValues v;
    v.set(Param::Speed, speed);
    v.set(Param::Parity, parity);
    v.set(Param::StopBits, stopBits);
    return v;
}

LineSetting LineSetting::of(const ModuleValues &values)
{
    if (!values.has(Param::Speed) || !values.has(Param::Parity) || !values.has(Param::StopBits))
        return {};
    return {values.value(Param::Speed), values.value(Param::Parity), values.value(Param::StopBits)};
}

QVector<LineSetting> tryOrder(const QStringList &speeds, const QStringList &parities, const QStringList &stopBits)
{
    struct Ranked {
        int group, speed, framing;
        LineSetting setting;
    };
    QVector<Ranked> all;
    for (int s = 0; s < speedOrder.size(); ++s) {
        for (int f = 0; f < framingOrder.size(); ++f) {
            const LineSetting setting{speedOrder[s], framingOrder[f].first, framingOrder[f].second};
            if (speeds.contains(setting.speed) && parities.contains(setting.parity)
                && stopBits.contains(setting.stopBits))
                all << Ranked{groupOf[speedRank(s)][f < 2 ? 0 : 1], s, f, setting};
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const Ranked &a, const Ranked &b) {
        return std::tie(a.group, a.speed, a.framing) < std::tie(b.group, b.speed, b.framing);
    });
    QVector<LineSetting> out;
    for (const Ranked &r : all)
        out << r.setting;
    return out;
}

Tuning::Tuning(const Asked &asked, QObject *parent)
    : QObject(parent)
    , ask(asked)
{
}

bool Tuning::restored() const
{
    return !res.final.isEmpty() && res.final == res.original;
}

bool Tuning::severalSettings() const
{
    int settings = 0;
    for (const Try &t : res.tried)
        settings += !t.found.isEmpty();
    return settings > 1;
}

void Tuning::run()
{
    if (readModule() && probe()) {
        runTries();
        afterTries(res.ending == Ending::Failed || res.ending == Ending::Interrupted);
    }
    emit ended();
}

// The module's mode, identity, line settings and response time-out,
// through its configuration port; a module in client mode refused.
bool Tuning::readModule()
{
    Commissioning::Plan plan;
    plan.before = {Param::Mode, Param::Mac, Param::Version, Param::Speed, Param::Parity, Param::StopBits,
                   Param::TimeoutResponse};
    BatchRun run;
    BatchRun::Job &job = run.add(ask.port, plan, ask.interval);
    emit jobStarting(run);
    run.run();
    emit jobEnded();
    if (job.outcome != Commissioning::Outcome::Ok) {
        res.ending = job.outcome == Commissioning::Outcome::Interrupted ? Ending::Interrupted : Ending::Failed;
        res.failure = QStringLiteral("%1: %2").arg(resultWord(job.outcome), job.detailText);
        return false;
    }
    res.module = job.work->result().before;
    res.original = standing = res.final = LineSetting::of(res.module);
    emit moduleRead();
    if (res.module.value(Param::Mode) == QLatin1String("client")) {
        res.ending = Ending::Refused;
        res.refusal = cli::tr("the module is in TCP client mode (mode client): it has no TCP side to ask; tune "
                              "needs it in server mode");
        return false;
    }
    return true;
}

// The TCP side answers at all, before anything is changed.
bool Tuning::probe()
{
    Survey::Asked a;
    a.host = ask.viaHost;
    a.port = ask.viaPort;
    a.timeoutMs = writecheck::timeoutMs(res.module);
    Survey survey(a);
    BatchRun().runWith(survey);
    if (survey.interrupted()) {
        res.ending = Ending::Interrupted;
        return false;
    }
    if (!survey.isConnected()) {
        res.ending = Ending::Failed;
        res.failure = surveyreport::endText(survey, false).trimmed();
        return false;
    }
    return true;
}

// The module moved to `to`: the settings that differ from where it stands
// written (all three read first and only those that differ written, when
// where it stands is not known), the module restarted and the three read
// back. An interrupt does not stop a move: a module stopped between its
// changes and its restart, or while it restarts, could not be put back at
// once; the move ends, the module is back and read back, and then it is
// put back.
bool Tuning::moveTo(const LineSetting &to, Try *t)
{
    t->setting = to;
    Commissioning::Plan plan;
    for (const Param p : lineParams)
        if (standing.isEmpty() || standing.values().value(p) != to.values().value(p))
            plan.changes.set(p, to.values().value(p));
    if (plan.changes.isEmpty())
        return true;
    if (standing.isEmpty()) {
        plan.before = lineParams;
        plan.onlyChanged = true;
    }
    plan.action = proto::RebootUniversal;
    plan.readBack = true;
    plan.readBackOnly = lineParams;
    plan.rebootTimeoutMs = ask.rebootTimeoutMs;
    BatchRun run;
    run.finishOnInterrupt();
    BatchRun::Job &job = run.add(ask.port, plan, ask.interval);
    emit jobStarting(run);
    run.run();
    emit jobEnded();
    const Commissioning::Result &r = job.work->result();
    t->written = r.written;
    res.changed = res.changed || !r.written.isEmpty();
    if (job.outcome == Commissioning::Outcome::Ok) {
        standing = LineSetting::of(r.after);
        return true;
    }
    standing = LineSetting();
    t->result = resultWord(job.outcome);
    t->detail = job.detail;
    t->detailText = job.detailText;
    return false;
}

void Tuning::surveyAt(Try *t)
{
    Survey::Asked a;
    a.host = ask.viaHost;
    a.port = ask.viaPort;
    a.units = ask.units;
    a.read = ask.read;
    a.timeoutMs = writecheck::timeoutMs(res.module);
    // The module's TCP side may open a little after its configuration port.
    a.connectForMs = ask.rebootTimeoutMs;
    Survey survey(a);
    emit surveyStarting(survey);
    BatchRun().runWith(survey);
    emit surveyEnded();
    t->surveyed = true;
    t->unitsAsked = survey.unitsAsked();
    for (const int i : survey.found())
        t->found << a.units[i];
    t->result = surveyreport::resultWord(survey);
    if (!survey.isConnected() || survey.status() == Survey::NoConnection)
        t->detailText = t->detail = survey.check() ? survey.check()->result().error : QString();
}

void Tuning::runTries()
{
    const int total = ask.settings.size();
    for (int i = 0; i < total; ++i) {
        if (Interrupts::instance()->seen()) {
            res.ending = Ending::Interrupted;
            return;
        }
        emit trying(i, total, leftMs(i));
        Try t;
        t.started = QDateTime::currentDateTime();
        QElapsedTimer clock;
        clock.start();
        if (moveTo(ask.settings[i], &t) && !Interrupts::instance()->seen())
            surveyAt(&t);
        if (!t.surveyed && t.result.isEmpty())
            t.result = QStringLiteral("interrupted");
        t.finished = QDateTime::currentDateTime();
        t.ms = double(clock.nsecsElapsed()) / 1e6;
        res.tried << t;
        emit tried(i);
        if (Interrupts::instance()->seen()) {
            res.ending = Ending::Interrupted;
            return;
        }
        if (t.result != QLatin1String("found") && t.result != QLatin1String("none")) {
            res.ending = Ending::Failed;
            res.failure = QStringLiteral("%1: %2 %3").arg(t.setting.text(), t.result, t.detailText).trimmed();
            return;
        }
        if (!t.found.isEmpty() && res.foundAt < 0)
            res.foundAt = i;
        if (res.foundAt >= 0 && !ask.all)
            break;
    }
    res.ending = res.foundAt >= 0 ? Ending::Found : Ending::NoneFound;
}

// Found: the module stays at (or, after --all, goes to) the first setting
// found. Otherwise it goes back to where it was, if it was ever changed.
void Tuning::afterTries(bool failed)
{
    if (!failed && res.foundAt >= 0) {
        const LineSetting found = res.tried[res.foundAt].setting;
        if (standing != found) {
            emit moving(false);
            res.moved = true;
            res.move.started = QDateTime::currentDateTime();
            if (moveTo(found, &res.move)) {
                res.move.result = resultWord(Commissioning::Outcome::Ok);
            } else {
                res.ending = Interrupts::instance()->seen() ? Ending::Interrupted : Ending::Failed;
                res.failure = QStringLiteral("%1: %2").arg(res.move.result, res.move.detailText);
            }
            res.move.finished = QDateTime::currentDateTime();
        }
        if (res.ending == Ending::Found) {
            res.final = standing;
            return;
        }
    }
    if (!res.changed) {
        res.final = res.original;
        return;
    }
    emit moving(true);
    res.moved = true;
    res.move = Try();
    res.move.started = QDateTime::currentDateTime();
    const bool back = moveTo(res.original, &res.move);
    res.move.finished = QDateTime::currentDateTime();
    if (back)
        res.move.result = resultWord(Commissioning::Outcome::Ok);
    res.final = standing;
}

double Tuning::leftMs(int index) const
{
    // Before the first try, each try's survey at least: every unit absent.
    if (res.tried.isEmpty())
        return double(ask.units.size()) * res.module.value(Param::TimeoutResponse).toInt()
               * (ask.settings.size() - index);
    double sum = 0;
    for (const Try &t : res.tried)
        sum += t.ms;
    return sum / res.tried.size() * (ask.settings.size() - index);
}

} // namespace cli
