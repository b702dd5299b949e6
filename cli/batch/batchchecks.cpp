#include "batchchecks.h"

#include "checkreport.h"
#include "command.h"
#include "console.h"

namespace cli {

BatchChecks::BatchChecks(BatchRun &run)
    : run(run)
{
    connect(&run, &BatchRun::ended, this, &BatchChecks::jobEnded);
    connect(Interrupts::instance(), &Interrupts::interrupted, this, &BatchChecks::stopAll);
}

BatchChecks::~BatchChecks() = default;

void BatchChecks::ask(int index, const writecheck::Asked &asked, const ModuleValues &values)
{
    if (!asked.wanted())
        return;
    entries[index].asked = asked;
    if (!values.has(proto::Param::Mode))
        run.jobs()[std::size_t(index)]->veto = writecheck::clientModeFault;
}

void BatchChecks::jobEnded(int index)
{
    const auto found = entries.find(index);
    BatchRun::Job &job = *run.jobs()[std::size_t(index)];
    if (found == entries.end() || job.outcome != Commissioning::Outcome::Ok || !job.work
        || Interrupts::instance()->seen())
        return;
    Entry &entry = found->second;
    const Commissioning::Result &r = job.work->result();
    const ModuleValues module = writecheck::standing(r.before, ModuleValues(), r.after);
    QString host;
    int port = 0;
    if (!writecheck::target(entry.asked, module, &host, &port))
        return;
    entry.check = std::make_unique<ModbusCheck>(host, port, entry.asked.reads, writecheck::timeoutMs(module));
    connect(entry.check.get(), &ModbusCheck::finished, this, [this, index] { checkEnded(index); });
    run.hold();
    entry.clock.start();
    job.following = true;
    job.follow = cli::tr("checking %1 at %2:%3").arg(askedText(entry.asked), host).arg(port);
    entry.check->start();
    run.update(index);
}

void BatchChecks::checkEnded(int index)
{
    Entry &entry = entries[index];
    if (entry.ended)
        return;
    entry.ended = true;
    entry.ms = double(entry.clock.nsecsElapsed()) / 1e6;
    BatchRun::Job &job = *run.jobs()[std::size_t(index)];
    job.following = false;
    job.follow = cli::tr("the check %1: %2").arg(askedText(entry.asked), checkreport::resultWord(*entry.check));
    job.followWord = checkreport::rowResult(*entry.check);
    run.update(index);
    run.release();
}

void BatchChecks::stopAll()
{
    // A check stopped keeps what it has; it ends at once.
    for (auto &[index, entry] : entries)
        if (entry.check && !entry.ended)
            entry.check->stop();
}

QString BatchChecks::askedText(const writecheck::Asked &asked)
{
    QStringList out;
    for (const checkargs::Read &read : asked.reads)
        out << QStringLiteral("%1:%2").arg(read.unit).arg(checkargs::readText(read));
    return out.join(QLatin1Char(' '));
}

BatchChecks::Cells BatchChecks::cells(int index) const
{
    const auto found = entries.find(index);
    if (found == entries.end())
        return {};
    const Entry &entry = found->second;
    Cells out;
    out.check = askedText(entry.asked);
    if (!entry.check || !entry.check->isFinished()) {
        out.result = QStringLiteral("skipped");
        return out;
    }
    out.result = checkreport::resultWord(*entry.check);
    out.ms = QString::number(entry.ms, 'f', 1);
    out.rowResult = checkreport::rowResult(*entry.check);
    return out;
}

} // namespace cli
