#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>

// Tells, from the errors a serial port reports, that its device is gone,
// and tells it when the port may be closed. It never opens, closes or
// listens to the port: its owner hands it each error the port reports.
//
// The serial library reports a hung-up device (the other end of a
// pseudo-terminal closed, a USB adapter pulled) as failed reads or writes,
// on Windows with whatever error the driver gives, not as a lost device:
// the watch asks the device itself. And Windows reports a failed read from
// inside readAll(): closing the port there pulls its buffer from under that
// read (a crash), so the loss is told once the port's own call has returned.
class LossWatch : public QObject
{
    Q_OBJECT

public:
    explicit LossWatch(QSerialPort *port, QObject *parent = nullptr);

    // An error the port reported (its errorOccurred).
    void judge(QSerialPort::SerialPortError error);

signals:
    // The device is gone; `reason` is the port's at the error. Told whether
    // or not the port is still open by then.
    void lost(const QString &reason);
    // Windows only: a read or write failed with the device still there, and
    // the port neither reads nor writes any more until it is opened again
    // (on Unix the serial library goes on polling). Told once for any number
    // of such errors before it, once the port's own call has returned, while
    // the port is open.
    void reopenDue();

private:
    QSerialPort *port = nullptr;
    bool reopenQueued = false;
};
