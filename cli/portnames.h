#pragma once

#include <QString>
#include <QStringList>

class QSerialPortInfo;

namespace cli {

// A listed port by the name a command takes: COM3 on Windows, the device's
// path elsewhere; and every port the system lists so.
QString portArgument(const QSerialPortInfo &info);
QStringList listedPorts();

// A port as messages name it: the name the user gave and, where it
// differs, the device it stands for ("m1 (/dev/m1)").
QString shownPort(const QString &name, const QString &device);

// Ports named by the user (a --ports list, find's arguments): a fault in
// `faults` for no port at all and for one device named twice, under any
// names (`what` says where they were named).
void checkPorts(const QStringList &ports, const QString &what, QStringList *faults);

} // namespace cli
