#pragma once

#include <QIODevice>
#include <QObject>
#include <QString>

// The way to one module as the engine (ModuleSession) sees it: a device for
// the bytes both ways, opened here, and word of the device's loss.
// SerialModuleLink is the real one, a serial port; the engine's tests script
// a module behind one of their own.
class ModuleLink : public QObject
{
    Q_OBJECT

public:
    // Why the device cannot be opened.
    enum class OpenFault {
        Busy,      // another program holds it, or no access
        Missing,   // no such device
        NotSerial, // something is there, but no serial device (a file, a folder)
    };

    explicit ModuleLink(QObject *parent = nullptr) : QObject(parent) {}

    // The link's name as it was given: a port name or a device path.
    virtual QString name() const = 0;
    // The device that name stood for when it was last opened (a link
    // followed); the name itself where that is all there is to tell.
    virtual QString deviceName() const { return name(); }
    // The bytes both ways, each line in one write; open between a
    // successful open() and the device's close().
    virtual QIODevice *device() = 0;
    // False, with the fault and the system's reason, when it cannot be opened.
    virtual bool open(OpenFault *fault, QString *reason) = 0;
    // Whether every byte written has left: the driver's queue is empty too,
    // not only the device's own buffer.
    virtual bool drained() { return true; }

signals:
    // The device of the open link went away; `reason` is the system's. Told
    // once the device may be closed.
    void lost(const QString &reason);
};
