#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include "batchrun.h"
#include "commissioning.h"
#include "survey.h"

namespace cli {

// The line settings of a module's RS-485 side, as the module's own words
// (protocol/parameters.h): speed, parity, stop_bits.
struct LineSetting {
    QString speed;
    QString parity;
    QString stopBits;
    bool operator==(const LineSetting &o) const
    {
        return speed == o.speed && parity == o.parity && stopBits == o.stopBits;
    }
    bool operator!=(const LineSetting &o) const { return !(*this == o); }
    bool isEmpty() const { return speed.isEmpty(); }
    // "38400/even/1"
    QString text() const;
    // The module's values that hold it.
    ModuleValues values() const;
    static LineSetting of(const ModuleValues &values);
};

// The settings tune tries, the commonest first. Speeds rank 9600, 19200,
// then 38400, 115200, 57600, then 4800, 2400, 1200, 128000, 256000;
// framings none/1 and even/1 first, then none/2, odd/1, even/2, odd/2. The
// two common speeds with the two common framings come first, then the
// middle speeds with them, then the common speeds with the rare framings,
// then the rare speeds with the common framings, the middle speeds with the
// rare framings, the rare speeds with the rare framings; within a group by
// speed, then framing. Only the speeds, parities and stop bits given.
QVector<LineSetting> tryOrder(const QStringList &speeds, const QStringList &parities, const QStringList &stopBits);

// tune's run: the module's settings read through its configuration port,
// then for each line setting in turn: the changed ones written, the module
// restarted and read back, and a survey through its TCP side; it stops at
// the first setting where a device answers (or, with `all`, goes on to the
// end and then goes to the first), and puts the module back as it was when
// none answered, a step failed or it was interrupted. Each step is a run
// of the one driver (BatchRun) of its own, one after the other; the views
// listen to its signals.
class Tuning : public QObject
{
    Q_OBJECT

public:
    struct Asked {
        QString port;
        int interval = 0;
        int rebootTimeoutMs = 30000;
        QString viaHost;
        int viaPort = 0;
        QVector<int> units;
        checkargs::Read read;
        QVector<LineSetting> settings;
        bool all = false;
    };

    // One try, or a move of the module alone (the put-back, the move to the
    // setting found with --all).
    struct Try {
        LineSetting setting;
        QList<proto::Param> written;
        bool surveyed = false;
        int unitsAsked = 0;
        QVector<int> found;
        // found, none, unreachable, lost, interrupted; or the serial job's
        // word when the move failed (not-back is "lost", ...).
        QString result;
        QString detail; // English
        QString detailText;
        QDateTime started;
        QDateTime finished;
        double ms = 0;
    };

    enum class Ending {
        Found,       // a device answered; the module left at its setting
        NoneFound,   // no setting found a device
        Refused,     // the module in client mode: nothing written
        Failed,      // the module or the connection failed
        Interrupted,
    };

    struct Result {
        Ending ending = Ending::Failed;
        ModuleValues module; // as read first: mode, timeout_response, mac, version, the line
        LineSetting original;
        QVector<Try> tried;
        int foundAt = -1; // in tried
        // The move after the tries, when there was one: back to the
        // original setting, or on to the one found (--all).
        bool moved = false;
        Try move;
        // Where the module stands at the end, as read back (empty: not known).
        LineSetting final;
        // Whether any change was sent to the module.
        bool changed = false;
        QString refusal; // why the module was refused (client mode)
        QString failure; // what failed, for a person
    };

    Tuning(const Asked &asked, QObject *parent = nullptr);

    void run();
    const Asked &asked() const { return ask; }
    const Result &result() const { return res; }
    // The module stands at its original setting at the end (never changed,
    // or put back and read back so).
    bool restored() const;
    // Devices answered at more than one setting (--all).
    bool severalSettings() const;

signals:
    // A serial job or a survey is about to run (a view attaches to it), or
    // has run (the view lets go of it before it goes).
    void jobStarting(BatchRun &run);
    void jobEnded();
    void surveyStarting(const Survey &survey);
    void surveyEnded();
    // The module's settings are read: the original setting is known.
    void moduleRead();
    // Try `index` (from 0) of `total` begins; about `leftMs` left for it and
    // those after it (before the first try's end, their surveys' least).
    void trying(int index, int total, double leftMs);
    void tried(int index);
    // The move after the tries begins (putting back: to the original).
    void moving(bool puttingBack);
    void ended();

private:
    bool readModule();
    bool probe();
    bool moveTo(const LineSetting &to, Try *t);
    void surveyAt(Try *t);
    void runTries();
    void afterTries(bool failed);
    double leftMs(int index) const;

    const Asked ask;
    Result res;
    LineSetting standing; // empty: not known (a move failed)
};

} // namespace cli
