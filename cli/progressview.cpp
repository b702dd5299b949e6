#include "progressview.h"

#include <QTime>

#include "console.h"
#include "words.h"

namespace cli {

namespace {

// Clears the cursor's line from its start.
const QString clearLine = QStringLiteral("\r\x1b[K");

// A job's state as the batch shows it once it has ended.
QString result(const BatchRun::Job &job)
{
    const QString word = resultWord(job.outcome);
    return job.detailText.isEmpty() ? word : word + QStringLiteral(": ") + job.detailText;
}

QString stepText(const BatchRun::Job &job)
{
    return QStringLiteral("[%1/%2] %3").arg(job.step).arg(job.total).arg(job.doing);
}

// A line's bytes as readable text: printable ASCII as it is, \r \n \t \\ \"
// and \xHH for the others.
QString escaped(const QByteArray &bytes)
{
    QString out;
    for (const char c : bytes) {
        switch (c) {
        case '\r': out += QLatin1String("\\r"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        default:
            if (c >= 0x20 && c < 0x7f)
                out += QLatin1Char(c);
            else
                out += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

} // namespace

ProgressView::ProgressView(BatchRun &run, Style style, const Common &common, bool toStderr)
    : run(run)
    , toStderr(toStderr)
{
    if (common.verbose)
        connect(&run, &BatchRun::traffic, this, &ProgressView::trace);
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
            if (rewrite)
                drawRows();
        });
        connect(&run, &BatchRun::stepped, this, [this](int index) { changed(index, stepText(job(index))); });
        connect(&run, &BatchRun::ended, this, [this](int index) { changed(index, result(job(index))); });
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
                     .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")), job(index).port,
                          QLatin1String(sent ? ">" : "<"), escaped(bytes)));
}

void ProgressView::changed(int index, const QString &event)
{
    if (rewrite) {
        if (!redraw.isActive())
            redraw.start();
        return;
    }
    write(cli::tr("%1 line %2 %3: %4\n")
              .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")))
              .arg(job(index).line)
              .arg(job(index).port, event));
}

// One job's line: its plan line, port, MAC once known, and state.
QString ProgressView::rowLine(const BatchRun::Job &job) const
{
    const QString state = job.done ? result(job) : job.total > 0 ? stepText(job) : cli::tr("waiting");
    const QString mac = job.work ? job.work->result().before.value(proto::Param::Mac) : QString();
    return cli::tr("line %1  %2  %3  %4").arg(job.line).arg(job.port, mac.isEmpty() ? QStringLiteral("?") : mac, state);
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
