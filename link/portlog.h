#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <QSerialPort>
#include <QString>

// The port's own reason for a failure (what the system said: "Permission
// denied", a Windows error text) on its own category, on by default like
// the others; switch it with QT_LOGGING_RULES="gateway.link.warning=false".
Q_DECLARE_LOGGING_CATEGORY(lcLink)

// Logs every error a serial port reports, at warning level, with its code
// and the system's text: once per event. A port that fails in a loop
// repeats the same error; the repeats are counted, and the count is logged
// when another error comes or the log ends.
class PortErrorLog : public QObject
{
    Q_OBJECT

public:
    // Watches `port` for as long as both live; made before any other
    // connection to the port's errorOccurred, it logs the reason before
    // anything else reacts to the error.
    explicit PortErrorLog(QSerialPort *port);
    ~PortErrorLog() override;

private:
    void record(QSerialPort::SerialPortError error);
    void logRepeats();

    QSerialPort *port = nullptr;
    // The last error logged, and how often it came again since.
    QString last;
    int repeats = 0;
};
