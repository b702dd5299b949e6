// Command lines and reply cutting, checked against the module's texts
// written out here independently of the protocol tables.
#include <QtTest>

#include <algorithm>
#include <cstring>

#include "lines.h"
#include "protocoltables.h"

using namespace proto;

class tst_ProtocolLines : public QObject
{
    Q_OBJECT

private slots:
    void queryTable_data();
    void queryTable();
    void changeTable_data();
    void changeTable();
    void changeLines_data();
    void changeLines();
    void variantParityDigits();
    void cleanReply_data();
    void cleanReply();
    void cutValue_data();
    void cutValue();
    void matchChoice_data();
    void matchChoice();
    void sequenceSteps();
    void variantSequences();
    void lookups();
    void parameterOrders();
};

void tst_ProtocolLines::queryTable_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("length");
    const struct {
        const char *cmd;
        int pos, len;
    } rows[] = {{"MODE TCP", 9, 6},         {"version", 8, 10},      {"MAC", 4, 18},
                {"ip", 3, 15},              {"MASK", 5, 16},         {"GATEWAY", 8, 15},
                {"PORT TCP", 9, 6},         {"parity", 7, 4},        {"SPEED RS485", 12, 7},
                {"STOP BIT", 9, 3},         {"timeout response", 17, 5}, {"IP SERVER TCP", 14, 16},
                {"TIMEOUT TCP", 12, 5},     {"rtu virtual id", 15, 3}, {"tcp slave id", 13, 3}};
    int step = 1;
    for (auto &r : rows) {
        QTest::newRow(r.cmd) << step << QByteArray(r.cmd) << r.pos << r.len;
        ++step;
    }
}

void tst_ProtocolLines::queryTable()
{
    QFETCH(int, step);
    QFETCH(QByteArray, command);
    QFETCH(int, position);
    QFETCH(int, length);
    const Parameter *q = queryAt(universalScan, step);
    QVERIFY(q);
    QCOMPARE(QByteArray(q->query), command);
    QCOMPARE(valuePosition(*q), position);
    QCOMPARE(q->length, length);
}

void tst_ProtocolLines::changeTable_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<bool>("noLeadingBlank");
    const struct {
        const char *prefix;
        bool strict, b;
    } rows[] = {{"CHANGE MODE TCP:", true, false},         {"CHANGE IP:", true, false},
                {"CHANGE MASK:", true, false},             {"CHANGE GATEWAY:", true, false},
                {"CHANGE PORT TCP:", true, true},          {"CHANGE PARITY:", true, false},
                {"CHANGE SPEED RS485:", true, false},      {"CHANGE STOP BIT:", true, true},
                {"change timeout response:", false, false}, {"CHANGE IP SERVER TCP:", false, false},
                {"CHANGE TIMEOUT TCP:", false, false},     {"change rtu virtual id:", false, false},
                {"change tcp slave id:", false, false}};
    int step = 1;
    for (auto &r : rows) {
        QTest::newRow(r.prefix) << step << QByteArray(r.prefix) << r.strict << r.b;
        step += 2;
    }
}

void tst_ProtocolLines::changeTable()
{
    QFETCH(int, step);
    QFETCH(QByteArray, prefix);
    QFETCH(bool, strict);
    QFETCH(bool, noLeadingBlank);
    const Parameter *c = changeAt(universalWrite, step);
    QVERIFY(c);
    QCOMPARE(QByteArray(c->change), prefix);
    QCOMPARE(c->ack == Ack::OkOnly, strict);
    QCOMPARE(c->failText == FailText::NoLeadingBlank, noLeadingBlank);
    // The wait step after it judges the same change; the step itself sends
    // nothing.
    QCOMPARE(acknowledgedAt(universalWrite, step), c);
    QCOMPARE(acknowledgedAt(universalWrite, step + 1), c);
    QVERIFY(!changeAt(universalWrite, step + 1));
}

void tst_ProtocolLines::changeLines_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("off");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("mode server") << 1 << QString() << 1 << false << QByteArray("CHANGE MODE TCP:SERVER");
    QTest::newRow("mode client") << 1 << QString() << 2 << false << QByteArray("CHANGE MODE TCP:CLIENT");
    QTest::newRow("mode blank") << 1 << QString() << 0 << false << QByteArray("CHANGE MODE TCP:");
    QTest::newRow("ip") << 3 << "192.168.0.10" << -1 << false << QByteArray("CHANGE IP:192.168.0.10");
    QTest::newRow("empty mask") << 5 << "" << -1 << false << QByteArray("CHANGE MASK:");
    QTest::newRow("blanks kept") << 7 << " 10.0.0.1 " << -1 << false << QByteArray("CHANGE GATEWAY: 10.0.0.1 ");
    QTest::newRow("port out of range") << 9 << "80" << -1 << false << QByteArray("CHANGE PORT TCP:80");
    QTest::newRow("parity none") << 11 << QString() << 1 << false << QByteArray("CHANGE PARITY:none");
    QTest::newRow("parity odd") << 11 << QString() << 2 << false << QByteArray("CHANGE PARITY:odd");
    QTest::newRow("parity even") << 11 << QString() << 3 << false << QByteArray("CHANGE PARITY:even");
    QTest::newRow("parity blank") << 11 << QString() << 0 << false << QByteArray("CHANGE PARITY:");
    QTest::newRow("parity no entry") << 11 << QString() << -1 << false << QByteArray("CHANGE PARITY:");
    QTest::newRow("speed 9600") << 13 << QString() << 4 << false << QByteArray("CHANGE SPEED RS485:9600");
    QTest::newRow("speed 256000") << 13 << QString() << 10 << false << QByteArray("CHANGE SPEED RS485:256000");
    QTest::newRow("speed 1200") << 13 << QString() << 1 << false << QByteArray("CHANGE SPEED RS485:1200");
    QTest::newRow("speed beyond") << 13 << QString() << 11 << false << QByteArray("CHANGE SPEED RS485:");
    QTest::newRow("stop 2") << 15 << QString() << 2 << false << QByteArray("CHANGE STOP BIT:2");
    QTest::newRow("timeout") << 17 << "1000" << -1 << false << QByteArray("change timeout response:1000");
    QTest::newRow("server ip") << 19 << "192.168.0.10" << -1 << false
                               << QByteArray("CHANGE IP SERVER TCP:192.168.0.10");
    QTest::newRow("tcp timeout") << 21 << "180" << -1 << false << QByteArray("CHANGE TIMEOUT TCP:180");
    QTest::newRow("rtu id") << 23 << "1" << -1 << false << QByteArray("change rtu virtual id:1");
    QTest::newRow("slave id") << 25 << "17" << -1 << false << QByteArray("change tcp slave id:17");
    QTest::newRow("slave id off") << 25 << "5" << -1 << true << QByteArray("change tcp slave id:off");
    QTest::newRow("slave id empty") << 25 << "" << -1 << false << QByteArray("change tcp slave id:");
    QTest::newRow("latin-1 text") << 3 << QString::fromUtf8("é") << -1 << false << QByteArray("CHANGE IP:\xe9");
}

void tst_ProtocolLines::changeLines()
{
    QFETCH(int, step);
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(bool, off);
    QFETCH(QByteArray, line);
    const Parameter *c = changeAt(universalWrite, step);
    QVERIFY(c);
    const QByteArray built = changeLine(*c, universalWriteChoices(c->param), text, index, off);
    QCOMPARE(built, line);
    QVERIFY(!built.endsWith('\r') && !built.endsWith('\n'));
}

void tst_ProtocolLines::variantParityDigits()
{
    const Parameter *parity = &parameter(Param::Parity);
    QCOMPARE(changeLine(*parity, variantWriteChoices(Param::Parity), {}, 1, false), QByteArray("CHANGE PARITY:0"));
    QCOMPARE(changeLine(*parity, variantWriteChoices(Param::Parity), {}, 2, false), QByteArray("CHANGE PARITY:1"));
    QCOMPARE(changeLine(*parity, variantWriteChoices(Param::Parity), {}, 3, false), QByteArray("CHANGE PARITY:2"));
    QCOMPARE(changeLine(*parity, variantWriteChoices(Param::Parity), {}, 0, false), QByteArray("CHANGE PARITY:"));
    const Parameter *speed = &parameter(Param::Speed);
    QCOMPARE(changeLine(*speed, variantWriteChoices(Param::Speed), {}, 5, false),
             QByteArray("CHANGE SPEED RS485:19200"));
}

void tst_ProtocolLines::cleanReply_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("crlf") << QByteArray("ip 1.2.3.4\r\n") << "ip 1.2.3.4";
    QTest::newRow("cr and lf anywhere") << QByteArray("\r\nM\rA\nC\r\n") << "MAC";
    QTest::newRow("blanks stay") << QByteArray(" ok \r\n") << " ok ";
    QTest::newRow("line end only") << QByteArray("\r\n") << "";
    QTest::newRow("cut at zero") << QByteArray("ok\0garbage", 10) << "ok";
    QTest::newRow("zero first") << QByteArray("\0ok", 3) << "";
    QTest::newRow("utf-8") << QByteArray("version \xd0\xb2\x31") << QString::fromUtf8("version в1");
    QTest::newRow("invalid utf-8") << QByteArray("ok\xff") << QString::fromUtf8("ok\xef\xbf\xbd");
}

void tst_ProtocolLines::cleanReply()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(proto::cleanReply(bytes), text);
}

void tst_ProtocolLines::cutValue_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("value");
    QTest::newRow("ip") << 4 << "ip 192.168.0.10" << "192.168.0.10";
    QTest::newRow("ip, other separator") << 4 << "ip=192.168.0.10" << "192.168.0.10";
    QTest::newRow("port cut at six") << 7 << "PORT TCP 1234567" << "123456";
    QTest::newRow("nothing after separator") << 15 << "tcp slave id " << "";
    QTest::newRow("reply shorter than echo") << 9 << "SPEED" << "";
    QTest::newRow("speed with blank") << 9 << "SPEED RS485 9600 " << "9600 ";
    QTest::newRow("mac") << 3 << "MAC 02:00:00:00:00:01" << "02:00:00:00:00:01";
    QTest::newRow("mode") << 1 << "MODE TCP server" << "server";
    QTest::newRow("parity even") << 8 << "parity even" << "even";
    // The response time-out goes up to 60000: five digits.
    QTest::newRow("response time-out") << 11 << "timeout response 60000" << "60000";
    QTest::newRow("long version") << 2 << "version 2.0.1-rc12345" << "2.0.1-rc12";
}

void tst_ProtocolLines::cutValue()
{
    QFETCH(int, step);
    QFETCH(QString, reply);
    QFETCH(QString, value);
    QCOMPARE(proto::cutValue(reply, *queryAt(universalScan, step)), value);
}

void tst_ProtocolLines::matchChoice_data()
{
    QTest::addColumn<int>("param");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("index");
    QTest::newRow("server") << int(Param::Mode) << "server" << 1;
    QTest::newRow("client") << int(Param::Mode) << "client" << 2;
    QTest::newRow("SERVER is no reply word") << int(Param::Mode) << "SERVER" << -1;
    QTest::newRow("none") << int(Param::Parity) << "none" << 1;
    QTest::newRow("odd") << int(Param::Parity) << "odd" << 2;
    QTest::newRow("even") << int(Param::Parity) << "even" << 3;
    QTest::newRow("digit parity") << int(Param::Parity) << "0" << -1;
    QTest::newRow("9600") << int(Param::Speed) << "9600" << 4;
    QTest::newRow("9600 blank") << int(Param::Speed) << "9600 " << -1;
    QTest::newRow("1200") << int(Param::Speed) << "1200" << 1;
    QTest::newRow("256000") << int(Param::Speed) << "256000" << 10;
    QTest::newRow("300") << int(Param::Speed) << "300" << -1;
    QTest::newRow("stop 1") << int(Param::StopBits) << "1" << 1;
    QTest::newRow("stop 2") << int(Param::StopBits) << "2" << 2;
    QTest::newRow("stop 1.5") << int(Param::StopBits) << "1.5" << -1;
    QTest::newRow("empty") << int(Param::StopBits) << "" << -1;
}

void tst_ProtocolLines::matchChoice()
{
    QFETCH(int, param);
    QFETCH(QString, value);
    QFETCH(int, index);
    QCOMPARE(proto::matchChoice(value, replyChoices(Param(param))), index);
}

void tst_ProtocolLines::sequenceSteps()
{
    QVERIFY(!queryAt(universalScan, 0));
    QVERIFY(!queryAt(universalScan, 16));
    QCOMPARE(QByteArray(queryAt(universalScan, 15)->query), QByteArray("tcp slave id"));
    QVERIFY(!changeAt(universalWrite, 0));
    QVERIFY(!changeAt(universalWrite, 4));
    QVERIFY(!changeAt(universalWrite, 27));
    QVERIFY(!acknowledgedAt(universalWrite, 0));
    QVERIFY(!acknowledgedAt(universalWrite, 27));
    QCOMPARE(QByteArray(acknowledgedAt(universalWrite, 26)->change), QByteArray("change tcp slave id:"));
    // The named steps the sequences act on, derived from the orders.
    QCOMPARE(ScanCheckStep, 2);
    QCOMPARE(ScanAllEndStep, 16);
    QCOMPARE(WriteCheckStep, 4);
    QCOMPARE(WriteAllEndStep, 27);
    QCOMPARE(scanEndStep(variantScan(Variant::RtuTcp)), 11);
    QCOMPARE(scanEndStep(variantScan(Variant::TcpRtu)), 9);
    QCOMPARE(writeEndStep(variantWrite(Variant::RtuTcp)), 19);
    QCOMPARE(writeEndStep(variantWrite(Variant::TcpRtu)), 15);
    QCOMPARE(QByteArray(RebootUniversal), QByteArray("reset"));
    QCOMPARE(QByteArray(Reboot), QByteArray("RESET"));
    QCOMPARE(QByteArray(FactoryReset), QByteArray("LOAD SETTING:DEFAULT"));
}

void tst_ProtocolLines::variantSequences()
{
    auto commands = [](ParamList l, bool write) {
        QByteArrayList out;
        for (int i = 0; i < l.count; ++i)
            out << (write ? QByteArray(parameter(l[i]).change) : QByteArray(parameter(l[i]).query));
        return out;
    };
    QCOMPARE(commands(variantScan(Variant::RtuTcp), false),
             QByteArrayList({"MAC", "ip", "MASK", "GATEWAY", "PORT TCP", "parity", "SPEED RS485", "STOP BIT",
                             "IP SERVER TCP", "TIMEOUT TCP"}));
    QCOMPARE(commands(variantScan(Variant::TcpRtu), false),
             QByteArrayList({"MAC", "ip", "MASK", "GATEWAY", "PORT TCP", "parity", "SPEED RS485", "STOP BIT"}));
    QCOMPARE(commands(variantWrite(Variant::RtuTcp), true),
             QByteArrayList({"CHANGE IP:", "CHANGE MASK:", "CHANGE GATEWAY:", "CHANGE PORT TCP:", "CHANGE PARITY:",
                             "CHANGE SPEED RS485:", "CHANGE STOP BIT:", "CHANGE IP SERVER TCP:",
                             "CHANGE TIMEOUT TCP:"}));
    QCOMPARE(commands(variantWrite(Variant::TcpRtu), true),
             QByteArrayList({"CHANGE IP:", "CHANGE MASK:", "CHANGE GATEWAY:", "CHANGE PORT TCP:", "CHANGE PARITY:",
                             "CHANGE SPEED RS485:", "CHANGE STOP BIT:"}));
}

void tst_ProtocolLines::lookups()
{
    const char mask[] = "MASK";
    QCOMPARE(findQuery(mask, 4), &parameter(Param::Mask));
    QVERIFY(!findQuery("mask", 4));
    QVERIFY(!findQuery("MAS", 3));
    const char line[] = "CHANGE IP SERVER TCP:10.0.0.1";
    // The longer prefix wins over "CHANGE IP:" by its colon.
    QCOMPARE(findChange(line, std::strlen(line)), &parameter(Param::IpServerTcp));
    const char ip[] = "CHANGE IP:10.0.0.1";
    QCOMPARE(findChange(ip, std::strlen(ip)), &parameter(Param::Ip));
    QVERIFY(!findChange("CHANGE", 6));
}

// The window, the settings files and the simulator walk the orders: a
// parameter missing from one, or standing in it twice, would go unnoticed
// until that parameter is used.
void tst_ProtocolLines::parameterOrders()
{
    const auto params = [](ParamList order) {
        QList<int> out;
        for (Param p : order)
            out << int(p);
        return out;
    };
    const auto rowsWhere = [](auto has) {
        QList<int> out;
        for (const Parameter &row : parameters)
            if (has(row))
                out << int(row.param);
        return out;
    };
    const auto sorted = [](QList<int> l) {
        std::sort(l.begin(), l.end());
        return l;
    };
    // Every parameter is scanned, once, and in the table's order.
    QCOMPARE(params(universalScan), rowsWhere([](const Parameter &) { return true; }));
    // Each order holds exactly the rows it is about, each once.
    QCOMPARE(params(universalWrite), rowsWhere([](const Parameter &r) { return r.change != nullptr; }));
    QCOMPARE(sorted(params(listOf(order::file))), rowsWhere([](const Parameter &r) { return r.key != nullptr; }));
    QCOMPARE(sorted(params(listOf(order::highlight))),
             rowsWhere([](const Parameter &r) { return r.param != Param::Version; }));
    QCOMPARE(variantHighlights.count, 10);
    for (const Parameter &row : parameters) {
        QVERIFY2(row.factory, row.simName);
        // A list's factory value is one of its reply words.
        QCOMPARE(row.choices != nullptr, row.kind == Kind::Choice);
        if (row.choices)
            QVERIFY2(factoryIndex(row.param) > 0, row.simName);
    }
}

QTEST_APPLESS_MAIN(tst_ProtocolLines)
#include "tst_protocollines.moc"
