#include "batchrun.h"

#include "command.h"
#include "console.h"
#include "portnames.h"
#include "portpath.h"

namespace cli {

QString BatchRun::Job::device() const
{
    return work ? work->moduleSession().deviceName() : PortPath::device(port);
}

BatchRun::Job &BatchRun::add(const QString &port, const Commissioning::Plan &plan, int interval)
{
    all.push_back(std::make_unique<Job>());
    Job *job = all.back().get();
    job->port = port;
    job->work = std::make_unique<Commissioning>(port, plan, interval);
    return *job;
}

BatchRun::Job &BatchRun::addEnded(const QString &port, Commissioning::Outcome outcome, const QString &detail)
{
    all.push_back(std::make_unique<Job>());
    Job *job = all.back().get();
    job->port = port;
    job->done = true;
    job->outcome = outcome;
    job->detail = detail;
    job->detailText = detail;
    return *job;
}

void BatchRun::run()
{
    for (int index = 0; index < int(all.size()); ++index) {
        Job *job = all[std::size_t(index)].get();
        if (!job->work)
            continue;
        Commissioning *work = job->work.get();
        connect(work, &Commissioning::stepStarted, this, [this, job, index](int step, int total, const QString &what) {
            job->step = step;
            job->total = total;
            job->doing = what;
            emit stepped(index);
        });
        connect(work, &Commissioning::identified, this, [job](const QString &mac, const QString &) {
            if (!job->mac.isEmpty() && macKey(mac) != macKey(job->mac)) {
                job->otherMac = mac;
                job->work->stop();
            } else if (job->veto) {
                job->vetoed = job->veto(job->work->result().before);
                if (!job->vetoed.isEmpty())
                    job->work->stop();
            }
        });
        connect(work, &Commissioning::reached, this,
                [this, index](Commissioning::Milestone milestone) { emit reached(index, milestone); });
        connect(work, &Commissioning::finished, this, [this, index] { end(index); });
        connect(&work->moduleSession(), &ModuleSession::traffic, this,
                [this, index](bool sent, const QByteArray &bytes) { emit traffic(index, sent, bytes); });
    }
    emit starting();
    if (stoppable) {
        connect(Interrupts::instance(), &Interrupts::interrupted, this, &BatchRun::stopAll);
        // A Ctrl+C before the run stops every job at its start.
        if (Interrupts::instance()->seen())
            stopAll();
    }
    for (auto &job : all)
        if (job->work && !job->work->isFinished())
            job->work->start();
    if (!allDone() || holds > 0)
        loop.exec();
    emit finished();
}

void BatchRun::stopAll()
{
    for (auto &job : all)
        if (job->work && !job->done)
            job->work->stop();
}

void BatchRun::end(int index)
{
    Job *job = all[std::size_t(index)].get();
    const Commissioning::Result &r = job->work->result();
    job->done = true;
    if (!job->otherMac.isEmpty()) {
        job->outcome = Commissioning::Outcome::Mismatch;
        job->detail = QStringLiteral("the module on the port is %1, not %2").arg(job->otherMac, job->mac);
        job->detailText = cli::tr("the module on the port is %1, not %2").arg(job->otherMac, job->mac);
    } else if (!job->vetoed.isEmpty()) {
        job->outcome = Commissioning::Outcome::Refused;
        job->detail = job->vetoed;
        job->detailText = job->vetoed;
    } else {
        job->outcome = r.outcome;
        job->detail = r.detail;
        job->detailText = r.detailText;
    }
    emit ended(index);
    if (allDone() && holds == 0)
        loop.quit();
}

void BatchRun::release()
{
    if (--holds == 0 && allDone())
        loop.quit();
}

bool BatchRun::allDone() const
{
    for (const auto &job : all)
        if (!job->done)
            return false;
    return true;
}

} // namespace cli
