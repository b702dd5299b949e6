#include "discovery.h"

#include "batchrun.h"
#include "progressview.h"

namespace cli {

QList<Found> discover(const QStringList &ports, const Common &common)
{
    Commissioning::Plan identity;
    identity.before = {proto::Param::Mac, proto::Param::Version};
    BatchRun run;
    for (const QString &port : ports)
        run.add(port, identity, common.interval);
    ProgressView view(run, ProgressView::Style::Trace, common);
    run.run();
    QList<Found> found;
    for (const auto &job : run.jobs()) {
        const Commissioning::Result &r = job->work->result();
        found << Found{job->port, job->outcome, job->detail, r.before.value(proto::Param::Mac),
                       r.before.value(proto::Param::Version)};
    }
    return found;
}

bool interrupted(const QList<Found> &found)
{
    for (const Found &f : found)
        if (f.outcome == Commissioning::Outcome::Interrupted)
            return true;
    return false;
}

} // namespace cli
