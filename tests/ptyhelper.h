#pragma once

#include <QByteArray>
#include <QString>

// The master side of a pseudo-terminal opened in raw mode, standing in for
// a device on the far end of a serial line.
class PtyDevice
{
public:
    PtyDevice();
    ~PtyDevice();
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    bool isOpen() const { return fd >= 0; }
    int handle() const { return fd; }
    // Path of the slave side, to be opened by the serial port.
    QString slavePath() const { return path; }
    // Writes bytes to the slave's reader; while the terminal is full, the
    // main thread's event loop runs (the reader may be this thread's).
    bool send(const QByteArray &bytes);
    // Bytes written by the slave side so far, waiting up to `ms` for at
    // least `atLeast` bytes while the Qt event loop keeps running.
    QByteArray receive(int atLeast = 1, int ms = 2000);
    // Everything received so far without waiting.
    QByteArray drain();
    // Closes the master: the slave side sees a hang-up.
    void hangUp();

private:
    int fd = -1;
    QString path;
};
