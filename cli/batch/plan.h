#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "csv.h"
#include "modulevalues.h"
#include "textbytes.h"
#include "writecheck.h"

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

} // namespace plan
