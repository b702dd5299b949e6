#pragma once

#include <QHostAddress>
#include <QModbusServer>
#include <QVector>

#include "registermap.h"

class QTcpServer;
class QTcpSocket;

// A Modbus TCP server that answers whatever unit it is asked for, as the
// TCP server that a gateway module in client mode connects to.
//
// QModbusTcpServer drops every request whose unit is not its own server
// address, so this one frames the TCP side itself (the MBAP header) and
// leaves the rest to Qt SerialBus: the request is read as a QModbusRequest
// and answered by QModbusServer's own processRequest() from its data
// tables. One set of tables serves every unit. Without a map, each holding
// and input register holds its own address and each coil and discrete
// input is 1 at an odd address (registermap.h).
class AnyUnitServer : public QModbusServer
{
    Q_OBJECT

public:
    explicit AnyUnitServer(QObject *parent = nullptr);

    // Sets the values of a map file over the defaults.
    void setValues(const QVector<registermap::Entry> &entries);
    // Listens at `address` and `port` (0: a port the system picks).
    bool listen(const QHostAddress &address, quint16 port);
    quint16 serverPort() const;
    // Why the last listen() failed: the system's fault, in the program's
    // own words for a person (systemwords.h).
    QString listenFailureText() const;

    // What the decoding of a request gives for the report.
    struct Served {
        QString peer; // address:port of the client
        int unit = 0;
        int function = 0;
        int address = -1; // -1: the function has none
        int count = -1;
        int exception = 0;
    };

signals:
    void clientConnected(const QString &peer);
    void clientDisconnected(const QString &peer);
    void requestServed(const AnyUnitServer::Served &served);

protected:
    bool open() override;
    void close() override;

private:
    void accept();
    void readFrom(QTcpSocket *socket);

    QTcpServer *server = nullptr;
    QHash<QTcpSocket *, QByteArray> buffers;
};
