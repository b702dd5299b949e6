#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "modulevalues.h"
#include "textbytes.h"
#include "writecheck.h"

// CSV as spreadsheets write it: RFC 4180 quoting, a comma, a semicolon (as
// spreadsheets in Russian locales write "CSV") or a tab ("Unicode text")
// between fields, any line end, in any encoding textbytes.h reads.
namespace csv {

struct Record {
    int line = 0; // the line it starts on, counted from 1
    QStringList fields;
};

struct Table {
    QChar separator = QLatin1Char(',');
    TextBytes::Encoding encoding = TextBytes::Encoding::Utf8;
    QList<Record> records; // blank lines, and lines of separators only, left out
    QString fault;         // empty when the whole text was read
    int faultLine = 0;
};

// The separator is the one the first line uses most of.
Table read(const QByteArray &data);

// A field as CSV writes it: quoted when it holds a comma, a semicolon, a
// quote or a line end, or begins or ends with a blank.
QString field(const QString &text);

} // namespace csv

// A batch plan: which module gets which values.
namespace plan {

struct Row {
    int line = 0;
    QString port;        // where the module is; empty: found by its MAC
    QString mac;         // the module's MAC address; empty: whichever is on the port
    ModuleValues values; // to write
    cli::writecheck::Asked check; // the network check after the read-back (columns check, via)
};

struct Plan {
    QList<Row> rows;
    // As the file was written, for a report written alike.
    QChar separator = QLatin1Char(',');
    TextBytes::Encoding encoding = TextBytes::Encoding::Utf8;
    // Every fault, one line each with its line and column; the plan runs
    // only without any.
    QStringList faults;
};

// Reads and checks a whole plan: the columns, each row's port or MAC, its
// settings file (relative to `folder`) and values (each as the write
// command checks it, and the network's rules on those the row gives
// together, unless `force`), and that no two rows name one device or one
// MAC or give two modules one IP address. A port need not be there yet.
Plan read(const QByteArray &data, const QString &folder, bool force);

// A port's name as two names of one device spell it alike (portpath.h).
QString portKey(const QString &port);
// A MAC address as two spellings of it compare equal ("02-00-..." and
// "02:00:..."), or an empty text when it is none.
QString macKey(const QString &mac);

} // namespace plan
