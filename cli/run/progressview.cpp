#include "progressview.h"

#include <QTime>

#include "console.h"
#include "language.h"
#include "lines.h"
#include "portnames.h"
#include "words.h"

namespace cli {

namespace {

// Clears the cursor's line from its start.
const QString clearLine = QStringLiteral("\r\x1b[K");

QString stepText(const BatchRun::Job &job)
{
    return QStringLiteral("[%1/%2] %3").arg(job.step).arg(job.total).arg(job.doing);
}

QString seconds(qint64 ms)
{
    return language::decimal(ms / 1000.0, 1);
}

// A phase of a job, as the lines of a batch that are not redrawn tell it;
// empty for what only the trace tells.
QString phaseText(const BatchRun::Job &job, Commissioning::Milestone milestone)
{
    const Commissioning::Result &r = job.work->result();
    QStringList keys;
    for (const proto::Param p : r.written)
        keys << proto::nameOf(p);
    switch (milestone) {
    case Commissioning::Milestone::Opened:
        return tr("opened");
    case Commissioning::Milestone::Scanned:
        return tr("scanned");
    case Commissioning::Milestone::Written:
        return tr("written: %1").arg(keys.join(QStringLiteral(", ")));
    case Commissioning::Milestone::ActionSent:
        return tr("restarting (\"%1\" sent)").arg(job.doing);
    case Commissioning::Milestone::Left:
    case Commissioning::Milestone::Reopened:
        return QString();
    case Commissioning::Milestone::Back:
        return tr("back after %1 s").arg(seconds(r.backAfterMs));
    case Commissioning::Milestone::ReadBack:
        return tr("read back");
    }
    return QString();
}

QString stamp()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
}

} // namespace

QString ProgressView::result(const BatchRun::Job &job)
{
    if (job.following)
        return job.follow;
    const QString word = job.followWord.isEmpty() ? resultWord(job.outcome) : job.followWord;
    QString text = job.detailText.isEmpty() ? word : word + QStringLiteral(": ") + job.detailText;
    if (!job.follow.isEmpty())
        text += QStringLiteral("; ") + job.follow;
    return text;
}

QString ProgressView::port(const BatchRun::Job &job)
{
    return job.port.isEmpty() ? QStringLiteral("-") : shownPort(job.port, job.device());
}

ProgressView::ProgressView(BatchRun &run, Style style, const Common &common, bool toStderr)
    : run(run)
    , toStderr(toStderr)
    , verbose(common.verbose)
{
    if (common.verbose) {
        connect(&run, &BatchRun::traffic, this, &ProgressView::trace);
        connect(&run, &BatchRun::reached, this, &ProgressView::traceMilestone);
    }
    switch (style) {
    case Style::Trace:
        return;
    case Style::Line:
        if (common.verbose || !console::errIsTerminal())
            return;
        connect(&run, &BatchRun::stepped, this, [this](int index) { console::err(clearLine + stepText(job(index))); });
        connect(&run, &BatchRun::ended, this, [] { console::err(clearLine); });
        return;
    case Style::Rows:
        rewrite = console::canRewrite(toStderr);
        redraw.setSingleShot(true);
        redraw.setInterval(100);
        connect(&redraw, &QTimer::timeout, this, &ProgressView::drawRows);
        connect(&run, &BatchRun::starting, this, [this] {
            if (rewrite) {
                drawRows();
                return;
            }
            // The rows that ended before the run (no module with their MAC
            // address) are told too.
            for (int i = 0; i < int(this->run.jobs().size()); ++i)
                if (job(i).done)
                    changed(i, result(job(i)));
        });
        connect(&run, &BatchRun::stepped, this, [this](int index) {
            if (rewrite || verbose)
                changed(index, stepText(job(index)));
        });
        connect(&run, &BatchRun::reached, this, [this](int index, Commissioning::Milestone milestone) {
            const QString text = phaseText(job(index), milestone);
            if (!rewrite && !text.isEmpty())
                changed(index, text);
        });
        connect(&run, &BatchRun::ended, this, [this](int index) { changed(index, result(job(index))); });
        connect(&run, &BatchRun::followed, this, [this](int index) {
            // A check may take less than a redraw's wait: its start and end
            // are drawn at once.
            if (rewrite)
                drawRows();
            else
                changed(index, result(job(index)));
        });
        connect(&run, &BatchRun::finished, this, [this] {
            redraw.stop();
            if (rewrite)
                drawRows();
        });
        return;
    }
}

void ProgressView::trace(int index, bool sent, const QByteArray &bytes)
{
    console::err(QStringLiteral("%1 %2 %3 \"%4\"\n")
                     .arg(stamp(), job(index).port, QLatin1String(sent ? ">" : "<"), proto::shownBytes(bytes)));
}

// The device's leaving and return around a restart, in the trace.
void ProgressView::traceMilestone(int index, Commissioning::Milestone milestone)
{
    const BatchRun::Job &j = job(index);
    QString text;
    switch (milestone) {
    case Commissioning::Milestone::Left:
        text = tr("the device went away");
        break;
    case Commissioning::Milestone::Reopened:
        text = tr("the device is there again: %1 opened").arg(j.device());
        break;
    case Commissioning::Milestone::Back:
        text = tr("the module answers again, %1 s after the restart").arg(seconds(j.work->result().backAfterMs));
        break;
    case Commissioning::Milestone::Opened:
    case Commissioning::Milestone::Scanned:
    case Commissioning::Milestone::Written:
    case Commissioning::Milestone::ActionSent:
    case Commissioning::Milestone::ReadBack:
        return; // the steps' own lines tell them
    }
    console::err(QStringLiteral("%1 %2 %3\n").arg(stamp(), j.port, text));
}

void ProgressView::changed(int index, const QString &event)
{
    if (rewrite) {
        if (!redraw.isActive())
            redraw.start();
        return;
    }
    // A row's end and its check's start may both tell the same state.
    if (told.value(index) == event)
        return;
    told[index] = event;
    write(cli::tr("%1 line %2 %3: %4\n")
              .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")))
              .arg(job(index).line)
              .arg(port(job(index)), event));
}

// One job's line: its plan line, port, MAC once known, and state.
QString ProgressView::rowLine(const BatchRun::Job &job) const
{
    const QString state = job.done ? result(job) : job.total > 0 ? stepText(job) : cli::tr("waiting");
    const QString mac = job.work ? job.work->result().before.value(proto::Param::Mac) : QString();
    return cli::tr("line %1  %2  %3  %4").arg(job.line).arg(port(job), mac.isEmpty() ? QStringLiteral("?") : mac, state);
}

void ProgressView::drawRows()
{
    const int width = console::width(toStderr);
    QString text;
    if (drawn > 0)
        text += QStringLiteral("\x1b[%1A").arg(drawn);
    for (const auto &job : run.jobs())
        text += clearLine + rowLine(*job).left(width - 1) + QLatin1Char('\n');
    drawn = int(run.jobs().size());
    write(text);
}

void ProgressView::write(const QString &text) const
{
    toStderr ? console::err(text) : console::out(text);
}

} // namespace cli
