#pragma once
// Real files for the tests of the settings files.
#include <QByteArray>
#include <QString>
#include <QStringList>

class setting_module;

namespace support {
// The whole file; empty when it cannot be read.
QByteArray readFile(const QString &path);
// Writes `data` as the whole file; false when it could not.
bool writeFile(const QString &path, const QByteArray &data);
// The thirteen values of a settings object in the order of the file's keys,
// the positions in the lists as numbers.
QStringList valuesOf(const setting_module &s);
} // namespace support
