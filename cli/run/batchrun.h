#pragma once

#include <QEventLoop>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "commissioning.h"
#include "console.h"

namespace cli {

// The console program's one driver: runs modules' jobs, each on its port,
// side by side in one event loop until every one has ended, and whatever
// of the network side holds the run: one module's command, the ports asked
// by find, the rows of a batch and their checks, a check or a server alone.
// Ctrl+C stops them all (the line on the wire is finished first). It draws
// nothing: the views listen to it.
class BatchRun : public QObject
{
    Q_OBJECT

public:
    // One job: a module on its port, and where it stands.
    struct Job {
        int line = 0; // the plan's line; 0 without a plan
        QString port;
        // The module the plan means (its MAC address): another one on the
        // port fails the job as a mismatch. Empty: whichever is there.
        QString mac;
        // The module found on the port instead, once identified.
        QString otherMac;
        // Asked once the module is identified, with the values scanned by
        // then: a reason to send it no change (the job then stops, refused),
        // or an empty text. None: go on.
        std::function<QString(const ModuleValues &before)> veto;
        QString vetoed;
        // None for a job that ended before the run.
        std::unique_ptr<Commissioning> work;
        // The device the port stood for when it was last opened (or, for a
        // job that never ran, stands for now).
        QString device() const;
        int step = 0;
        int total = 0;
        QString doing;
        bool done = false;
        // Once done.
        Commissioning::Outcome outcome = Commissioning::Outcome::Ok;
        QString detail;
        // The same in the person's language, for the progress (as the engine's).
        QString detailText;
        // What follows the job's end in the same run (its network check):
        // while it runs, what it does; then what it found; and when it
        // failed the row, the row's result word, which the row ends with
        // instead of ok.
        bool following = false;
        QString follow;
        QString followWord;
    };

    // A job to run: `plan` for the module on `port`.
    Job &add(const QString &port, const Commissioning::Plan &plan, int interval);
    // A job that ended before the run, with its outcome.
    Job &addEnded(const QString &port, Commissioning::Outcome outcome, const QString &detail = QString());

    // Runs every job to its end, and on while held: what follows a job's
    // end in the same event loop (its network check) holds the run until
    // it releases it.
    void run();
    void hold() { ++holds; }
    // A run whose jobs an interrupt does not stop, as a module's move that
    // must end with the module back (the first interrupt is acted on after
    // it; a second ends the program at once, Interrupts).
    void finishOnInterrupt() { stoppable = false; }
    void release();
    // What follows the job at `index` has changed (followed()).
    void update(int index) { emit followed(index); }
    // Runs with the jobs a task of the network side (a check, a survey):
    // started here, stopped by Ctrl+C, holding the run until it has
    // finished().
    template <typename Task>
    void runWith(Task &task)
    {
        hold();
        connect(&task, &Task::finished, this, &BatchRun::release);
        connect(Interrupts::instance(), &Interrupts::interrupted, &task, &Task::stop);
        if (Interrupts::instance()->seen())
            task.stop();
        else
            task.start();
        run();
    }
    const std::vector<std::unique_ptr<Job>> &jobs() const { return all; }

signals:
    // Each names its job by its place in jobs().
    void starting();
    void stepped(int job);
    void reached(int job, Commissioning::Milestone milestone);
    // Its outcome is set.
    void ended(int job);
    // What follows its end has changed.
    void followed(int job);
    // Every line sent and every reply taken.
    void traffic(int job, bool sent, const QByteArray &bytes);
    void finished();

private:
    void stopAll();
    void end(int index);
    bool allDone() const;

    std::vector<std::unique_ptr<Job>> all;
    QEventLoop loop;
    int holds = 0;
    bool stoppable = true;
};

} // namespace cli
