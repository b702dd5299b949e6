#pragma once

#include <QHash>
#include <QObject>
#include <QTimer>

#include "batchrun.h"
#include "options.h"

namespace cli {

// Everything gateway-cli draws while modules are worked on, as it listens to
// a BatchRun: the single command's progress line, the batch's lines, the
// events where nothing is redrawn, and the trace of --verbose. Every control
// sequence the program writes to a terminal is written here.
class ProgressView : public QObject
{
    Q_OBJECT

public:
    enum class Style {
        Trace, // the trace of --verbose only
        Line,  // one job: a line on stderr's terminal that follows its steps and goes at its end
        Rows,  // a batch: on a terminal a line per job, rewritten in place; elsewhere a line per
               // job and phase (every step too with --verbose)
    };

    // Draws on stderr, or for Rows on stdout unless `toStderr`.
    ProgressView(BatchRun &run, Style style, const Common &common, bool toStderr = true);

    // A job's result as a line shows it: its word and its detail.
    static QString result(const BatchRun::Job &job);
    // A job's port as lines show it: its name, and the device where that differs.
    static QString port(const BatchRun::Job &job);

private:
    const BatchRun::Job &job(int index) const { return *run.jobs()[std::size_t(index)]; }
    void trace(int index, bool sent, const QByteArray &bytes);
    void traceMilestone(int index, Commissioning::Milestone milestone);
    void changed(int index, const QString &event);
    void drawRows();
    QString rowLine(const BatchRun::Job &job) const;
    void write(const QString &text) const;

    BatchRun &run;
    const bool toStderr;
    const bool verbose;
    // Rows rewritten in place, and how many are on the screen.
    bool rewrite = false;
    int drawn = 0;
    // Each row's last line, where rows are not redrawn.
    QHash<int, QString> told;
    QTimer redraw;
};

} // namespace cli
