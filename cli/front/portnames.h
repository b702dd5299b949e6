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

// A port's name as two names of one device spell it alike (portpath.h).
QString portKey(const QString &port);
// A MAC address as two spellings of it compare equal ("02-00-..." and
// "02:00:..."), or an empty text when it is none.
QString macKey(const QString &mac);

} // namespace cli
