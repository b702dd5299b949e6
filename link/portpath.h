#pragma once

#include <QString>

// The device a port's name stands for, as the system resolves it now: the
// same device under two names (a relative path and an absolute one, a
// symbolic link such as /dev/serial/by-id/... and its target, COM3 and
// \\.\COM3) has one path. It may change: a restarted module, like a USB
// adapter plugged back in, can come back as another device behind the same
// link, so a name is resolved again each time it is opened.
class PortPath
{
public:
    // Unix: a bare name (ttyUSB0) is a device in /dev, as the serial
    // library takes it; a relative path is taken from the working folder;
    // symbolic links are followed where the device is there. Windows: the
    // port's name in capitals, without the \\.\ prefix.
    static QString device(const QString &name);
    // Whether something is there under the name now.
    static bool exists(const QString &name);
    // Whether what is there is no serial device at all (a plain file, a
    // folder); false where nothing is there or it cannot be told.
    static bool notADevice(const QString &name);
};
