// What gateway-cli takes in before anything is sent: KEY=VALUE items, each
// value against its parameter's rule and the change line it makes, batch
// plans (CSV as spreadsheets write it, and every fault of a plan with its
// line and column), and its commands and their options, as its manual page
// gives them.
#include <QtTest>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

#include "commands.h"
#include "files.h"
#include "netrules.h"
#include "options.h"
#include "plan.h"
#include "protocoltables.h"
#include "report.h"
#include "valueargs.h"

class tst_CliInput : public QObject
{
    Q_OBJECT

private slots:
    void items_data();
    void items();
    void netRules_data();
    void netRules();
    void numbering_data();
    void numbering();
    void csvRecords_data();
    void csvRecords();
    void planFaults_data();
    void planFaults();
    void planValues();
    void planDialects_data();
    void planDialects();
    void reportDialect_data();
    void reportDialect();
    void manualPage_data();
    void manualPage();
};

void tst_CliInput::items_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("line"); // the change line, or empty when refused
    QTest::addColumn<QString>("fault");   // part of the fault's line

    QTest::newRow("ip") << "ip=10.0.0.1" << QByteArray("CHANGE IP:10.0.0.1") << "";
    QTest::newRow("ip octet too big") << "ip=10.0.0.256" << QByteArray() << "must be an IPv4 address";
    QTest::newRow("ip leading zero") << "ip=10.0.0.01" << QByteArray() << "no leading zeros in its number 4 (\"01\")";
    QTest::newRow("ip three parts") << "ip=10.0.1" << QByteArray() << "IPv4";
    QTest::newRow("ip trailing dot") << "ip=10.0.0.1." << QByteArray() << "IPv4";
    QTest::newRow("ip blank") << "ip=10.0.0.1 " << QByteArray() << "IPv4";
    QTest::newRow("ip empty") << "ip=" << QByteArray() << "IPv4";
    QTest::newRow("ip wide digits") << QString::fromUtf8("ip=１0.0.0.1") << QByteArray() << "IPv4";
    QTest::newRow("mask") << "mask=255.255.255.0" << QByteArray("CHANGE MASK:255.255.255.0") << "";
    QTest::newRow("server address") << "ip_server_tcp=10.0.0.9" << QByteArray("CHANGE IP SERVER TCP:10.0.0.9") << "";
    QTest::newRow("port 502") << "port_tcp=502" << QByteArray("CHANGE PORT TCP:502") << "";
    QTest::newRow("port 503") << "port_tcp=503" << QByteArray() << "502 or a number 10000-65535";
    QTest::newRow("port 10000") << "port_tcp=10000" << QByteArray("CHANGE PORT TCP:10000") << "";
    QTest::newRow("port 65536") << "port_tcp=65536" << QByteArray() << "10000-65535";
    QTest::newRow("port signed") << "port_tcp=+10000" << QByteArray() << "\"+\" is no digit 0-9; must be 502 or";
    QTest::newRow("response 99") << "timeout_response=99" << QByteArray() << "100-60000";
    QTest::newRow("response 60000") << "timeout_response=60000" << QByteArray("change timeout response:60000") << "";
    QTest::newRow("tcp time-out 241") << "timeout_tcp=241" << QByteArray() << "5-240";
    QTest::newRow("rtu id 0") << "rtu_virtual_id=0" << QByteArray() << "1-247";
    QTest::newRow("rtu id with a leading zero") << "rtu_virtual_id=0100" << QByteArray()
                                                << "rtu_virtual_id=\"0100\": no leading zeros; must be a number 1-247";
    // A byte of an argument that was no UTF-8 (console::arguments()) is shown
    // as the byte it was.
    QTest::newRow("a byte that is no text") << QStringLiteral("mask=255.255.255.") + QChar(0xdcff) << QByteArray()
                                            << "mask=\"255.255.255.\\xff\": \"\\xff\" is no digit";
    QTest::newRow("rtu id 247") << "rtu_virtual_id=247" << QByteArray("change rtu virtual id:247") << "";
    QTest::newRow("slave id off") << "tcp_slave_id=off" << QByteArray("change tcp slave id:off") << "";
    QTest::newRow("slave id OFF") << "tcp_slave_id=OFF" << QByteArray("change tcp slave id:off") << "";
    QTest::newRow("slave id 255") << "tcp_slave_id=255" << QByteArray("change tcp slave id:255") << "";
    QTest::newRow("slave id 256") << "tcp_slave_id=256" << QByteArray() << "1-255 or off";
    // Choices are given as the module replies them, in any case, and sent as
    // it takes them.
    QTest::newRow("mode client") << "mode=client" << QByteArray("CHANGE MODE TCP:CLIENT") << "";
    QTest::newRow("mode Server") << "mode=Server" << QByteArray("CHANGE MODE TCP:SERVER") << "";
    QTest::newRow("mode clients") << "mode=clients" << QByteArray() << "one of server, client";
    QTest::newRow("parity even") << "parity=even" << QByteArray("CHANGE PARITY:even") << "";
    QTest::newRow("parity None") << "parity=None" << QByteArray("CHANGE PARITY:none") << "";
    QTest::newRow("parity digit") << "parity=2" << QByteArray() << "one of none, odd, even";
    QTest::newRow("speed") << "speed=115200" << QByteArray("CHANGE SPEED RS485:115200") << "";
    QTest::newRow("speed unknown") << "speed=115201" << QByteArray() << "one of 1200";
    QTest::newRow("stop bits") << "stop_bits=2" << QByteArray("CHANGE STOP BIT:2") << "";
    QTest::newRow("read only") << "version=3.0" << QByteArray() << "is read only";
    QTest::newRow("no such key") << "colour=red" << QByteArray() << "colour: no such key";
    QTest::newRow("key in capitals") << "IP=10.0.0.1" << QByteArray("CHANGE IP:10.0.0.1") << "";
    QTest::newRow("no value") << "ip" << QByteArray() << "not KEY=VALUE";
    QTest::newRow("no key") << "=10.0.0.1" << QByteArray() << "not KEY=VALUE";
    QTest::newRow("second equals sign") << "ip=10.0.0.1=2" << QByteArray() << "IPv4";
}

void tst_CliInput::items()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, line);
    QFETCH(QString, fault);
    ModuleValues values;
    QStringList faults;
    const bool taken = valueargs::takeItems({item}, false, values, &faults);
    QCOMPARE(taken, !line.isEmpty());
    if (!taken) {
        QCOMPARE(faults.size(), 1);
        QVERIFY2(faults[0].contains(fault), qPrintable(faults[0]));
        QVERIFY(values.isEmpty());
        return;
    }
    QVERIFY(faults.isEmpty());
    QCOMPARE(values.params().size(), 1);
    QCOMPARE(proto::changeLineFor(values.params()[0], values.value(values.params()[0])), line);
}

// The network's rules: a value wrong on its own refused when it is taken,
// the rules that tie ip, mask and gateway together judged on the values
// given together; --force sends everything unchecked.
void tst_CliInput::netRules_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("force");
    QTest::addColumn<QStringList>("faults"); // each part of a fault's line, a fault each

    const auto row = [](const char *name, const QStringList &items, const QStringList &faults, bool force = false) {
        QTest::newRow(name) << items << force << faults;
    };
    row("a host of a /24", {"ip=192.168.0.20", "mask=255.255.255.0", "gateway=192.168.0.1"}, {});
    row("no gateway", {"ip=192.168.0.20", "mask=255.255.255.0", "gateway=0.0.0.0"}, {});
    row("this network", {"ip=0.0.0.0"}, {"ip=\"0.0.0.0\": 0.0.0.0 is in 0.0.0.0/8"});
    row("broadcast of every network", {"ip=255.255.255.255"}, {"255.255.255.255 is the broadcast address of every"});
    row("loopback", {"ip=127.0.0.1"}, {"127.0.0.0/8"});
    row("multicast", {"ip=224.0.0.1"}, {"multicast"});
    row("mask /0", {"mask=0.0.0.0"}, {"the mask /0"});
    row("mask with holes", {"mask=255.0.255.0"}, {"255.0.255.0 has holes"});
    row("mask /31", {"mask=255.255.255.254"}, {"/31 leaves no address"});
    row("mask /31 forced", {"mask=255.255.255.254"}, {}, true);
    row("mask /30", {"mask=255.255.255.252"}, {});
    row("a forced address", {"ip=0.0.0.0"}, {}, true);
    row("server on loopback", {"ip_server_tcp=127.0.0.1"}, {"ip_server_tcp=\"127.0.0.1\""});
    row("network address", {"ip=192.168.0.0", "mask=255.255.255.0"}, {"the network address of 192.168.0.0/24"});
    row("broadcast address", {"ip=192.168.0.255", "mask=255.255.255.0"}, {"the broadcast address of 192.168.0.0/24"});
    row("the same address under a /23", {"ip=192.168.0.255", "mask=255.255.254.0"}, {});
    row("gateway outside", {"ip=192.168.0.20", "mask=255.255.255.0", "gateway=192.168.1.1"},
        {"gateway=192.168.1.1: outside the module's subnet 192.168.0.0/24"});
    row("gateway is ip", {"ip=192.168.0.20", "mask=255.255.255.0", "gateway=192.168.0.20"}, {"the module's own address"});
    row("gateway is the broadcast", {"ip=192.168.0.20", "mask=255.255.255.0", "gateway=192.168.0.255"},
        {"gateway=192.168.0.255: the broadcast address"});
    // Without the mask the subnet is the module's: judged once it is read.
    row("ip alone", {"ip=192.168.0.255"}, {});
}

void tst_CliInput::netRules()
{
    QFETCH(QStringList, items);
    QFETCH(bool, force);
    QFETCH(QStringList, faults);
    ModuleValues values;
    QStringList got;
    if (valueargs::takeItems(items, force, values, &got) && !force)
        got << NetRules::jointFaults(values);
    const QString all = got.join(QLatin1Char('\n'));
    QCOMPARE(got.size(), faults.size());
    for (const QString &f : faults)
        QVERIFY2(all.contains(f), qPrintable(f + QStringLiteral("\n not in:\n") + all));
    // Where the rules cannot judge without the module's values, the write
    // reads those first.
    if (faults.isEmpty() && !force && items == QStringList{QStringLiteral("ip=192.168.0.255")})
        QCOMPARE(NetRules::neededToJudge(values), (QList<proto::Param>{proto::Param::Mask, proto::Param::Gateway}));
}

// plan --ip-from: the addresses of the rows stay inside the subnet, past
// its network and broadcast addresses and the gateway.
void tst_CliInput::numbering_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("addresses"); // fewer than count: they do not fit

    QTest::newRow("in order") << "192.168.0.11" << "255.255.255.0" << "0.0.0.0" << 3
                              << QStringList{"192.168.0.11", "192.168.0.12", "192.168.0.13"};
    QTest::newRow("the gateway left out") << "192.168.0.1" << "255.255.255.0" << "192.168.0.2" << 3
                                          << QStringList{"192.168.0.1", "192.168.0.3", "192.168.0.4"};
    QTest::newRow("the broadcast address ends a /24") << "192.168.0.254" << "255.255.255.0" << "0.0.0.0" << 4
                                                      << QStringList{"192.168.0.254"};
    QTest::newRow("a /23 goes on past .255") << "192.168.0.254" << "255.255.254.0" << "0.0.0.0" << 3
                                             << QStringList{"192.168.0.254", "192.168.0.255", "192.168.1.0"};
    QTest::newRow("the last host of all") << "223.255.255.253" << "255.255.255.252" << "0.0.0.0" << 2
                                          << QStringList{"223.255.255.253", "223.255.255.254"};
}

void tst_CliInput::numbering()
{
    QFETCH(QString, first);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(int, count);
    QFETCH(QStringList, addresses);
    quint32 a = 0, m = 0, g = 0;
    QVERIFY(NetRules::parse(first, &a) && NetRules::parse(mask, &m) && NetRules::parse(gateway, &g));
    QStringList got;
    for (const quint32 address : NetRules::hostsFrom(a, m, g, count))
        got << NetRules::format(address);
    QCOMPARE(got, addresses);
}

void tst_CliInput::csvRecords_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("records"); // line: fields joined with |
    QTest::addColumn<QString>("fault");

    QTest::newRow("commas") << QByteArray("port,ip\nCOM3,10.0.0.1\n") << ","
                            << QStringList{"1:port|ip", "2:COM3|10.0.0.1"} << "";
    QTest::newRow("semicolons, BOM, CR LF") << QByteArray("\xef\xbb\xbfport;ip\r\nCOM3;10.0.0.1\r\n") << ";"
                                            << QStringList{"1:port|ip", "2:COM3|10.0.0.1"} << "";
    QTest::newRow("quotes") << QByteArray("port,file\n\"C:\\Users\\\xd0\x98\xd0\xbd\xd0\xb6,\"\"x\"\".TRset\",\"a\nb\"\nCOM4,\n")
                            << "," << QStringList{"1:port|file", QString::fromUtf8("2:C:\\Users\\Инж,\"x\".TRset|a\nb"), "4:COM4|"}
                            << "";
    QTest::newRow("blank lines and CR only") << QByteArray("port\r\r\nCOM3\r\n \r") << ","
                                             << QStringList{"1:port", "3:COM3"} << "";
    QTest::newRow("a comma inside the header's quotes") << QByteArray("\"a,b\";c\nx;y\n") << ";"
                                                        << QStringList{"1:a,b|c", "2:x|y"} << "";
    QTest::newRow("no line end at the end") << QByteArray("port\nCOM3") << "," << QStringList{"1:port", "2:COM3"} << "";
    QTest::newRow("quote never closed") << QByteArray("port\n\"COM3\n") << "," << QStringList() << "line 2: a quote";
    QTest::newRow("text after a quote") << QByteArray("port\n\"COM3\"x\n") << "," << QStringList() << "line 2: text after";
    // Bytes that are no UTF-8 are Windows-1251's ("Порт").
    QTest::newRow("Windows-1251") << QByteArray("port\n\xcf\xee\xf0\xf2\n") << "," << QStringList{"1:port", QString::fromUtf8("2:Порт")}
                                  << "";
    QTest::newRow("tabs") << QByteArray("port\tip\nCOM3\t10.0.0.1\n") << "\t" << QStringList{"1:port|ip", "2:COM3|10.0.0.1"} << "";
    // A spreadsheet saves an empty row as its separators.
    QTest::newRow("a row of separators only") << QByteArray("port;ip\n;\n;;;\nCOM3;10.0.0.1\n") << ";"
                                              << QStringList{"1:port|ip", "4:COM3|10.0.0.1"} << "";
}

void tst_CliInput::csvRecords()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, separator);
    QFETCH(QStringList, records);
    QFETCH(QString, fault);
    const csv::Table table = csv::read(text);
    if (!fault.isEmpty()) {
        QVERIFY2(QStringLiteral("line %1: %2").arg(table.faultLine).arg(table.fault).startsWith(fault),
                 qPrintable(table.fault));
        return;
    }
    QVERIFY2(table.fault.isEmpty(), qPrintable(table.fault));
    QCOMPARE(QString(table.separator), separator);
    QStringList got;
    for (const csv::Record &r : table.records)
        got << QStringLiteral("%1:%2").arg(r.line).arg(r.fields.join(QLatin1Char('|')));
    QCOMPARE(got, records);
    // Written back field by field and read again, every record is the same.
    QString again;
    for (const csv::Record &r : table.records) {
        QStringList fields;
        for (const QString &f : r.fields)
            fields << csv::field(f);
        again += fields.join(table.separator) + QLatin1Char('\n');
    }
    const csv::Table reread = csv::read(again.toUtf8());
    QCOMPARE(reread.records.size(), table.records.size());
    for (int i = 0; i < reread.records.size(); ++i)
        QCOMPARE(reread.records[i].fields, table.records[i].fields);
}

void tst_CliInput::planFaults_data()
{
    QTest::addColumn<QByteArray>("plan");
    QTest::addColumn<QStringList>("faults"); // each part of a fault's line
    QTest::addColumn<int>("count");          // how many faults

    QTest::newRow("good") << QByteArray("port,ip\nCOM3,10.0.0.1\nCOM4,10.0.0.2\n") << QStringList() << 0;
    QTest::newRow("unknown column") << QByteArray("port,ip,colour\nCOM3,10.0.0.1,red\n")
                                    << QStringList{"line 1, column 3 (colour): no such column"} << 1;
    QTest::newRow("neither port nor mac") << QByteArray("port,mac,ip\n,,10.0.0.1\n")
                                          << QStringList{"line 2: neither a port nor a mac"} << 1;
    QTest::newRow("no port column") << QByteArray("file,ip\na.TRset,10.0.0.1\n")
                                    << QStringList{"line 1: neither a port nor a mac column",
                                                   "line 2: neither a port nor a mac",
                                                   "line 2, column 1 (file):"} << 3;
    QTest::newRow("bad value") << QByteArray("port;rtu_virtual_id\nCOM3;248\n")
                               << QStringList{"line 2, column 2 (rtu_virtual_id): rtu_virtual_id=\"248\": must be a number 1-247"} << 1;
    QTest::newRow("same ip twice") << QByteArray("port,ip\nCOM3,10.0.0.1\nCOM4,10.0.0.2\nCOM5,10.0.0.1\n")
                                   << QStringList{"line 4, column 2 (ip): 10.0.0.1 is the IP address of line 2 as well"} << 1;
    QTest::newRow("same port twice") << QByteArray("port,ip\nCOM3,10.0.0.1\nCOM3,10.0.0.2\n")
                                     << QStringList{"line 3, column 1 (port): COM3 is the port of line 2 as well"} << 1;
    // Whether or not the device is there: a relative and an absolute path;
    // on Windows a port's two spellings.
#ifdef Q_OS_WIN
    QTest::newRow("one device under two names") << QByteArray("port,ip\nCOM3,10.0.0.1\n\\\\.\\com3,10.0.0.2\n")
                                                << QStringList{"line 3, column 1 (port): \\\\.\\com3 and COM3 of line 2 are one "
                                                               "device"}
                                                << 1;
#else
    const QByteArray here = QDir::currentPath().toUtf8();
    QTest::newRow("one device under two names") << "port,ip\n./no-such-tty,10.0.0.1\n" + here + "/no-such-tty,10.0.0.2\n"
                                                << QStringList{"line 3, column 1 (port): " + here
                                                               + "/no-such-tty and ./no-such-tty of line 2 are one device"}
                                                << 1;
#endif
    QTest::newRow("an address that cannot work") << QByteArray("port,ip,mask\nCOM3,10.0.0.255,255.255.255.0\n")
                                                 << QStringList{"line 2: ip=10.0.0.255: the broadcast address of 10.0.0.0/24"}
                                                 << 1;
    QTest::newRow("same mac twice") << QByteArray("mac,ip\n02:00:00:00:00:0a,10.0.0.1\n02-00-00-00-00-0A,10.0.0.2\n")
                                    << QStringList{"line 3, column 1 (mac): 02-00-00-00-00-0A is the MAC address of line 2 as well"} << 1;
    QTest::newRow("no mac") << QByteArray("mac,ip\n02:00:00:00:00,10.0.0.1\n")
                            << QStringList{"line 2, column 1 (mac): \"02:00:00:00:00\" is no MAC address"} << 1;
    QTest::newRow("missing file") << QByteArray("port,file\nCOM3,nowhere.TRset\n")
                                  << QStringList{"line 2, column 2 (file): ", "nowhere.TRset: no such file"} << 1;
    QTest::newRow("nothing to write") << QByteArray("port,ip\nCOM3,\n") << QStringList{"line 2: nothing to write"} << 1;
    QTest::newRow("more fields than columns") << QByteArray("port,ip\nCOM3,10.0.0.1,x\n")
                                              << QStringList{"line 2: 3 fields, the header has 2"} << 1;
    QTest::newRow("header only") << QByteArray("port,ip\n") << QStringList{"line 1: no module after the header"} << 1;
    QTest::newRow("read-only column") << QByteArray("port,mac,version\nCOM3,,2.0\n")
                                      << QStringList{"line 1, column 3 (version): no such column",
                                                     "line 2: nothing to write"} << 2;
    QTest::newRow("checks") << QByteArray("port,ip,check,via\nCOM3,10.0.0.1,1:hr:0:2  2:ir:0:1,127.0.0.1:10502\n")
                            << QStringList() << 0;
    QTest::newRow("bad checks") << QByteArray("port,ip,check\nCOM3,10.0.0.1,0:hr:0:2 1:hr:0:1 1:reg:0\n")
                                << QStringList{"line 2, column 3 (check): \"0:hr:0:2\": unit \"0\"",
                                               "line 2, column 3 (check): \"1:reg:0\": \"reg:0\": KIND \"reg\""}
                                << 2;
    QTest::newRow("check of a client") << QByteArray("port,mode,check,via\nCOM3,client,1:hr:0:2,\nCOM4,server,,127.0.0.1:x\n")
                                       << QStringList{"line 2, column 3 (check): the module will be in TCP client mode",
                                                      "line 3, column 3 (check): \"127.0.0.1:x\": PORT \"x\"",
                                                      "line 3, column 3 (check): a via without a check"}
                                       << 3;
}

void tst_CliInput::planFaults()
{
    QFETCH(QByteArray, plan);
    QFETCH(QStringList, faults);
    QFETCH(int, count);
    QTemporaryDir dir;
    const plan::Plan read = plan::read(plan, dir.path(), false);
    const QString all = read.faults.join(QLatin1Char('\n'));
    for (const QString &f : faults)
        QVERIFY2(all.contains(f), qPrintable(f + QStringLiteral("\n not in:\n") + all));
    if (faults.isEmpty())
        QVERIFY2(read.faults.isEmpty(), qPrintable(all));
    // One line for each fault, none twice.
    QCOMPARE(read.faults.size(), count);
}

// A template's values with the cells over them; an empty cell leaves the
// template's value.
void tst_CliInput::planValues()
{
    QTemporaryDir dir;
    QVERIFY(support::writeFile(dir.filePath(QStringLiteral("t.TRset")),
                               "[General]\nIP_ADRESS=10.0.0.9\nSPEED_RS485=8\n[Client_TCP]\nRTU_VIRTUAL_ID=4\n"));
    const plan::Plan read = plan::read("port;file;ip;rtu_virtual_id\nCOM3;t.TRset;10.0.0.1;\nCOM4;t.TRset;;9\n",
                                       dir.path(), false);
    QVERIFY2(read.faults.isEmpty(), qPrintable(read.faults.join(QLatin1Char('\n'))));
    QCOMPARE(read.rows.size(), 2);
    const ModuleValues &a = read.rows[0].values, &b = read.rows[1].values;
    QCOMPARE(a.params(), (QList<proto::Param>{proto::Param::Ip, proto::Param::Speed, proto::Param::RtuVirtualId}));
    QCOMPARE(a.value(proto::Param::Ip), QStringLiteral("10.0.0.1"));
    QCOMPARE(a.value(proto::Param::RtuVirtualId), QStringLiteral("4"));
    QCOMPARE(b.value(proto::Param::Ip), QStringLiteral("10.0.0.9"));
    QCOMPARE(b.value(proto::Param::RtuVirtualId), QStringLiteral("9"));
    QCOMPARE(b.value(proto::Param::Speed), QStringLiteral("115200"));
    QCOMPARE(read.rows[1].line, 3);
}

namespace {

// Text as Windows-1251 writes it: ASCII, and А to я.
QByteArray windows1251(const QString &text)
{
    QByteArray out;
    for (const QChar c : text)
        out += c.unicode() >= 0x410 && c.unicode() <= 0x44f ? char(0xc0 + (c.unicode() - 0x410)) : char(c.unicode());
    return out;
}

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray out = bigEndian ? QByteArray("\xfe\xff") : QByteArray("\xff\xfe");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xff);
        out += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1} : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return out;
}

} // namespace

// One plan as spreadsheets in this field save it: each reads to the same
// rows, and says how it was written.
void tst_CliInput::planDialects_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("encoding"); // TextBytes::Encoding

    const QString plan = QString::fromUtf8("port,file,ip\r\nCOM3,шаблон.TRset,10.0.0.21\r\nCOM4,шаблон.TRset,10.0.0.22\r\n");
    QString semicolons = plan;
    semicolons.replace(QLatin1Char(','), QLatin1Char(';'));
    QString tabs = plan;
    tabs.replace(QLatin1Char(','), QLatin1Char('\t'));
    // As a Russian-locale spreadsheet saves "CSV": empty cells at the
    // header's end and an empty row.
    QString spreadsheet = semicolons;
    spreadsheet.replace(QStringLiteral("\r\n"), QStringLiteral(";;\r\n"));
    spreadsheet.insert(spreadsheet.indexOf(QStringLiteral("COM4")), QStringLiteral(";;;;\r\n"));
    using E = TextBytes::Encoding;
    QTest::newRow("UTF-8, commas") << plan.toUtf8() << "," << int(E::Utf8);
    QTest::newRow("UTF-8 with a byte order mark, semicolons") << "\xef\xbb\xbf" + semicolons.toUtf8() << ";"
                                                              << int(E::Utf8Bom);
    QTest::newRow("Windows-1251, semicolons, as a spreadsheet saves it") << windows1251(spreadsheet) << ";"
                                                                         << int(E::Windows1251);
    QTest::newRow("UTF-16 LE, tabs") << utf16(tabs, false) << "\t" << int(E::Utf16Le);
    QTest::newRow("UTF-16 BE, tabs") << utf16(tabs, true) << "\t" << int(E::Utf16Be);
}

void tst_CliInput::planDialects()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, separator);
    QFETCH(int, encoding);
    QTemporaryDir dir;
    QVERIFY(support::writeFile(dir.filePath(QString::fromUtf8("шаблон.TRset")), "[General]\nMASK=255.0.0.0\n"));
    const plan::Plan read = plan::read(bytes, dir.path(), false);
    QVERIFY2(read.faults.isEmpty(), qPrintable(read.faults.join(QLatin1Char('\n'))));
    QCOMPARE(QString(read.separator), separator);
    QCOMPARE(int(read.encoding), encoding);
    QStringList rows;
    for (const plan::Row &r : read.rows)
        rows << QStringLiteral("%1 %2 %3").arg(r.port, r.values.value(proto::Param::Ip), r.values.value(proto::Param::Mask));
    QCOMPARE(rows, (QStringList{"COM3 10.0.0.21 255.0.0.0", "COM4 10.0.0.22 255.0.0.0"}));
}

// The report as its plan was written, or as --report-format says; UTF-8
// always, its lines ending with CR LF; read back, the same cells.
void tst_CliInput::reportDialect_data()
{
    QTest::addColumn<QString>("planSeparator");
    QTest::addColumn<int>("planEncoding");
    QTest::addColumn<QString>("format"); // --report-format, or empty
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("bom");

    using E = TextBytes::Encoding;
    QTest::newRow("UTF-8 commas") << "," << int(E::Utf8) << "" << "," << false;
    QTest::newRow("UTF-8 with a byte order mark") << ";" << int(E::Utf8Bom) << "" << ";" << true;
    QTest::newRow("Windows-1251 semicolons") << ";" << int(E::Windows1251) << "" << ";" << true;
    QTest::newRow("UTF-16 tabs") << "\t" << int(E::Utf16Le) << "" << "\t" << true;
    QTest::newRow("excel asked for") << "," << int(E::Utf8) << "excel" << ";" << true;
    QTest::newRow("csv asked for") << ";" << int(E::Windows1251) << "csv" << "," << false;
}

void tst_CliInput::reportDialect()
{
    QFETCH(QString, planSeparator);
    QFETCH(int, planEncoding);
    QFETCH(QString, format);
    QFETCH(QString, separator);
    QFETCH(bool, bom);
    const report::Dialect dialect = format == QLatin1String("excel") ? report::excelDialect()
        : format == QLatin1String("csv")                             ? report::csvDialect()
                                                                     : report::dialectOf(planSeparator[0], TextBytes::Encoding(planEncoding));
    report::Row row;
    row.line = 2;
    row.port = QString::fromUtf8("COM3; порт");
    row.outcome = Commissioning::Outcome::Interrupted;
    row.written = {proto::Param::Ip, proto::Param::Mask};
    row.asked.set(proto::Param::Ip, QStringLiteral("10.0.0.21"));
    row.before.set(proto::Param::Ip, QStringLiteral("192.168.0.1"));
    const QByteArray bytes = report::csv({row}, {QStringLiteral("plan.csv"), QStringLiteral("gateway-cli 2.0.1"), QStringLiteral("pc")},
                                         dialect)
                                 .toUtf8();
    QCOMPARE(bytes.startsWith("\xef\xbb\xbf"), bom);
    QVERIFY(bytes.startsWith(QByteArray(bom ? "\xef\xbb\xbf" : "") + "line" + separator.toUtf8() + "port"));
    QCOMPARE(bytes.count("\r\n"), 2);
    const csv::Table table = csv::read(bytes);
    QCOMPARE(QString(table.separator), separator);
    QCOMPARE(table.records.size(), 2);
    QCOMPARE(table.records[0].fields, report::columns());
    QMap<QString, QString> cells;
    for (int i = 0; i < table.records[0].fields.size(); ++i)
        cells.insert(table.records[0].fields[i], table.records[1].fields.value(i));
    QCOMPARE(cells.value(QStringLiteral("port")), row.port);
    QCOMPARE(cells.value(QStringLiteral("result")), QStringLiteral("interrupted"));
    QCOMPARE(cells.value(QStringLiteral("written")), QStringLiteral("ip mask"));
    QCOMPARE(cells.value(QStringLiteral("ip_asked")), QStringLiteral("10.0.0.21"));
    QCOMPARE(cells.value(QStringLiteral("ip_before")), QStringLiteral("192.168.0.1"));
    QCOMPARE(cells.value(QStringLiteral("plan")), QStringLiteral("plan.csv"));
}

// The manual page is written by hand: it must name the commands of the
// table, in its order, each with the options it takes under every name
// they have (-o and --output), in its synopsis and in its entry, and the
// options of every command. (The page is built into this test, so that it
// runs under Wine as well.) The table's own synopsis lines name no option
// their command does not take.
void tst_CliInput::manualPage_data()
{
    QTest::addColumn<QString>("page");
    // The headings of its synopsis, its commands and its options.
    QTest::addColumn<QString>("synopsisHeading");
    QTest::addColumn<QString>("commandsHeading");
    QTest::addColumn<QString>("optionsHeading");
    QTest::newRow("English") << QStringLiteral(":/manual/gateway-cli.1") << QStringLiteral("SYNOPSIS")
                             << QStringLiteral("COMMANDS") << QStringLiteral("OPTIONS");
    QTest::newRow("Russian") << QStringLiteral(":/manual/gateway-cli.ru.1") << QStringLiteral("ОБЗОР")
                             << QStringLiteral("КОМАНДЫ") << QStringLiteral("ОПЦИИ");
}

void tst_CliInput::manualPage()
{
    QFETCH(QString, page);
    QFETCH(QString, synopsisHeading);
    QFETCH(QString, commandsHeading);
    QFETCH(QString, optionsHeading);
    QFile file(page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const auto section = [&text](const QString &name) {
        const int from = text.indexOf(QStringLiteral("\n.SH %1\n").arg(name));
        const int to = text.indexOf(QStringLiteral("\n.SH "), from + 1);
        return from < 0 ? QString() : text.mid(from, to - from);
    };
    // An option as the page writes it: \-\-name, \-\-two\-words or \-o
    // (a font change such as \fR may follow it directly).
    const QRegularExpression optionName(QStringLiteral(R"(\\-(?:\\-)?([a-z]+(?:\\-[a-z]+)*))"));
    const auto optionsIn = [&optionName](const QString &part) {
        QSet<QString> names;
        for (auto m = optionName.globalMatch(part); m.hasNext();)
            names << m.next().captured(1).remove(QStringLiteral("\\"));
        return names;
    };
    const auto namesOf = [](const QList<QCommandLineOption> &options) {
        QSet<QString> names;
        for (const QCommandLineOption &o : options)
            for (const QString &name : o.names())
                names << name;
        return names;
    };
    const auto sorted = [](const QSet<QString> &names) {
        QStringList list = names.values();
        list.sort();
        return list.join(QLatin1Char(' '));
    };
    const QSet<QString> common = namesOf(cli::commonOptions());

    // The synopsis: a paragraph a command, each starting with its name.
    QStringList named;
    QMap<QString, QSet<QString>> synopsis;
    for (const QString &part : section(synopsisHeading).split(QStringLiteral(".B gateway-cli ")).mid(1)) {
        const QString name = part.section(QLatin1Char('\n'), 0, 0).trimmed();
        named << name;
        synopsis[name] = optionsIn(part.section(QLatin1Char('\n'), 1)) - common;
    }
    // The commands: an entry a command, from its ".TP .B name" to the next
    // command's.
    const QString commands = section(commandsHeading);
    QList<int> starts;
    QMap<int, QString> entryOf;
    for (const cli::Command *c : cli::commands()) {
        const QString name = QLatin1String(c->name);
        const QRegularExpression head(QStringLiteral("\n\\.TP\n\\.B %1[ \n]").arg(QRegularExpression::escape(name)));
        const int at = int(commands.indexOf(head));
        QVERIFY2(at >= 0, qPrintable(name + QStringLiteral(": no entry among the commands")));
        starts << at;
        entryOf.insert(at, name);
    }
    std::sort(starts.begin(), starts.end());
    QMap<QString, QString> entries;
    for (int i = 0; i < starts.size(); ++i)
        entries.insert(entryOf.value(starts[i]),
                       commands.mid(starts[i], i + 1 < starts.size() ? starts[i + 1] - starts[i] : -1));

    // The options a synopsis line of the table names: -o, --name.
    const QRegularExpression tableOption(QStringLiteral(R"((?:^|[\s\[|])--?([a-z]+(?:-[a-z]+)*))"));
    QStringList table;
    for (const cli::Command *c : cli::commands()) {
        const QString name = QLatin1String(c->name);
        table << name;
        const QSet<QString> own = namesOf(c->options());
        QVERIFY2(synopsis.value(name) == own, qPrintable(QStringLiteral("%1: the page's synopsis %2, the table %3")
                                                             .arg(name, sorted(synopsis.value(name)), sorted(own))));
        const QSet<QString> described = optionsIn(entries.value(name));
        QVERIFY2(described.contains(own), qPrintable(QStringLiteral("%1: its entry on the page lacks %2")
                                                         .arg(name, sorted(own - described))));
        for (auto m = tableOption.globalMatch(QLatin1String(c->synopsis)); m.hasNext();) {
            const QString option = m.next().captured(1);
            QVERIFY2(own.contains(option) || common.contains(option),
                     qPrintable(QStringLiteral("%1: its synopsis names --%2, which it does not take").arg(name, option)));
        }
    }
    QCOMPARE(named, table);
    // Every option of every command, described once.
    const QSet<QString> described = optionsIn(section(optionsHeading));
    QVERIFY2(described.contains(common), qPrintable(sorted(common - described)));
}

QTEST_MAIN(tst_CliInput)
#include "tst_cliinput.moc"
