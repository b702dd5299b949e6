#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include "commissioning.h"
#include "modulevalues.h"
#include "textbytes.h"

// The as-built record of a batch: one row per plan row, what was asked of
// the module, what it held before, what it took and what it said it holds
// after its restart, so that the file alone tells what was done.
namespace report {

struct Row {
    int line = 0; // the plan's line
    QString port;
    QString mac;
    QString version;
    Commissioning::Outcome outcome = Commissioning::Outcome::Ok; // its word in the report (words.h)
    QString detail; // which key was refused or differs, or the system's reason
    QList<proto::Param> written; // acknowledged by the module, in order
    QDateTime started;
    QDateTime finished;
    ModuleValues asked; // what the plan asked for
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

// What every row of one report says alike: the plan's file name, the
// program and its version, the PC's name.
struct Origin {
    QString plan;
    QString tool;
    QString host;
};

// How the CSV is written: the separator and whether a byte order mark
// leads it. It is UTF-8 always, its lines end with CR LF.
struct Dialect {
    QChar separator = QLatin1Char(',');
    bool bom = false;
};
// --report-format: csv (comma, no byte order mark) and excel (as a
// spreadsheet in a Russian locale opens it with a double click: semicolon,
// a byte order mark).
Dialect csvDialect();
Dialect excelDialect();
// A report as its plan was written: the plan's separator, and a byte order
// mark where the plan had one or was written in a Windows encoding
// (Windows-1251, UTF-16), so that the spreadsheet that saved the plan opens
// the report in its columns.
Dialect dialectOf(QChar separator, TextBytes::Encoding encoding);

// The columns, in order (columns are added in report.cpp's one table):
// line, port, mac, version, result, detail, written, started, finished,
// plan, tool, host, then each key a settings file holds (read back), each
// as <key>_asked and each as <key>_before, then check, check_result,
// check_ms.
QStringList columns();
// A time as ISO 8601 with the offset from UTC; empty for none.
QString isoTime(const QDateTime &time);
// The rows as CSV text (lines end with CR LF), and as JSON ({"rows":
// [...]}, each row an object with the names of the CSV's columns).
QString csv(const QList<Row> &rows, const Origin &origin, const Dialect &dialect);
QJsonObject json(const QList<Row> &rows, const Origin &origin);
// Writes the CSV whole or not at all (through a temporary file renamed into
// place). False with the reason.
bool save(const QString &path, const QList<Row> &rows, const Origin &origin, const Dialect &dialect, QString *error);

} // namespace report
