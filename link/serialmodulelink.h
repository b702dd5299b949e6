#pragma once

#include <QSerialPort>

#include "modulelink.h"

class LossWatch;

// A module behind a serial port of its own, at the serial library's
// defaults (9600 baud, 8 data bits, no parity, one stop bit), as the window
// opens its port; a lost device told through the link's LossWatch.
class SerialModuleLink : public ModuleLink
{
    Q_OBJECT

public:
    explicit SerialModuleLink(const QString &portName, QObject *parent = nullptr);

    QString name() const override { return portName; }
    QString deviceName() const override { return resolved; }
    QIODevice *device() override { return &port; }
    bool open(OpenFault *fault, QString *reason) override;
    bool drained() override;

private:
    // Windows: the port opened again after a failed transfer.
    void reopen();

    const QString portName;
    QString resolved;
    QSerialPort port;
    LossWatch *watch = nullptr;
};
