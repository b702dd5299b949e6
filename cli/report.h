#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "commissioning.h"
#include "modulevalues.h"

// The as-built record of a batch: one row per plan row, what the module
// said it holds after its restart and what it held before.
namespace report {

struct Row {
    int line = 0; // the plan's line
    QString port;
    QString mac;
    QString version;
    Commissioning::Outcome outcome = Commissioning::Outcome::Ok; // its word in the report (words.h)
    QString detail; // which key was refused or differs, or the system's reason
    QDateTime started;
    QDateTime finished;
    ModuleValues after;
    ModuleValues before;
    // The network check after the read-back (BatchChecks::Cells): what was
    // asked, its result word and time; `checkFailure`, when the check
    // failed the row, is the row's result.
    QString check;
    QString checkResult;
    QString checkMs;
    QString checkFailure;
};

// line, port, mac, version, result, detail, started, finished, then each
// key a settings file holds (read back), then each as <key>_before, then
// check, check_result, check_ms.
QStringList columns();
// A time as ISO 8601 with the offset from UTC; empty for none.
QString isoTime(const QDateTime &time);
// The rows as CSV text, and as JSON ({"rows": [...]}, each row an object
// with the same names as the CSV's columns).
QString csv(const QList<Row> &rows);
QJsonObject json(const QList<Row> &rows);
// Writes the CSV through a temporary file renamed into place, so that the
// file is never half a report. False with the reason.
bool save(const QString &path, const QList<Row> &rows, QString *error);

} // namespace report
