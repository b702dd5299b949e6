#pragma once
// A module in the test's own process, behind the engine's link: the
// simulated module's logic (GatewayModule) answers each line as it is
// written, and the test scripts the faults of the device and the module.
#include <QByteArray>
#include <QByteArrayList>
#include <QIODevice>

#include "gatewaymodule.h"
#include "modulelink.h"

namespace support {

class ScriptedLink : public ModuleLink
{
    Q_OBJECT

public:
    struct Faults {
        int busyOpens = 0;       // the first opens fail: another program holds the port
        bool missing = false;    // no such device: every open fails
        bool notSerial = false;  // what is there is no serial device: every open fails
        QByteArray silentOn;     // no reply to this line
        QByteArray replyOn;      // the line of `reply`
        QByteArray reply;        // the reply to `replyOn` instead of the module's
        QByteArray lostOn;       // the device goes once this line is written
        QByteArray lostAfterReplyOn; // the device goes right after the reply to this line
        bool writeFailsOnReboot = false; // the device goes during the reboot's write
        int awayAfterReboot = 0; // opens that fail after a reboot; -1: it never comes back
        bool forgetsIp = false;  // after its restart the module holds its factory ip
        QByteArray ack;          // the word a taken change is acknowledged with, when not "ok"
        QByteArray gateway;      // the module's gateway, when not the factory one
        QByteArray stopOn;       // the test stops the job once this line is written (lineWritten())
    };

    explicit ScriptedLink(const Faults &faults, QObject *parent = nullptr);

    QString name() const override { return QStringLiteral("scripted"); }
    QIODevice *device() override { return &wire; }
    bool open(OpenFault *fault, QString *reason) override;

    // Every line written, in order.
    QByteArrayList received;
    GatewayModule module;

signals:
    // A line was written, before any reply to it comes.
    void lineWritten(const QByteArray &line);

private:
    // The bytes both ways: what is written goes to the module, its replies
    // come back in the event loop.
    class Wire : public QIODevice
    {
    public:
        explicit Wire(ScriptedLink *link) : link(link) {}
        bool isSequential() const override { return true; }
        qint64 bytesAvailable() const override { return incoming.size() + QIODevice::bytesAvailable(); }
        void deliver(const QByteArray &bytes);

    protected:
        qint64 readData(char *data, qint64 maxSize) override;
        qint64 writeData(const char *data, qint64 size) override;

    private:
        ScriptedLink *link = nullptr;
        QByteArray incoming;
    };

    // False when the device went during the write.
    bool written(const QByteArray &line);
    void goAway();

    Faults faults;
    Wire wire{this};
    int opens = 0;
    int away = 0; // opens still to fail while the module restarts
};

} // namespace support
