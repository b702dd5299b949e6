#pragma once
// Real files for the tests of the settings files.
#include <QByteArray>
#include <QString>

namespace support {
// The whole file; empty when it cannot be read.
QByteArray readFile(const QString &path);
// Writes `data` as the whole file; a failure fails the test.
void writeFile(const QString &path, const QByteArray &data);
} // namespace support
