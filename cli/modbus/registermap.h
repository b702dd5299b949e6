#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "checkargs.h"

// The values `serve` holds where a map file sets them. Without one, each
// holding and input register reads back its own address (hr:7 is 7) and
// each coil and discrete input is 1 at an odd address, 0 at an even one.
//
// A map file is plain text (UTF-8), a line each:
//   # a comment, and blank lines, are skipped
//   hr:100 = 1234             holding register 100 holds 1234
//   ir:0 = 10 20 30           input registers 0, 1 and 2
//   coil:8 = 1 0 1 1          coils 8 to 11
//   di:3 = 0
// KIND is hr, ir, coil or di, ADDRESS 0-65535; the values (blanks or commas
// between them) go to ADDRESS and the addresses after it, registers
// 0-65535 (decimal, or hexadecimal with 0x), bits 0 or 1.
namespace registermap {

struct Entry {
    checkargs::Kind kind = checkargs::Kind::HoldingRegisters;
    int address = 0;
    QVector<quint16> values;
};

// The value a table holds at an address when no map file sets it.
quint16 defaultValue(checkargs::Kind kind, int address);

// Reads a map file. False with one line in `faults` for each bad line
// ("FILE:LINE: what is wrong"), or for a file that cannot be read.
bool load(const QString &path, QVector<Entry> *entries, QStringList *faults);

} // namespace registermap
