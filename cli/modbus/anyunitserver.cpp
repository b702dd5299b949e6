#include "anyunitserver.h"

#include <QDataStream>
#include <QModbusPdu>
#include <QTcpServer>
#include <QTcpSocket>
#include <QVariant>

#include "modbus.h"
#include "systemwords.h"

namespace {

// A peer as people write it: 127.0.0.1:40122 (an IPv4 address that came
// in on an IPv6 socket shown as IPv4).
QString peerOf(const QTcpSocket *socket)
{
    QHostAddress address = socket->peerAddress();
    bool ipv4 = false;
    const quint32 v4 = address.toIPv4Address(&ipv4);
    if (ipv4)
        address = QHostAddress(v4);
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(address.toString())
                             : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(socket->peerPort());
}

} // namespace

AnyUnitServer::AnyUnitServer(QObject *parent)
    : QModbusServer(parent)
{
    QModbusDataUnitMap map;
    for (const checkargs::Kind kind : {checkargs::Kind::HoldingRegisters, checkargs::Kind::InputRegisters,
                                       checkargs::Kind::Coils, checkargs::Kind::DiscreteInputs}) {
        QVector<quint16> values(modbus::MaxAddress + 1);
        for (int a = 0; a <= modbus::MaxAddress; ++a)
            values[a] = registermap::defaultValue(kind, a);
        map.insert(checkargs::registerType(kind), QModbusDataUnit(checkargs::registerType(kind), 0, values));
    }
    setMap(map);
}

void AnyUnitServer::setValues(const QVector<registermap::Entry> &entries)
{
    for (const registermap::Entry &e : entries)
        setData(QModbusDataUnit(checkargs::registerType(e.kind), e.address, e.values));
}

bool AnyUnitServer::listen(const QHostAddress &address, quint16 port)
{
    setConnectionParameter(QModbusDevice::NetworkAddressParameter, address.toString());
    setConnectionParameter(QModbusDevice::NetworkPortParameter, port);
    return connectDevice();
}

quint16 AnyUnitServer::serverPort() const
{
    return server ? server->serverPort() : 0;
}

QString AnyUnitServer::listenFailureText() const
{
    if (!server)
        return errorString();
    switch (server->serverError()) {
    case QAbstractSocket::AddressInUseError:
        return language::failureText(language::Failure::AddressInUse, errorString());
    case QAbstractSocket::SocketAddressNotAvailableError:
        return language::failureText(language::Failure::AddressNotAvailable, errorString());
    case QAbstractSocket::SocketAccessError:
        return language::failureText(language::Failure::AddressProtected, errorString());
    default:
        return errorString();
    }
}

bool AnyUnitServer::open()
{
    if (!server) {
        server = new QTcpServer(this);
        connect(server, &QTcpServer::newConnection, this, &AnyUnitServer::accept);
    }
    const QHostAddress address(connectionParameter(QModbusDevice::NetworkAddressParameter).toString());
    const quint16 port = quint16(connectionParameter(QModbusDevice::NetworkPortParameter).toUInt());
    if (!server->listen(address, port)) {
        setError(server->errorString(), QModbusDevice::ConnectionError);
        return false;
    }
    setState(QModbusDevice::ConnectedState);
    return true;
}

void AnyUnitServer::close()
{
    if (server)
        server->close();
    const QList<QTcpSocket *> sockets = buffers.keys();
    for (QTcpSocket *socket : sockets)
        socket->disconnectFromHost();
    setState(QModbusDevice::UnconnectedState);
}

void AnyUnitServer::accept()
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        const QString peer = peerOf(socket);
        buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, peer] {
            buffers.remove(socket);
            socket->deleteLater();
            emit clientDisconnected(peer);
        });
        emit clientConnected(peer);
    }
}

void AnyUnitServer::readFrom(QTcpSocket *socket)
{
    QByteArray &buffer = buffers[socket];
    buffer += socket->readAll();
    while (buffer.size() >= modbus::MbapHeaderSize) {
        quint16 transaction = 0, protocol = 0, length = 0;
        quint8 unit = 0;
        QDataStream header(buffer);
        header >> transaction >> protocol >> length >> unit;
        // The length counts the unit and the PDU.
        if (protocol != 0 || length < 2 || length > modbus::MaxPduSize + 1) {
            // Not Modbus TCP: nothing more on this connection makes sense.
            socket->disconnectFromHost();
            buffer.clear();
            return;
        }
        if (buffer.size() < modbus::MbapHeaderSize - 1 + length)
            return; // the rest is still on its way
        const QByteArray pdu = buffer.mid(modbus::MbapHeaderSize, length - 1);
        buffer.remove(0, modbus::MbapHeaderSize - 1 + length);

        const QModbusRequest request(QModbusPdu::FunctionCode(quint8(pdu.at(0))), pdu.mid(1));
        const QModbusResponse response = processRequest(request);

        QByteArray frame;
        QDataStream out(&frame, QIODevice::WriteOnly);
        out << transaction << protocol << quint16(response.size() + 1) << unit << response;
        socket->write(frame);

        Served s;
        s.peer = peerOf(socket);
        s.unit = unit;
        s.function = quint8(pdu.at(0));
        s.exception = response.isException() ? int(response.exceptionCode()) : 0;
        const auto word = [&pdu](int at) { return (quint8(pdu.at(at)) << 8) | quint8(pdu.at(at + 1)); };
        switch (s.function) {
        case QModbusPdu::ReadCoils:
        case QModbusPdu::ReadDiscreteInputs:
        case QModbusPdu::ReadHoldingRegisters:
        case QModbusPdu::ReadInputRegisters:
        case QModbusPdu::WriteMultipleCoils:
        case QModbusPdu::WriteMultipleRegisters:
            if (pdu.size() >= 5) {
                s.address = word(1);
                s.count = word(3);
            }
            break;
        case QModbusPdu::WriteSingleCoil:
        case QModbusPdu::WriteSingleRegister:
            if (pdu.size() >= 3) {
                s.address = word(1);
                s.count = 1;
            }
            break;
        default:
            break;
        }
        emit requestServed(s);
    }
}
