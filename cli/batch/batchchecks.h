#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <map>
#include <memory>

#include "batchrun.h"
#include "modbuscheck.h"
#include "writecheck.h"

namespace cli {

// The network checks of a batch's rows: each starts as soon as its row's
// module is back and read back ok, in the run's own event loop, beside the
// serial work of the other rows and the other checks, and holds the run
// until it has ended. A row whose module will be in client mode is
// refused before any change is sent.
class BatchChecks : public QObject
{
    Q_OBJECT

public:
    explicit BatchChecks(BatchRun &run);
    ~BatchChecks() override;

    // The check of the job at `index` in the run's jobs, asked before the
    // run; `values`: what the job writes (its mode, if given, is judged at
    // the plan).
    void ask(int index, const writecheck::Asked &asked, const ModuleValues &values);

    // What a report's row gives of a job's check: what was asked
    // ("1:hr:0:2 2:ir:0:1"), its result word (checkreport::resultWord;
    // skipped when the row failed before it), its time in ms, and the row's
    // result when the check failed it (checkreport::rowResult), else empty.
    // All empty for a job without a check.
    struct Cells {
        QString check;
        QString result;
        QString ms;
        QString rowResult;
    };
    Cells cells(int index) const;

private:
    struct Entry {
        writecheck::Asked asked;
        std::unique_ptr<ModbusCheck> check;
        QElapsedTimer clock;
        double ms = -1;
        bool ended = false;
    };

    // "1:hr:0:2 2:ir:0:1", as the plan's cell and the report write it.
    static QString askedText(const writecheck::Asked &asked);
    void jobEnded(int index);
    void checkEnded(int index);
    void stopAll();

    BatchRun &run;
    std::map<int, Entry> entries;
};

} // namespace cli
