// Unit tests of the simulated module's logic (sim/gatewaymodule.*), without
// a terminal: replies, value checks, options, actions and persistence.
#include "expected.h"
#include "gatewaymodule.h"
#include "lines.h"
#include "protocoltables.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


using proto::Param;
using Action = GatewayModule::Action;

Q_DECLARE_METATYPE(proto::Param)
Q_DECLARE_METATYPE(GatewayModule::Action)

namespace {

QByteArray bytes(const std::string &s) { return QByteArray(s.data(), int(s.size())); }

// The configurator's own reading of a query reply.
QString cut(const proto::Parameter &q, const std::string &reply)
{
    return proto::cutValue(proto::cleanReply(bytes(reply)), q);
}

std::string changeLine(Param p, const std::string &value) { return std::string(proto::parameter(p).change) + value; }

// Factory values of the module.
QString factory(Param p) { return support::factoryValue(proto::parameter(p).query); }

} // namespace

class TestGatewayModule : public QObject
{
    Q_OBJECT

private slots:
    void queries_data();
    void queries();
    void separatorOption();
    void changes_data();
    void changes();
    void emptyValueRefused_data();
    void emptyValueRefused();
    void choiceWords_data();
    void choiceWords();
    void valuesFitCuts_data();
    void valuesFitCuts();
    void ackOption();
    void refuseOption_data();
    void refuseOption();
    void refuseKeys_data();
    void refuseKeys();
    void actions_data();
    void actions();
    void factoryReset();
    void unknownLines_data();
    void unknownLines();
    void persistence();
    void persistenceIgnoresJunk();
};

void TestGatewayModule::queries_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < proto::ParamCount; ++i)
        QTest::newRow(proto::parameters[i].query) << i;
}

void TestGatewayModule::queries()
{
    QFETCH(int, row);
    const proto::Parameter &q = proto::parameters[row];
    GatewayModule m;
    const GatewayModule::Result r = m.handle(q.query);
    QCOMPARE(r.kind, GatewayModule::LineKind::Query);
    QCOMPARE(r.action, Action::None);
    const QString value = factory(q.param);
    QCOMPARE(bytes(r.reply), QByteArray(q.query) + ' ' + value.toLatin1() + "\r\n");
    QCOMPARE(cut(q, r.reply), value);
    QVERIFY(value.size() <= q.length);
}

void TestGatewayModule::separatorOption()
{
    GatewayModule::Options o;
    o.separator = '\t';
    GatewayModule m(o);
    for (const proto::Parameter &q : proto::parameters) {
        const std::string reply = m.handle(q.query).reply;
        QCOMPARE(bytes(reply), QByteArray(q.query) + '\t' + factory(q.param).toLatin1() + "\r\n");
        QCOMPARE(cut(q, reply), factory(q.param));
    }
}

void TestGatewayModule::changes_data()
{
    QTest::addColumn<Param>("param");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stored"); // the query's value afterwards

    struct Row {
        Param p;
        const char *v;
        bool ok;
        const char *stored; // nullptr: the value itself
    };
    const Row rows[] = {
        // IPv4 syntax, for the four address parameters.
        {Param::Ip, "192.168.0.10", true, nullptr},
        {Param::Ip, "0.0.0.0", true, nullptr},
        {Param::Ip, "255.255.255.255", true, nullptr},
        {Param::Ip, "1.2.3", false, nullptr},
        {Param::Ip, "1.2.3.4.5", false, nullptr},
        {Param::Ip, "256.1.1.1", false, nullptr},
        {Param::Ip, "1.2.3.256", false, nullptr},
        {Param::Ip, "1.2.3.4 ", false, nullptr},
        {Param::Ip, " 1.2.3.4", false, nullptr},
        {Param::Ip, "1.2.3.4\r\n", false, nullptr},
        {Param::Ip, "1.2.3.", false, nullptr},
        {Param::Ip, "1..3.4", false, nullptr},
        {Param::Ip, "a.b.c.d", false, nullptr},
        {Param::Ip, "-1.2.3.4", false, nullptr},
        {Param::Ip, "01.2.3.4", false, nullptr},
        {Param::Ip, "1.2.3.4x", false, nullptr},
        {Param::Mask, "255.255.0.0", true, nullptr},
        {Param::Mask, "255.255.255", false, nullptr},
        {Param::Gateway, "10.0.0.1", true, nullptr},
        {Param::Gateway, "10.0.0.300", false, nullptr},
        {Param::IpServerTcp, "172.16.1.2", true, nullptr},
        {Param::IpServerTcp, "172.16.1.2.", false, nullptr},
        // TCP port: 502 or 10000-65535.
        {Param::PortTcp, "501", false, nullptr},
        {Param::PortTcp, "502", true, nullptr},
        {Param::PortTcp, "503", false, nullptr},
        {Param::PortTcp, "9999", false, nullptr},
        {Param::PortTcp, "10000", true, nullptr},
        {Param::PortTcp, "65535", true, nullptr},
        {Param::PortTcp, "65536", false, nullptr},
        {Param::PortTcp, "0502", false, nullptr},
        {Param::PortTcp, "+502", false, nullptr},
        {Param::PortTcp, "502 ", false, nullptr},
        {Param::PortTcp, "abc", false, nullptr},
        // Response time-out: 100-60000.
        {Param::TimeoutResponse, "99", false, nullptr},
        {Param::TimeoutResponse, "100", true, nullptr},
        {Param::TimeoutResponse, "60000", true, nullptr},
        {Param::TimeoutResponse, "60001", false, nullptr},
        {Param::TimeoutResponse, "-100", false, nullptr},
        {Param::TimeoutResponse, "99999999999999999999", false, nullptr},
        // TCP time-out: 5-240.
        {Param::TimeoutTcp, "4", false, nullptr},
        {Param::TimeoutTcp, "5", true, nullptr},
        {Param::TimeoutTcp, "240", true, nullptr},
        {Param::TimeoutTcp, "241", false, nullptr},
        // RTU address: 1-247.
        {Param::RtuVirtualId, "0", false, nullptr},
        {Param::RtuVirtualId, "1", true, nullptr},
        {Param::RtuVirtualId, "247", true, nullptr},
        {Param::RtuVirtualId, "248", false, nullptr},
        {Param::RtuVirtualId, "off", false, nullptr},
        // TCP server address: 1-255 or "off".
        {Param::TcpSlaveId, "0", false, nullptr},
        {Param::TcpSlaveId, "1", true, nullptr},
        {Param::TcpSlaveId, "17", true, nullptr},
        {Param::TcpSlaveId, "255", true, nullptr},
        {Param::TcpSlaveId, "256", false, nullptr},
        {Param::TcpSlaveId, "off", true, nullptr},
        {Param::TcpSlaveId, "OFF", false, nullptr},
        {Param::TcpSlaveId, "off ", false, nullptr},
        // Choice words: written forms, stored and replied as reply words.
        {Param::Mode, "SERVER", true, "server"},
        {Param::Mode, "CLIENT", true, "client"},
        {Param::Mode, "client", false, nullptr},
        {Param::Mode, "Server", false, nullptr},
        {Param::Parity, "none", true, "none"},
        {Param::Parity, "odd", true, "odd"},
        {Param::Parity, "even", true, "even"},
        {Param::Parity, "0", true, "none"},
        {Param::Parity, "1", true, "odd"},
        {Param::Parity, "2", true, "even"},
        {Param::Parity, "3", false, nullptr},
        {Param::Parity, "NONE", false, nullptr},
        {Param::Speed, "1200", true, nullptr},
        {Param::Speed, "115200", true, nullptr},
        {Param::Speed, "256000", true, nullptr},
        {Param::Speed, "9601", false, nullptr},
        {Param::Speed, "9600 ", false, nullptr},
        {Param::StopBits, "1", true, nullptr},
        {Param::StopBits, "2", true, nullptr},
        {Param::StopBits, "0", false, nullptr},
        {Param::StopBits, "1.5", false, nullptr},
    };
    for (const Row &r : rows) {
        const QByteArray name = QByteArray(proto::parameter(r.p).change) + QByteArray(r.v).toPercentEncoding(" .:+-");
        QTest::newRow(name.constData()) << r.p << QString::fromLatin1(r.v) << r.ok
                                        << QString::fromLatin1(r.stored ? r.stored : r.v);
    }
}

void TestGatewayModule::changes()
{
    QFETCH(Param, param);
    QFETCH(QString, value);
    QFETCH(bool, accepted);
    QFETCH(QString, stored);

    GatewayModule m;
    const GatewayModule::Result r = m.handle(changeLine(param, value.toStdString()));
    QCOMPARE(r.kind, GatewayModule::LineKind::Change);
    QCOMPARE(r.change, &proto::parameter(param));
    QCOMPARE(r.accepted, accepted);
    QCOMPARE(r.action, Action::None);
    // Acknowledgement: the bare word, no line end.
    QCOMPARE(bytes(r.reply), QByteArray(accepted ? proto::AckOk : proto::AckRefused));

    // The query now reports the new value (or still the factory one).
    const proto::Parameter *q = &proto::parameter(param);
    const std::string reply = m.handle(q->query).reply;
    const QString now = accepted ? stored : factory(param);
    QCOMPARE(bytes(reply), QByteArray(q->query) + ' ' + now.toLatin1() + "\r\n");
    QCOMPARE(QString::fromStdString(m.value(param)), now);
}

void TestGatewayModule::emptyValueRefused_data()
{
    QTest::addColumn<int>("row");
    for (Param p : proto::universalWrite)
        QTest::newRow(proto::parameter(p).change) << int(p);
}

void TestGatewayModule::emptyValueRefused()
{
    QFETCH(int, row);
    GatewayModule m;
    const proto::Parameter &changed = proto::parameters[row];
    const GatewayModule::Result r = m.handle(changed.change);
    QCOMPARE(r.kind, GatewayModule::LineKind::Change);
    QVERIFY(!r.accepted);
    QCOMPARE(bytes(r.reply), QByteArray(proto::AckRefused));
    QCOMPARE(QString::fromStdString(m.value(changed.param)), factory(changed.param));
}

void TestGatewayModule::choiceWords_data()
{
    QTest::addColumn<Param>("param");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("index");
    for (Param p : {Param::Mode, Param::Parity, Param::Speed, Param::StopBits}) {
        for (proto::ChoiceList l : {proto::universalWriteChoices(p), proto::variantWriteChoices(p)}) {
            for (std::size_t i = 0; i < l.count; ++i) {
                const QByteArray name = QByteArray(proto::parameter(p).change) + l.words[i].word;
                QTest::newRow(name.constData()) << p << QString::fromLatin1(l.words[i].word) << l.words[i].index;
            }
        }
    }
}

void TestGatewayModule::choiceWords()
{
    QFETCH(Param, param);
    QFETCH(QString, word);
    QFETCH(int, index);
    GatewayModule m;
    QVERIFY(m.handle(changeLine(param, word.toStdString())).accepted);
    // The configurator's choice table maps the replied word back to the
    // written index.
    const proto::Parameter *q = &proto::parameter(param);
    const QString replied = cut(*q, m.handle(q->query).reply);
    const proto::ChoiceList reply = proto::replyChoices(param);
    int found = -1;
    for (std::size_t i = 0; i < reply.count && found < 0; ++i)
        if (replied == QLatin1String(reply.words[i].word))
            found = reply.words[i].index;
    QCOMPARE(found, index);
}

void TestGatewayModule::valuesFitCuts_data()
{
    QTest::addColumn<Param>("param");
    QTest::addColumn<QString>("value");
    QTest::newRow("ip longest") << Param::Ip << "255.255.255.255";
    QTest::newRow("mask longest") << Param::Mask << "255.255.255.255";
    QTest::newRow("gateway longest") << Param::Gateway << "255.255.255.255";
    QTest::newRow("server ip longest") << Param::IpServerTcp << "255.255.255.255";
    QTest::newRow("port longest") << Param::PortTcp << "65535";
    QTest::newRow("speed longest") << Param::Speed << "256000";
    QTest::newRow("tcp time-out longest") << Param::TimeoutTcp << "240";
    QTest::newRow("rtu id longest") << Param::RtuVirtualId << "247";
    QTest::newRow("slave id longest") << Param::TcpSlaveId << "255";
    QTest::newRow("mode client") << Param::Mode << "CLIENT";
    QTest::newRow("parity even") << Param::Parity << "even";
    QTest::newRow("stop bits 2") << Param::StopBits << "2";
    QTest::newRow("response time-out 9999") << Param::TimeoutResponse << "9999";
    QTest::newRow("response time-out 60000") << Param::TimeoutResponse << "60000";
}

void TestGatewayModule::valuesFitCuts()
{
    QFETCH(Param, param);
    QFETCH(QString, value);
    GatewayModule m;
    QVERIFY(m.handle(changeLine(param, value.toStdString())).accepted);
    const proto::Parameter *q = &proto::parameter(param);
    const std::string stored = m.value(param);
    QCOMPARE(cut(*q, m.handle(q->query).reply), QString::fromStdString(stored));
}

void TestGatewayModule::ackOption()
{
    GatewayModule::Options o;
    o.ack = "OK";
    GatewayModule m(o);
    QCOMPARE(bytes(m.handle(changeLine(Param::Ip, "10.1.1.1")).reply), QByteArray("OK"));
    QCOMPARE(bytes(m.handle(changeLine(Param::Ip, "10.1.1")).reply), QByteArray(proto::AckRefused));
    QCOMPARE(m.value(Param::Ip), std::string("10.1.1.1"));
}

void TestGatewayModule::refuseOption_data()
{
    QTest::addColumn<Param>("param");
    QTest::addColumn<QString>("goodValue");
    QTest::newRow("ip") << Param::Ip << "10.0.0.2";
    QTest::newRow("port") << Param::PortTcp << "10000";
    QTest::newRow("mode") << Param::Mode << "CLIENT";
    QTest::newRow("slave id") << Param::TcpSlaveId << "5";
}

void TestGatewayModule::refuseOption()
{
    QFETCH(Param, param);
    QFETCH(QString, goodValue);
    GatewayModule::Options o;
    o.refused.insert(param);
    GatewayModule m(o);
    const GatewayModule::Result r = m.handle(changeLine(param, goodValue.toStdString()));
    QVERIFY(!r.accepted);
    QCOMPARE(bytes(r.reply), QByteArray(proto::AckRefused));
    QCOMPARE(QString::fromStdString(m.value(param)), factory(param));
    // Other changes are still taken.
    const Param other = param == Param::Mask ? Param::Gateway : Param::Mask;
    QCOMPARE(bytes(m.handle(changeLine(other, "255.0.0.0")).reply), QByteArray(proto::AckOk));
}

void TestGatewayModule::refuseKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<Param>("param");
    QTest::newRow("prefix") << QString(proto::parameter(Param::Ip).change) << true << Param::Ip;
    QTest::newRow("prefix lower") << QString(proto::parameter(Param::RtuVirtualId).change) << true
                                  << Param::RtuVirtualId;
    QTest::newRow("prefix without colon") << "CHANGE PORT TCP" << true << Param::PortTcp;
    QTest::newRow("key") << "port_tcp" << true << Param::PortTcp;
    QTest::newRow("key upper") << "TCP_SLAVE_ID" << true << Param::TcpSlaveId;
    QTest::newRow("read only") << "mac" << false << Param::Mac;
    QTest::newRow("unknown") << "nonsense" << false << Param::Mac;
}

void TestGatewayModule::refuseKeys()
{
    QFETCH(QString, key);
    QFETCH(bool, valid);
    QFETCH(Param, param);
    Param p = Param::Mac;
    QCOMPARE(GatewayModule::paramFromRefuseKey(key.toStdString(), &p), valid);
    if (valid)
        QCOMPARE(p, param);
}

void TestGatewayModule::actions_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Action>("action");
    QTest::newRow("reset") << QString(proto::RebootUniversal) << Action::Reboot;
    QTest::newRow("RESET") << QString(proto::Reboot) << Action::Reboot;
    QTest::newRow("factory") << QString(proto::FactoryReset) << Action::FactoryReset;
    QTest::newRow("Reset") << "Reset" << Action::None;
    QTest::newRow("reset+CR") << "reset\r" << Action::None;
}

void TestGatewayModule::actions()
{
    QFETCH(QString, line);
    QFETCH(Action, action);
    GatewayModule m;
    QVERIFY(m.handle(changeLine(Param::Ip, "10.9.8.7")).accepted);
    const GatewayModule::Result r = m.handle(line.toStdString());
    QCOMPARE(r.action, action);
    if (action == Action::None) {
        QCOMPARE(bytes(r.reply), QByteArray(proto::AckRefused));
        return;
    }
    QCOMPARE(r.kind, GatewayModule::LineKind::Action);
    QVERIFY(r.reply.empty()); // the tool awaits no reply
    QCOMPARE(m.value(Param::Ip), action == Action::Reboot ? std::string("10.9.8.7") : std::string("192.168.0.1"));
}

void TestGatewayModule::factoryReset()
{
    GatewayModule m;
    QVERIFY(m.handle(changeLine(Param::Mode, "CLIENT")).accepted);
    QVERIFY(m.handle(changeLine(Param::Parity, "2")).accepted);
    QVERIFY(m.handle(changeLine(Param::TcpSlaveId, "9")).accepted);
    QVERIFY(m.handle(changeLine(Param::PortTcp, "12345")).accepted);
    m.handle(proto::FactoryReset);
    for (int i = 0; i < proto::ParamCount; ++i)
        QCOMPARE(QString::fromStdString(m.value(Param(i))), factory(Param(i)));
}

void TestGatewayModule::unknownLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("word") << QByteArray("hello");
    QTest::newRow("query upper case") << QByteArray("IP");
    QTest::newRow("query trailing blank") << QByteArray("ip ");
    QTest::newRow("query with CRLF") << QByteArray("MAC\r\n");
    QTest::newRow("two queries") << QByteArray("ipMAC");
    QTest::newRow("change without colon") << QByteArray("CHANGE IP");
    QTest::newRow("change wrong case") << QByteArray("change ip:1.2.3.4");
    QTest::newRow("binary") << QByteArray("\xff\x00\x01", 3);
}

void TestGatewayModule::unknownLines()
{
    QFETCH(QByteArray, line);
    GatewayModule m;
    const GatewayModule::Result r = m.handle(line.toStdString());
    QCOMPARE(r.kind, GatewayModule::LineKind::Unknown);
    QCOMPARE(r.action, Action::None);
    QCOMPARE(bytes(r.reply), QByteArray(proto::AckRefused));
}

void TestGatewayModule::persistence()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    GatewayModule::Options o;
    o.statePath = dir.filePath("state").toStdString();
    {
        GatewayModule a(o);
        QVERIFY(!a.load()); // no file yet
        QVERIFY(a.handle(changeLine(Param::Ip, "10.20.30.40")).accepted);
        QVERIFY(a.handle(changeLine(Param::Mode, "CLIENT")).accepted);
        QVERIFY(a.handle(changeLine(Param::Parity, "1")).accepted);
        QVERIFY(a.handle(changeLine(Param::Speed, "115200")).accepted);
        QVERIFY(a.handle(changeLine(Param::TcpSlaveId, "200")).accepted);
        QVERIFY(!a.handle(changeLine(Param::PortTcp, "9999")).accepted);
    }
    QFile f(dir.filePath("state"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY2(text.contains("\nip=10.20.30.40\n"), text.constData());
    QVERIFY2(text.contains("\nmode=client\n"), text.constData());
    QVERIFY2(text.contains("\nport_tcp=502\n"), text.constData());
    // Atomic write leaves no temporary file behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"state"});

    GatewayModule b(o);
    QCOMPARE(b.value(Param::Ip), std::string("192.168.0.1")); // before load
    QVERIFY(b.load());
    QCOMPARE(b.value(Param::Ip), std::string("10.20.30.40"));
    QCOMPARE(b.value(Param::Mode), std::string("client"));
    QCOMPARE(b.value(Param::Parity), std::string("odd"));
    QCOMPARE(b.value(Param::Speed), std::string("115200"));
    QCOMPARE(b.value(Param::TcpSlaveId), std::string("200"));
    QCOMPARE(b.value(Param::PortTcp), std::string("502"));

    // A factory reset is persisted too.
    b.handle(proto::FactoryReset);
    GatewayModule c(o);
    QVERIFY(c.load());
    for (int i = 0; i < proto::ParamCount; ++i)
        QCOMPARE(QString::fromStdString(c.value(Param(i))), factory(Param(i)));
}

void TestGatewayModule::persistenceIgnoresJunk()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile f(dir.filePath("state"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("# comment\nip=1.2.3\nmask=255.0.0.0\nnonsense\nmac=11:22\nport_tcp=70000\nparity=2\n");
    f.close();
    GatewayModule::Options o;
    o.statePath = dir.filePath("state").toStdString();
    GatewayModule m(o);
    QVERIFY(m.load());
    QCOMPARE(m.value(Param::Ip), std::string("192.168.0.1"));
    QCOMPARE(m.value(Param::Mask), std::string("255.0.0.0"));
    QCOMPARE(m.value(Param::Mac), std::string("02:00:00:00:00:01"));
    QCOMPARE(m.value(Param::PortTcp), std::string("502"));
    QCOMPARE(m.value(Param::Parity), std::string("even"));
}

QTEST_GUILESS_MAIN(TestGatewayModule)
#include "tst_gatewaymodule.moc"
