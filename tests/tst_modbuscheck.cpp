// The network check's master in process, against servers on 127.0.0.1: a
// server that misbehaves in one way per unit (each reply that does not
// answer its request is malformed, never an answer), and serve's any-unit
// server for every count a read may ask. No process and no pseudo-terminal,
// so these run under Wine too. Every port is one the system picked.
#include <QtTest>

#include <QTcpServer>
#include <QTcpSocket>

#include "anyunitserver.h"
#include "checkreport.h"
#include "modbus.h"
#include "modbuscheck.h"

namespace {

using Outcome = ModbusCheck::Outcome;
using What = modbusreply::Mismatch::What;

// How the odd server answers a unit.
enum class Fault {
    None,
    ShortReply,  // one register fewer than asked, byte count to match
    LyingCount,  // a byte count of more bytes than follow
    OtherFunction,
    OtherTransaction,
    OtherUnit,
    OtherProtocol,
    Silent,
    CloseAfterThree, // closes the connection instead of the fourth answer
    DeviceException, // 0x02
    GatewayException, // 0x0B
    BadLength,        // an MBAP length no frame has
    LateFirst,        // the first reply only after the second request
};

// A Modbus TCP server that answers holding-register reads (each register its
// address), each unit with its own fault.
class OddServer : public QObject
{
public:
    explicit OddServer(QMap<int, Fault> faults)
        : faults(std::move(faults))
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        });
    }
    quint16 port() const { return server.serverPort(); }

private:
    static QByteArray frame(int tid, int protocol, int unit, const QByteArray &pdu, int length = -1)
    {
        const int l = length < 0 ? int(pdu.size()) + 1 : length;
        QByteArray out;
        out += char(tid >> 8) + QByteArray(1, char(tid)) + char(protocol >> 8) + QByteArray(1, char(protocol));
        out += char(l >> 8) + QByteArray(1, char(l)) + char(unit);
        return out + pdu;
    }

    void read(QTcpSocket *socket)
    {
        buffer += socket->readAll();
        while (buffer.size() >= 12) {
            const QByteArray request = buffer.left(12);
            buffer.remove(0, 12);
            const int tid = quint8(request[0]) << 8 | quint8(request[1]);
            const int unit = quint8(request[6]);
            const int function = quint8(request[7]);
            const int address = quint8(request[8]) << 8 | quint8(request[9]);
            const int count = quint8(request[10]) << 8 | quint8(request[11]);
            QByteArray data;
            for (int i = 0; i < count; ++i)
                data += char((address + i) >> 8) + QByteArray(1, char(address + i));
            const QByteArray good = QByteArray(1, char(function)) + char(data.size()) + data;
            const auto exception = [&](int code) { return QByteArray(1, char(function | 0x80)) + char(code); };
            QByteArray reply;
            switch (faults.value(unit)) {
            case Fault::None:
                reply = frame(tid, 0, unit, good);
                break;
            case Fault::ShortReply:
                reply = frame(tid, 0, unit, QByteArray(1, char(function)) + char(data.size() - 2) + data.left(data.size() - 2));
                break;
            case Fault::LyingCount:
                reply = frame(tid, 0, unit, QByteArray(1, char(function)) + char(data.size() + 2) + data);
                break;
            case Fault::OtherFunction:
                reply = frame(tid, 0, unit, QByteArray(1, char(modbus::ReadCoils)) + good.mid(1));
                break;
            case Fault::OtherTransaction:
                reply = frame(tid + 1, 0, unit, good);
                break;
            case Fault::OtherUnit:
                reply = frame(tid, 0, unit + 1, good);
                break;
            case Fault::OtherProtocol:
                reply = frame(tid, 1, unit, good);
                break;
            case Fault::Silent:
                break;
            case Fault::CloseAfterThree:
                if (++answered > 3) {
                    socket->disconnectFromHost();
                    return;
                }
                reply = frame(tid, 0, unit, good);
                break;
            case Fault::DeviceException:
                reply = frame(tid, 0, unit, exception(modbus::IllegalDataAddress));
                break;
            case Fault::GatewayException:
                reply = frame(tid, 0, unit, exception(modbus::GatewayTargetNoResponse));
                break;
            case Fault::BadLength:
                reply = frame(tid, 0, unit, good, 0);
                break;
            case Fault::LateFirst:
                // The first request's reply goes out just before the second's.
                if (held.isEmpty() && ++answered == 1) {
                    held = frame(tid, 0, unit, good);
                    continue;
                }
                reply = held + frame(tid, 0, unit, good);
                held.clear();
                break;
            }
            socket->write(reply);
        }
    }

    QTcpServer server;
    const QMap<int, Fault> faults;
    QByteArray buffer;
    QByteArray held;
    int answered = 0;
};

// Runs a check to its end in this event loop.
bool runToEnd(ModbusCheck &check)
{
    QSignalSpy finished(&check, &ModbusCheck::finished);
    check.start();
    return finished.wait(30000);
}

QVector<quint16> addresses(int from, int count)
{
    QVector<quint16> out;
    for (int i = 0; i < count; ++i)
        out << quint16(from + i);
    return out;
}

} // namespace

class tst_ModbusCheck : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void lateReplyIsNoAnswer();
    void anyUnitServer_data();
    void anyUnitServer();
};

void tst_ModbusCheck::replies_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("mismatch");
    QTest::addColumn<int>("replies");     // the round trips with a reply
    QTest::addColumn<bool>("valuesKept"); // the read's values are its registers' addresses
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("closedByGateway");

    const auto row = [](const char *name, Fault fault, int repeat, Outcome outcome, What what, int replies,
                        bool kept, int status, bool closed) {
        QTest::newRow(name) << int(fault) << repeat << int(outcome) << int(what) << replies << kept << status
                            << closed;
    };
    row("answered", Fault::None, 1, Outcome::Data, What::None, 1, true, ModbusCheck::AllAnswered, false);
    row("one register short", Fault::ShortReply, 1, Outcome::Invalid, What::ByteCount, 0, false,
        ModbusCheck::Unproven, false);
    row("byte count lies", Fault::LyingCount, 1, Outcome::Invalid, What::ByteCount, 0, false, ModbusCheck::Unproven,
        false);
    row("another function", Fault::OtherFunction, 1, Outcome::Invalid, What::Function, 0, false,
        ModbusCheck::Unproven, false);
    row("another transaction", Fault::OtherTransaction, 1, Outcome::Invalid, What::Transaction, 0, false,
        ModbusCheck::Unproven, false);
    row("another unit", Fault::OtherUnit, 1, Outcome::Invalid, What::Unit, 0, false, ModbusCheck::Unproven, false);
    row("protocol id 1", Fault::OtherProtocol, 1, Outcome::Invalid, What::Protocol, 0, false, ModbusCheck::Unproven,
        false);
    row("silence", Fault::Silent, 1, Outcome::Timeout, What::None, 0, false, ModbusCheck::Unproven, false);
    // Three answers, then the close: the values and the three kept.
    row("closed after three", Fault::CloseAfterThree, 4, Outcome::Closed, What::None, 3, true, ModbusCheck::Unproven,
        true);
    row("device's exception", Fault::DeviceException, 1, Outcome::Exception, What::None, 1, false,
        ModbusCheck::DeviceRefused, false);
    row("gateway's exception", Fault::GatewayException, 1, Outcome::Exception, What::None, 1, false,
        ModbusCheck::Unproven, false);
    // Nothing after such a header can be framed: the check closes, not the gateway.
    row("no frame has that length", Fault::BadLength, 1, Outcome::Invalid, What::Framing, 0, false,
        ModbusCheck::Unproven, false);
}

void tst_ModbusCheck::replies()
{
    QFETCH(int, fault);
    QFETCH(int, repeat);
    QFETCH(int, outcome);
    QFETCH(int, mismatch);
    QFETCH(int, replies);
    QFETCH(bool, valuesKept);
    QFETCH(int, status);
    QFETCH(bool, closedByGateway);

    const int unit = 17;
    OddServer server({{unit, Fault(fault)}});
    checkargs::Read read;
    read.unit = unit;
    read.address = 40;
    read.count = 2;
    ModbusCheck check(QStringLiteral("127.0.0.1"), server.port(), {read}, 500, repeat);
    QVERIFY(runToEnd(check));
    const ModbusCheck::Answer &a = check.result().answers.first();
    QCOMPARE(int(a.outcome), outcome);
    QCOMPARE(int(a.mismatch.what), mismatch);
    QCOMPARE(int(a.ms.size()), replies);
    QCOMPARE(a.values, valuesKept ? addresses(40, 2) : QVector<quint16>());
    QCOMPARE(int(check.status()), status);
    QCOMPARE(check.result().closedByGateway, closedByGateway);
    // A malformed reply is said as such, never as the gateway's doing.
    const QJsonObject doc = checkreport::json(check, ModuleValues());
    const QJsonObject r = doc.value(QStringLiteral("requests")).toArray().first().toObject();
    QCOMPARE(r.value(QStringLiteral("error")).toString() == QLatin1String("invalid-reply"),
             outcome == int(Outcome::Invalid));
    QCOMPARE(r.value(QStringLiteral("values")).isArray(), valuesKept);
    QCOMPARE(checkreport::rowResult(check) == QLatin1String("invalid-reply"), outcome == int(Outcome::Invalid));
}

// A reply that comes after its request was given up answers nothing: the
// read after it gets its own reply, not that one.
void tst_ModbusCheck::lateReplyIsNoAnswer()
{
    OddServer server({{1, Fault::LateFirst}});
    checkargs::Read first;
    first.address = 0;
    checkargs::Read second;
    second.address = 100;
    ModbusCheck check(QStringLiteral("127.0.0.1"), server.port(), {first, second}, 300);
    QVERIFY(runToEnd(check));
    QCOMPARE(check.result().answers[0].outcome, Outcome::Timeout);
    QCOMPARE(check.result().answers[1].outcome, Outcome::Data);
    QCOMPARE(check.result().answers[1].values, addresses(100, 1));
}

void tst_ModbusCheck::anyUnitServer_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("read");
    QTest::newRow("125 holding registers") << 1 << "hr:0:125";
    QTest::newRow("125 input registers at the top") << 247 << "ir:65411:125";
    QTest::newRow("2000 coils") << 200 << "coil:0:2000";
    QTest::newRow("2000 discrete inputs") << 9 << "di:7:2000";
    QTest::newRow("1017 coils") << 5 << "coil:1:1017";
}

// serve's server answers every unit, and the check reads every count the
// help allows from it: 125 registers, 2000 bits (a byte count above 127).
void tst_ModbusCheck::anyUnitServer()
{
    QFETCH(int, unit);
    QFETCH(QString, read);
    AnyUnitServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    checkargs::Read r;
    QString fault;
    QVERIFY2(checkargs::parseRead(read, unit, &r, &fault), qPrintable(fault));
    ModbusCheck check(QStringLiteral("127.0.0.1"), server.serverPort(), {r}, 3000);
    QVERIFY(runToEnd(check));
    QCOMPARE(check.status(), ModbusCheck::AllAnswered);
    const ModbusCheck::Answer &a = check.result().answers.first();
    QCOMPARE(int(a.values.size()), r.count);
    for (int i = 0; i < r.count; ++i)
        QCOMPARE(a.values[i], registermap::defaultValue(r.kind, r.address + i));
}

QTEST_GUILESS_MAIN(tst_ModbusCheck)
#include "tst_modbuscheck.moc"
