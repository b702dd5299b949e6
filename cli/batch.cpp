// gateway-cli plan and batch: many modules at once, from a plan.
#include <QEventLoop>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

#include "commands.h"
#include "console.h"
#include "options.h"
#include "plan.h"
#include "report.h"
#include "valueargs.h"

namespace cli {

namespace {

using Outcome = Commissioning::Outcome;

struct Found {
    QString port;
    QString mac;
};

// Asks the ports, all at once, which module each has (their MAC addresses).
// False when interrupted.
bool discover(const QStringList &ports, const Common &common, QList<Found> *found)
{
    std::vector<std::unique_ptr<Commissioning>> jobs;
    QList<Commissioning *> all;
    Commissioning::Plan identity;
    identity.before = {proto::Param::Mac, proto::Param::Version};
    for (const QString &port : ports) {
        jobs.push_back(std::make_unique<Commissioning>(port, identity, common.interval));
        all << jobs.back().get();
    }
    runAll(all, common);
    bool interrupted = false;
    for (const Commissioning *job : all) {
        interrupted = interrupted || job->result().outcome == Outcome::Interrupted;
        if (job->result().outcome == Outcome::Ok)
            *found << Found{job->port(), job->result().before.value(proto::Param::Mac)};
    }
    return !interrupted;
}

// One row of a running batch.
struct Slot {
    plan::Row row;
    std::unique_ptr<Commissioning> job;
    int step = 0;
    int total = 0;
    QString doing;
    QString wrongModule; // the MAC found on the row's port where the plan names another
    report::Row out;
    bool done = false;
};

// The rows of a plan, each on its port, all at once in one event loop, and
// their progress: on a terminal one line per row rewritten in place,
// elsewhere one line per event.
class BatchRun : public QObject
{
public:
    BatchRun(const Common &common, bool toStderr)
        : common(common)
        , err(toStderr)
        , rewrite(console::canRewrite(toStderr))
    {
        redraw.setSingleShot(true);
        redraw.setInterval(100);
        connect(&redraw, &QTimer::timeout, this, &BatchRun::draw);
    }

    std::vector<std::unique_ptr<Slot>> entries;

    // Starts every row that has its port; the others end at once with
    // `detail`. Returns once every row has ended.
    void run(const Commissioning::Plan &base)
    {
        for (auto &slot : entries) {
            if (slot->done)
                continue;
            Commissioning::Plan p = base;
            p.changes = slot->row.values;
            slot->job = std::make_unique<Commissioning>(slot->out.port, p, common.interval);
            Slot *s = slot.get();
            connect(s->job.get(), &Commissioning::stepStarted, this, [this, s](int step, int total, const QString &what) {
                s->step = step;
                s->total = total;
                s->doing = what;
                changed(s, QStringLiteral("[%1/%2] %3").arg(step).arg(total).arg(what));
            });
            connect(s->job.get(), &Commissioning::identified, this, [this, s](const QString &mac, const QString &) {
                if (!s->row.mac.isEmpty() && plan::macKey(mac) != plan::macKey(s->row.mac)) {
                    s->wrongModule = mac;
                    s->job->stop();
                }
            });
            connect(s->job.get(), &Commissioning::finished, this, [this, s] { ended(s); });
            if (common.verbose) {
                const QString port = s->out.port;
                connect(&s->job->moduleSession(), &ModuleSession::traffic, this, [port](bool sent, const QByteArray &bytes) {
                    console::err(QStringLiteral("%1 %2 %3 \"%4\"\n")
                                     .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")), port,
                                          QLatin1String(sent ? ">" : "<"), escaped(bytes)));
                });
            }
        }
        if (rewrite)
            draw();
        connect(Interrupts::instance(), &Interrupts::interrupted, this, &BatchRun::stopAll);
        for (auto &slot : entries)
            if (slot->job)
                slot->job->start();
        if (!allDone())
            loop.exec();
        redraw.stop();
        if (rewrite)
            draw();
    }

private:
    bool allDone() const
    {
        for (const auto &slot : entries)
            if (!slot->done)
                return false;
        return true;
    }

    void stopAll()
    {
        for (auto &slot : entries)
            if (slot->job && !slot->done)
                slot->job->stop();
    }

    void ended(Slot *s)
    {
        const Commissioning::Result &r = s->job->result();
        s->done = true;
        s->out.started = r.started;
        s->out.finished = r.finished;
        s->out.before = r.before;
        s->out.after = r.after;
        s->out.mac = r.before.value(proto::Param::Mac);
        s->out.version = r.before.value(proto::Param::Version);
        if (!s->wrongModule.isEmpty()) {
            s->out.result = resultWord(Outcome::Mismatch);
            s->out.detail = QStringLiteral("the module on the port is %1, not %2").arg(s->wrongModule, s->row.mac);
        } else {
            s->out.result = resultWord(r.outcome);
            s->out.detail = r.detail;
        }
        changed(s, result(*s));
        if (allDone())
            loop.quit();
    }

    static QString result(const Slot &s)
    {
        return s.out.detail.isEmpty() ? s.out.result : s.out.result + QStringLiteral(": ") + s.out.detail;
    }

    // One row's line: its plan line, port, MAC once known, and state.
    QString line(const Slot &s) const
    {
        const QString state = s.done ? result(s)
                                     : s.total > 0 ? QStringLiteral("[%1/%2] %3").arg(s.step).arg(s.total).arg(s.doing)
                                                   : QStringLiteral("waiting");
        const QString mac = s.job ? s.job->result().before.value(proto::Param::Mac) : QString();
        return QStringLiteral("line %1  %2  %3  %4").arg(s.row.line).arg(s.out.port, mac.isEmpty() ? QStringLiteral("?") : mac, state);
    }

    void changed(Slot *s, const QString &event)
    {
        if (rewrite) {
            if (!redraw.isActive())
                redraw.start();
            return;
        }
        const QString text = QStringLiteral("%1 line %2 %3: %4\n")
                                 .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")))
                                 .arg(s->row.line)
                                 .arg(s->out.port, event);
        err ? console::err(text) : console::out(text);
    }

    void draw()
    {
        const int width = console::width(err);
        QString text;
        if (drawn > 0)
            text += QStringLiteral("\x1b[%1A").arg(drawn);
        for (const auto &slot : entries)
            text += QStringLiteral("\r\x1b[K") + line(*slot).left(width - 1) + QLatin1Char('\n');
        drawn = int(entries.size());
        err ? console::err(text) : console::out(text);
    }

    const Common common;
    const bool err;
    const bool rewrite;
    QEventLoop loop;
    QTimer redraw;
    int drawn = 0;
};

// Reads a plan file whole; its faults, each on a line, when it is no plan.
plan::Plan loadPlan(const QString &path, bool force)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        plan::Plan bad;
        bad.faults << QStringLiteral("%1: %2").arg(path, file.errorString());
        return bad;
    }
    return plan::read(file.readAll(), QFileInfo(path).absolutePath(), force);
}

} // namespace

int plan(const QStringList &args)
{
    Options o(QStringLiteral("plan"));
    o.add({QStringLiteral("template"), QString(), QStringLiteral("FILE")});
    o.add({QStringLiteral("ports"), QString(), QStringLiteral("PORT,...")});
    o.add({QStringLiteral("ip-from"), QString(), QStringLiteral("IP")});
    o.add({QStringLiteral("rtu-id-from"), QString(), QStringLiteral("N")});
    int code = 0;
    if (!o.parse(args, 0, 0, &code))
        return code;
    QStringList faults;
    for (const char *required : {"template", "ports", "ip-from"})
        if (!o.isSet(QLatin1String(required)))
            faults << QStringLiteral("--%1 is needed").arg(QLatin1String(required));
    const QString templ = o.value(QStringLiteral("template"));
    if (o.isSet(QStringLiteral("template")))
        valueargs::fromFile(templ, false, &faults);
    const QString ipFrom = o.value(QStringLiteral("ip-from"));
    if (o.isSet(QStringLiteral("ip-from")) && !proto::valueFault(proto::Param::Ip, ipFrom).isEmpty())
        faults << QStringLiteral("--ip-from \"%1\": %2").arg(ipFrom, proto::valueFault(proto::Param::Ip, ipFrom));
    int rtuId = 0;
    const bool numberIds = o.isSet(QStringLiteral("rtu-id-from"));
    if (numberIds && !o.number(QStringLiteral("rtu-id-from"), 1, 247, &rtuId))
        return Usage;
    if (!faults.isEmpty()) {
        return refuse(faults);
    }

    QStringList ports = o.value(QStringLiteral("ports")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (ports == QStringList{QStringLiteral("found")}) {
        QList<Found> found;
        if (!discover(listedPorts(), o.common, &found))
            return Interrupted;
        ports.clear();
        for (const Found &f : found)
            ports << f.port;
        if (ports.isEmpty()) {
            message(QStringLiteral("no module found on any port"));
            return NoModule;
        }
    }

    QStringList header{QStringLiteral("port"), QStringLiteral("file"), proto::nameOf(proto::Param::Ip)};
    if (numberIds)
        header << proto::nameOf(proto::Param::RtuVirtualId);
    QString text = header.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    // The address as a number, counted on from there.
    quint32 address = 0;
    for (const QString &part : ipFrom.split(QLatin1Char('.')))
        address = address << 8 | part.toUInt();
    for (int i = 0; i < ports.size(); ++i, ++address, ++rtuId) {
        const QString next = QStringLiteral("%1.%2.%3.%4")
                                 .arg(address >> 24).arg(address >> 16 & 0xff).arg(address >> 8 & 0xff).arg(address & 0xff);
        if ((i > 0 && address == 0) || (numberIds && rtuId > 247)) {
            message(QStringLiteral("%1 ports: the addresses run out at %2").arg(ports.size()).arg(ports[i]));
            return Usage;
        }
        QStringList row{csv::field(ports[i]), csv::field(QFileInfo(templ).absoluteFilePath()), next};
        if (numberIds)
            row << QString::number(rtuId);
        text += row.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    console::out(text);
    return Done;
}

int batch(const QStringList &args)
{
    Options o(QStringLiteral("batch"));
    o.add({QStringLiteral("report"), QString(), QStringLiteral("FILE")});
    o.add({QStringLiteral("force"), QString()});
    o.add({QStringLiteral("only-changed"), QString()});
    o.add({QStringLiteral("reboot-timeout"), QString(), QStringLiteral("S")});
    o.add({QStringLiteral("ports"), QString(), QStringLiteral("PORT,...")});
    int code = 0;
    if (!o.parse(args, 1, 1, &code))
        return code;
    int timeout = 30;
    if (o.isSet(QStringLiteral("reboot-timeout")) && !o.number(QStringLiteral("reboot-timeout"), 1, 3600, &timeout))
        return Usage;
    const bool force = o.isSet(QStringLiteral("force"));
    const QString reportPath = o.value(QStringLiteral("report"));
    QStringList faults;
    if (!reportPath.isEmpty()) {
        const QFileInfo info(reportPath);
        if (info.exists() && !force)
            faults << QStringLiteral("%1: the report exists (--force replaces it)").arg(reportPath);
        else if (!info.absoluteDir().exists())
            faults << QStringLiteral("%1: no such folder").arg(info.absolutePath());
    }
    const QString planPath = o.positional[0];
    const plan::Plan thePlan = loadPlan(planPath, false);
    for (const QString &fault : thePlan.faults)
        faults << QStringLiteral("%1: %2").arg(planPath, fault);
    if (!faults.isEmpty()) {
        return refuse(faults);
    }

    BatchRun run(o.common, o.common.json);
    bool interrupted = false;
    QStringList macPorts; // where the rows found by MAC address may be
    for (const plan::Row &row : thePlan.rows) {
        auto slot = std::make_unique<Slot>();
        slot->row = row;
        slot->out.line = row.line;
        slot->out.port = row.port;
        run.entries.push_back(std::move(slot));
    }
    // The modules of the rows without a port: asked for on every other port.
    bool byMac = false;
    for (const plan::Row &row : thePlan.rows)
        byMac = byMac || row.port.isEmpty();
    if (byMac) {
        QStringList candidates = o.isSet(QStringLiteral("ports"))
            ? o.value(QStringLiteral("ports")).split(QLatin1Char(','), Qt::SkipEmptyParts)
            : listedPorts();
        for (const plan::Row &row : thePlan.rows)
            if (!row.port.isEmpty())
                candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                                [&](const QString &c) { return plan::portKey(c) == plan::portKey(row.port); }),
                                 candidates.end());
        QList<Found> found;
        interrupted = !discover(candidates, o.common, &found);
        for (auto &slot : run.entries) {
            if (!slot->row.port.isEmpty())
                continue;
            for (const Found &f : found)
                if (plan::macKey(f.mac) == plan::macKey(slot->row.mac))
                    slot->out.port = f.port;
            if (slot->out.port.isEmpty()) {
                slot->done = true;
                slot->out.result = resultWord(interrupted ? Outcome::Interrupted : Outcome::Lost);
                if (!interrupted)
                    slot->out.detail = QStringLiteral("no module with the MAC address %1 on %2")
                                           .arg(slot->row.mac, candidates.isEmpty() ? QStringLiteral("any port")
                                                                                     : candidates.join(QStringLiteral(", ")));
            }
        }
    }
    if (interrupted) {
        for (auto &slot : run.entries) {
            slot->done = true;
            slot->out.result = resultWord(Outcome::Interrupted);
        }
    } else {
        Commissioning::Plan base;
        base.before = QVector<proto::Param>(std::begin(proto::order::scan), std::end(proto::order::scan));
        base.onlyChanged = o.isSet(QStringLiteral("only-changed"));
        base.action = proto::RebootUniversal;
        base.readBack = true;
        base.rebootTimeoutMs = timeout * 1000;
        run.run(base);
    }

    QList<report::Row> rows;
    int ok = 0;
    for (const auto &slot : run.entries) {
        rows << slot->out;
        ok += slot->out.result == resultWord(Outcome::Ok);
        interrupted = interrupted || slot->out.result == resultWord(Outcome::Interrupted);
    }
    int status = interrupted ? Interrupted : ok == rows.size() ? Done : Failed;
    if (!reportPath.isEmpty()) {
        QString error;
        if (report::save(reportPath, rows, &error))
            message(QStringLiteral("the report is in %1").arg(reportPath));
        else {
            message(QStringLiteral("%1: %2").arg(reportPath, error));
            if (status == Done)
                status = Failed;
        }
    }
    if (o.common.json)
        printJson(report::json(rows));
    message(QStringLiteral("%1 of %2 modules ok").arg(ok).arg(rows.size()));
    return status;
}

} // namespace cli
