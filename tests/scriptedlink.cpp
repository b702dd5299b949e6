#include "scriptedlink.h"

#include <QTimer>

#include <cstring>

namespace support {

ScriptedLink::ScriptedLink(const Faults &faults, QObject *parent)
    : ModuleLink(parent)
    , faults(faults)
{
    if (!faults.ack.isEmpty())
        module.options().ack = faults.ack.toStdString();
    if (!faults.gateway.isEmpty())
        module.change(proto::Param::Gateway, faults.gateway.toStdString());
}

bool ScriptedLink::open(OpenFault *fault, QString *reason)
{
    ++opens;
    if (faults.missing || away != 0) {
        if (away > 0)
            --away;
        *fault = OpenFault::Missing;
        *reason = QStringLiteral("No such file or directory");
        return false;
    }
    if (faults.notSerial) {
        *fault = OpenFault::NotSerial;
        *reason = QStringLiteral("Inappropriate ioctl for device");
        return false;
    }
    if (opens <= faults.busyOpens) {
        *fault = OpenFault::Busy;
        *reason = QStringLiteral("Permission denied");
        return false;
    }
    return wire.open(QIODevice::ReadWrite);
}

bool ScriptedLink::written(const QByteArray &line)
{
    received << line;
    emit lineWritten(line);
    const GatewayModule::Result r = module.handle(line.toStdString());
    if (r.action == GatewayModule::Action::Reboot || r.action == GatewayModule::Action::FactoryReset) {
        if (faults.forgetsIp)
            module.change(proto::Param::Ip, GatewayModule::factoryValue(proto::Param::Ip));
        away = faults.awayAfterReboot;
        if (faults.writeFailsOnReboot)
            return false;
        goAway();
        return true;
    }
    if (line == faults.lostOn) {
        goAway();
        return true;
    }
    if (line == faults.silentOn)
        return true;
    const QByteArray reply = line == faults.replyOn ? faults.reply : QByteArray::fromStdString(r.reply);
    // A reply comes once the line is out, in the event loop; the device may
    // go right after it, before the reply's gap has ended.
    const bool goes = line == faults.lostAfterReplyOn;
    QTimer::singleShot(0, this, [this, reply, goes] {
        if (wire.isOpen() && !reply.isEmpty())
            wire.deliver(reply);
        if (goes && wire.isOpen())
            emit lost(QStringLiteral("device gone"));
    });
    return true;
}

void ScriptedLink::goAway()
{
    QTimer::singleShot(0, this, [this] {
        if (wire.isOpen())
            emit lost(QStringLiteral("device gone"));
    });
}

void ScriptedLink::Wire::deliver(const QByteArray &bytes)
{
    incoming += bytes;
    emit readyRead();
}

qint64 ScriptedLink::Wire::readData(char *data, qint64 maxSize)
{
    const qint64 n = qMin<qint64>(maxSize, incoming.size());
    std::memcpy(data, incoming.constData(), std::size_t(n));
    incoming.remove(0, int(n));
    return n;
}

qint64 ScriptedLink::Wire::writeData(const char *data, qint64 size)
{
    if (!link->written(QByteArray(data, int(size)))) {
        setErrorString(QStringLiteral("device gone"));
        return -1;
    }
    return size;
}

} // namespace support
