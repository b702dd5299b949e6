#pragma once

#include <QString>
#include <QStringList>

class QSerialPortInfo;

namespace cli {

// A listed port by the name a command takes: COM3 on Windows, the device's
// path elsewhere; and every port the system lists so.
QString portArgument(const QSerialPortInfo &info);
QStringList listedPorts();

} // namespace cli
