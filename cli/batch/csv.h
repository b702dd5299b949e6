#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "textbytes.h"

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
