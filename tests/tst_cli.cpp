// gateway-cli against the simulated module, as a script runs it: the
// commands' exit status, their output, and what reached the module (the
// simulator's log).
#include <QtTest>

#include <QJsonArray>
#include <QTcpServer>
#include <QTemporaryDir>

#include "cliprocess.h"
#include "expected.h"
#include "files.h"
#include "modals.h"
#include "simprocess.h"
#include "window.h"

using namespace support;

namespace {

// The pace of these tests: the simulated module keeps up with it.
const QString fast = QStringLiteral("50");

// A settings file that holds the written value of every parameter, as the
// window's save writes it: the lists as their positions.
QByteArray writtenFile()
{
    QByteArray general = "[General]\n", client = "[Client_TCP]\n";
    const struct {
        const char *key;
        int param; // in params()
        bool inClient;
    } keys[] = {{"GATEWAY", 3, false},        {"IP_ADRESS", 1, false},   {"MASK", 2, false},
                {"MODE_TCP", 0, false},       {"PARITY", 5, false},      {"PORT_TCP", 4, false},
                {"SPEED_RS485", 6, false},    {"STOP_BIT", 7, false},    {"TIMEOUT_RESPONSE", 8, false},
                {"IP_SERVER_TCP", 9, true},   {"RTU_VIRTUAL_ID", 11, true}, {"TCP_SLAVE_ID", 12, true},
                {"TIMEOUT_TCP", 10, true}};
    for (const auto &k : keys) {
        const Param &p = params()[k.param];
        const QString value = p.choice ? QString::number(p.writtenIndex) : p.written;
        (k.inClient ? client : general) += QByteArray(k.key) + '=' + value.toLatin1() + '\n';
    }
    return general + '\n' + client;
}

// The environment of a system in a language: the test command's LC_ALL,
// which wins over LANG, and whatever else names a language removed; then
// `set` (NAME=VALUE each: LANG=ru_RU.UTF-8) added.
QProcessEnvironment environment(const QStringList &set)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "GATEWAY_LANG"})
        env.remove(QLatin1String(name));
    for (const QString &v : set)
        env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
    return env;
}

const QStringList russian{QStringLiteral("LANG=ru_RU.UTF-8")};
const QStringList english{QStringLiteral("LANG=C")};

// The commands the module received that change something, "reset" included.
QByteArrayList changesReceived(const SimProcess &sim)
{
    QByteArrayList out;
    for (const QByteArray &line : sim.received())
        if (!scanLines().contains(line))
            out << line;
    return out;
}

} // namespace

class tst_Cli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scanJson();
    void scanFileAsWindowSaves();
    void writeReadBack();
    void onlyChanged();
    void diff_data();
    void diff();
    void refusalStopsWrite();
    void moduleGone_data();
    void moduleGone();
    void badInputSendsNothing_data();
    void badInputSendsNothing();
    void rebootThenScan();
    void factoryResetThenFind();
    void oneDeviceUnderTwoNames();
    void find();
    void language_data();
    void language();
    void failuresInOwnWords_data();
    void failuresInOwnWords();
    void sameJson_data();
    void sameJson();

private:
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }
};

void tst_Cli::initTestCase()
{
    // The window's traces of its scan are not this test's.
    QLoggingCategory::setFilterRules(QStringLiteral("gateway.protocol.debug=false"));
}

void tst_Cli::scanJson()
{
    SimProcess sim;
    QVERIFY(sim.start());
    const CliRun run = runCli({QStringLiteral("scan"), sim.link, QStringLiteral("--json"), QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 0, run.err);
    const QJsonObject doc = run.json();
    QCOMPARE(doc.value(QStringLiteral("port")).toString(), sim.link);
    QCOMPARE(doc.value(QStringLiteral("result")).toString(), QStringLiteral("ok"));
    const QJsonObject values = doc.value(QStringLiteral("parameters")).toObject();
    QCOMPARE(values.size(), 15);
    QCOMPARE(values.value(QStringLiteral("version")).toString(), moduleVersion);
    QCOMPARE(values.value(QStringLiteral("mac")).toString(), moduleMac);
    for (const Param &p : params())
        QCOMPARE(values.value(QLatin1String(p.stateKey)).toString(), p.factory);
    // The window's fifteen queries, in its order, and nothing else.
    QCOMPARE(sim.received(), scanLines());
}

// scan -o writes the very bytes that the window's save writes after a scan
// of the same module.
void tst_Cli::scanFileAsWindowSaves()
{
    SimProcess sim;
    QVERIFY(writeState(sim.statePath, firstWritten(params().size())));
    QVERIFY(sim.start());
    const QString fromCli = file(QStringLiteral("cli.TRset"));
    const CliRun run = runCli({QStringLiteral("scan"), sim.link, QStringLiteral("-o"), fromCli,
                               QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 0, run.err);

    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, sim.link));
    // Each step once the module's reply to the last is in, however busy the machine.
    SequenceWatch scan(w, "scanAllTimer");
    scan.paceByReplies(50);
    QVERIFY(startScan(w, 50));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 60000);
    const QString fromWindow = file(QStringLiteral("window.TRset"));
    boxes.steps = {Modals::chooseFile(fromWindow)};
    QMetaObject::invokeMethod(&w, "on_action_save_triggered");
    QCOMPARE(boxes.count(), 1);

    const QByteArray saved = readFile(fromWindow);
    QVERIFY(saved.contains("IP_ADRESS=10.0.0.2"));
    QCOMPARE(readFile(fromCli), saved);
}

// A file with every value changed and one overridden: the window's change
// lines, "reset", and every value read back.
void tst_Cli::writeReadBack()
{
    SimProcess sim;
    QVERIFY(sim.start());
    const QString path = file(QStringLiteral("write.TRset"));
    QVERIFY(writeFile(path, writtenFile()));
    const CliRun run = runCli({QStringLiteral("write"), sim.link, path, QStringLiteral("--set"),
                               QStringLiteral("ip=10.9.8.7"), QStringLiteral("--json"), QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 0, run.err);
    const QJsonObject doc = run.json();
    QCOMPARE(doc.value(QStringLiteral("result")).toString(), QStringLiteral("ok"));
    QCOMPARE(doc.value(QStringLiteral("written")).toArray().size(), 13);
    QCOMPARE(doc.value(QStringLiteral("after")).toObject().value(QStringLiteral("ip")).toString(),
             QStringLiteral("10.9.8.7"));

    QByteArrayList expected = filledWriteLines();
    expected.replace(1, "CHANGE IP:10.9.8.7");
    QCOMPARE(changesReceived(sim), expected);
    // The module came back (asked for its MAC address until it answered)
    // and was read again, all of it.
    QVERIFY(sim.count(QStringLiteral("BACK")) >= 1);
    QByteArrayList after = sim.received().mid(sim.received().indexOf("reset") + 1);
    QVERIFY(after.size() > scanLines().size());
    QCOMPARE(after.mid(after.size() - scanLines().size()), scanLines());
    after.erase(after.end() - scanLines().size(), after.end());
    QCOMPARE(after.count("MAC"), after.size());
    QCOMPARE(sim.state().value(QStringLiteral("ip")), QStringLiteral("10.9.8.7"));
    QCOMPARE(sim.state().value(QStringLiteral("mode")), QStringLiteral("client"));
}

// --only-changed sends the change lines of the values that differ only, and
// nothing at all, not even a reboot, when none does.
void tst_Cli::onlyChanged()
{
    SimProcess sim;
    QVERIFY(writeState(sim.statePath, firstWritten(3)));
    QVERIFY(sim.start());
    const QString path = file(QStringLiteral("only.TRset"));
    QVERIFY(writeFile(path, writtenFile()));
    const QStringList args{QStringLiteral("write"), sim.link, path, QStringLiteral("--only-changed"),
                           QStringLiteral("--interval"), fast};
    CliRun run = runCli(args);
    QVERIFY2(run.status == 0, run.err);
    QCOMPARE(changesReceived(sim), filledWriteLines().mid(3));

    const int before = sim.received().size();
    run = runCli(args);
    QVERIFY2(run.status == 0, run.err);
    QCOMPARE(sim.received().mid(before), scanLines());
    QVERIFY(run.out.contains("nothing to write"));
}

void tst_Cli::diff_data()
{
    QTest::addColumn<int>("writtenInModule");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("differing");
    QTest::newRow("same") << 13 << QStringList() << 0 << QStringList();
    QTest::newRow("two differ") << 11 << QStringList() << 1
                                << QStringList{QStringLiteral("rtu_virtual_id"), QStringLiteral("tcp_slave_id")};
    QTest::newRow("silent module") << 13 << QStringList{QStringLiteral("--silent")} << 3 << QStringList();
}

void tst_Cli::diff()
{
    QFETCH(int, writtenInModule);
    QFETCH(QStringList, simOptions);
    QFETCH(int, status);
    QFETCH(QStringList, differing);
    SimProcess sim;
    QVERIFY(writeState(sim.statePath, firstWritten(writtenInModule)));
    QVERIFY(sim.start(simOptions));
    const QString path = file(QStringLiteral("diff.TRset"));
    QVERIFY(writeFile(path, writtenFile()));
    const CliRun run = runCli({QStringLiteral("diff"), sim.link, path, QStringLiteral("--json"),
                               QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == status, run.err);
    QCOMPARE(run.json().value(QStringLiteral("differences")).toObject().keys(), differing);
    QVERIFY(changesReceived(sim).isEmpty());
}

// A refusal stops the write at its key: nothing after it is sent, and the
// keys written before it are named.
void tst_Cli::refusalStopsWrite()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--refuse"), QStringLiteral("port_tcp")}));
    const QString path = file(QStringLiteral("refused.TRset"));
    QVERIFY(writeFile(path, writtenFile()));
    const CliRun run = runCli({QStringLiteral("write"), sim.link, path, QStringLiteral("--interval"), fast});
    QCOMPARE(run.status, 1);
    QCOMPARE(changesReceived(sim), filledWriteLines().mid(0, 5));
    QVERIFY2(run.err.contains("refused: port_tcp"), run.err);
    QVERIFY2(run.err.contains("written before that: mode, ip, mask, gateway"), run.err);
}

// No module where one was asked for, each way it can be: the result word,
// what reached the module, and what it took.
void tst_Cli::moduleGone_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QString>("port"); // in the test's folder; empty: the module's
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("written");
    // Silent: the first question goes unanswered, and nothing follows it.
    QTest::newRow("silent") << QStringList{QStringLiteral("--silent")} << QString() << QByteArrayList{"MAC"}
                            << QStringLiteral("silent") << QStringList();
    // Gone right after acknowledging the third change, while the write goes
    // on: the module took that change.
    QTest::newRow("vanishes") << QStringList{QStringLiteral("--vanish-after"), QStringLiteral("5"),
                                             QStringLiteral("--restart-delay"), QStringLiteral("2000")}
                              << QString() << QByteArrayList{"MAC", "version"} + filledWriteLines().mid(0, 3)
                              << QStringLiteral("lost") << QStringList{"mode", "ip", "mask"};
    QTest::newRow("garbage") << QStringList{QStringLiteral("--garbage")} << QString() << QByteArrayList{"MAC"}
                             << QStringLiteral("garbled") << QStringList();
    QTest::newRow("no such port") << QStringList() << QStringLiteral("no-such-port") << QByteArrayList()
                                  << QStringLiteral("no-port") << QStringList();
    QTest::newRow("a plain file") << QStringList() << QStringLiteral("gone.TRset") << QByteArrayList()
                                  << QStringLiteral("not-serial") << QStringList();
    QTest::newRow("a folder") << QStringList() << QStringLiteral(".") << QByteArrayList()
                              << QStringLiteral("not-serial") << QStringList();
}

void tst_Cli::moduleGone()
{
    QFETCH(QStringList, simOptions);
    QFETCH(QString, port);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, result);
    QFETCH(QStringList, written);
    SimProcess sim;
    QVERIFY(sim.start(simOptions));
    const QString path = file(QStringLiteral("gone.TRset"));
    QVERIFY(writeFile(path, writtenFile()));
    const CliRun run = runCli({QStringLiteral("write"), port.isEmpty() ? sim.link : file(port), path,
                               QStringLiteral("--json"), QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 3, run.err);
    QCOMPARE(run.json().value(QStringLiteral("result")).toString(), result);
    QCOMPARE(run.json().value(QStringLiteral("written")).toVariant().toStringList(), written);
    QCOMPARE(sim.received(), sent);
}

// Whatever is wrong with the input is named, line by line, and nothing is
// sent.
void tst_Cli::badInputSendsNothing_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("named");
    const auto set = [](const char *item) { return QStringList{QStringLiteral("--set"), QLatin1String(item)}; };
    QTest::newRow("values") << QStringList{QStringLiteral("write"), QStringLiteral("PORT")} + set("ip=10.0.0.300")
            + set("port_tcp=501") + set("colour=red") + set("speed") + set("mac=02:00:00:00:00:02")
                            << QStringList{QStringLiteral("ip=\"10.0.0.300\""), QStringLiteral("port_tcp=\"501\""),
                                           QStringLiteral("colour: no such key"), QStringLiteral("\"speed\": not KEY=VALUE"),
                                           QStringLiteral("mac=\"02:00:00:00:00:02\": is read only")};
    QTest::newRow("bad file") << QStringList{QStringLiteral("write"), QStringLiteral("PORT"), QStringLiteral("FILE")}
                              << QStringList{QStringLiteral("speed: the file's list position \"11\"")};
    QTest::newRow("nothing to write") << QStringList{QStringLiteral("write"), QStringLiteral("PORT")}
                                      << QStringList{QStringLiteral("nothing to write")};
    QTest::newRow("factory reset unasked") << QStringList{QStringLiteral("factory-reset"), QStringLiteral("PORT")}
                                           << QStringList{QStringLiteral("--yes")};
    QTest::newRow("bad interval") << QStringList{QStringLiteral("scan"), QStringLiteral("PORT"),
                                                 QStringLiteral("--interval"), QStringLiteral("fast")}
                                  << QStringList{QStringLiteral("--interval \"fast\"")};
    QTest::newRow("unknown command") << QStringList{QStringLiteral("flash"), QStringLiteral("PORT")}
                                     << QStringList{QStringLiteral("no command \"flash\"")};
    QTest::newRow("a key twice") << QStringList{QStringLiteral("write"), QStringLiteral("PORT")} + set("ip=10.0.0.5")
            + set("IP=10.0.0.6")
                                 << QStringList{QStringLiteral("IP: given twice with --set")};
    // Addresses that cannot work: wrong on their own, or together as given.
    QTest::newRow("addresses") << QStringList{QStringLiteral("write"), QStringLiteral("PORT")} + set("ip=0.0.0.0")
            + set("mask=255.0.255.0") + set("ip_server_tcp=127.0.0.1")
                               << QStringList{QStringLiteral("ip=\"0.0.0.0\""), QStringLiteral("mask=\"255.0.255.0\""),
                                              QStringLiteral("ip_server_tcp=\"127.0.0.1\"")};
    QTest::newRow("a gateway outside the subnet")
        << QStringList{QStringLiteral("write"), QStringLiteral("PORT")} + set("ip=10.0.0.5") + set("mask=255.255.255.0")
            + set("gateway=10.0.1.1")
        << QStringList{QStringLiteral("gateway=10.0.1.1: outside the module's subnet 10.0.0.0/24")};
    // The file to save proven writable before the scan: a folder that takes
    // no file whoever runs the test, root too; an existing file.
    QTest::newRow("scan -o in a folder that takes no file")
        << QStringList{QStringLiteral("scan"), QStringLiteral("PORT"), QStringLiteral("-o"), QStringLiteral("/proc/m.TRset")}
        << QStringList{QStringLiteral("/proc/m.TRset: no file can be made in /proc")};
    QTest::newRow("scan -o over a file") << QStringList{QStringLiteral("scan"), QStringLiteral("PORT"),
                                                        QStringLiteral("-o"), QStringLiteral("FILE")}
                                         << QStringList{QStringLiteral("the file exists (--overwrite replaces it)")};
}

void tst_Cli::badInputSendsNothing()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, named);
    SimProcess sim;
    QVERIFY(sim.start());
    const QString path = file(QStringLiteral("bad.TRset"));
    QVERIFY(writeFile(path, writtenFile().replace("SPEED_RS485=8", "SPEED_RS485=11")));
    args.replaceInStrings(QStringLiteral("PORT"), sim.link).replaceInStrings(QStringLiteral("FILE"), path);
    const CliRun run = runCli(args);
    QCOMPARE(run.status, 2);
    for (const QString &n : named)
        QVERIFY2(QString::fromUtf8(run.err).contains(n), qPrintable(n + QStringLiteral(" not in: ") + run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(sim.received().isEmpty());
}

namespace {

// The lines after the restart's: the module asked who it is until it
// answered, then `then`, each line whole; false with what came instead.
bool backThen(const QByteArrayList &lines, const QByteArrayList &then, QString *got)
{
    *got = QString::fromLatin1(lines.join(" | "));
    if (lines.size() <= then.size() || lines.mid(lines.size() - then.size()) != then)
        return false;
    const QByteArrayList asked = lines.mid(0, lines.size() - then.size());
    return asked.count("MAC") == asked.size();
}

} // namespace

// A reboot ends once the module answers again: a scan started right after
// it finds the module back, and every line it sends arrives whole.
void tst_Cli::rebootThenScan()
{
    SimProcess sim;
    QVERIFY(writeState(sim.statePath, firstWritten(params().size())));
    QVERIFY(sim.start());
    CliRun run = runCli({QStringLiteral("reboot"), sim.link, QStringLiteral("--json"), QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 0, run.err);
    QVERIFY(run.json().value(QStringLiteral("back_after_ms")).toInt() > 0);
    run = runCli({QStringLiteral("scan"), sim.link, QStringLiteral("--json"), QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 0, run.err);
    QCOMPARE(run.json().value(QStringLiteral("parameters")).toObject().value(QStringLiteral("ip")).toString(),
             params()[1].written);
    // The module really restarted, on the reboot as a line of its own.
    const QByteArrayList lines = sim.received();
    QCOMPARE(lines.mid(0, 3), (QByteArrayList{"MAC", "version", "RESET"}));
    QCOMPARE(sim.count(QStringLiteral("ACTION")), 1);
    QCOMPARE(sim.count(QStringLiteral("VANISH")), 1);
    QCOMPARE(sim.count(QStringLiteral("BACK")), 1);
    QString got;
    QVERIFY2(backThen(lines.mid(3), scanLines(), &got), qPrintable(got));
}

// A factory reset shows the values the module came back with, and a find
// started right after it finds the module.
void tst_Cli::factoryResetThenFind()
{
    SimProcess sim;
    QVERIFY(writeState(sim.statePath, firstWritten(params().size())));
    QVERIFY(sim.start());
    CliRun run = runCli({QStringLiteral("factory-reset"), sim.link, QStringLiteral("--yes"), QStringLiteral("--json"),
                         QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 0, run.err);
    const QJsonObject after = run.json().value(QStringLiteral("after")).toObject();
    QCOMPARE(after.size(), 15);
    for (const Param &p : params())
        QCOMPARE(after.value(QLatin1String(p.stateKey)).toString(), p.factory);
    run = runCli({QStringLiteral("find"), sim.link, QStringLiteral("--json"), QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 0, run.err);
    QCOMPARE(run.json().value(QStringLiteral("found")).toInt(), 1);
    const QByteArrayList lines = sim.received();
    QCOMPARE(lines.mid(0, 3), (QByteArrayList{"MAC", "version", "LOAD SETTING:DEFAULT"}));
    QCOMPARE(sim.count(QStringLiteral("VANISH")), 1);
    QCOMPARE(sim.count(QStringLiteral("BACK")), 1);
    QString got;
    QVERIFY2(backThen(lines.mid(3), scanLines() + QByteArrayList{"MAC", "version"}, &got), qPrintable(got));
    QCOMPARE(sim.state().value(QStringLiteral("ip")), params()[1].factory);
}

// A device in use is busy for a second program under any name: here a
// link to the module's link, as /dev/serial/by-id/... is to /dev/ttyUSB0.
void tst_Cli::oneDeviceUnderTwoNames()
{
    SimProcess sim;
    QVERIFY(sim.start());
    const QString other = file(QStringLiteral("other-name"));
    QVERIFY(QFile::link(sim.link, other));
    QProcess first;
    first.setProgram(QStringLiteral(GATEWAY_CLI_PATH));
    first.setArguments({QStringLiteral("scan"), sim.link, QStringLiteral("--interval"), QStringLiteral("200")});
    first.start();
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!sim.received().isEmpty() || first.state() == QProcess::NotRunning, 10000);
    const CliRun second = runCli({QStringLiteral("scan"), other, QStringLiteral("--json"), QStringLiteral("--interval"), fast});
    QVERIFY(first.waitForFinished(60000));
    QCOMPARE(first.exitCode(), 0);
    QVERIFY2(second.status == 3, second.err);
    QCOMPARE(second.json().value(QStringLiteral("result")).toString(), QStringLiteral("busy"));
    // The module heard the first program alone, each line whole.
    QCOMPARE(sim.received(), scanLines());
}

// Every port asked at once; those without a module are listed as such.
void tst_Cli::find()
{
    SimProcess first, second(QString(), QStringLiteral("second")), silent(QString(), QStringLiteral("silent"));
    QVERIFY(first.start());
    QVERIFY(second.start({QStringLiteral("--mac"), QStringLiteral("02:00:00:00:00:02")}));
    QVERIFY(silent.start({QStringLiteral("--silent")}));
    const QString missing = file(QStringLiteral("no-such-port"));
    CliRun run = runCli({QStringLiteral("find"), first.link, missing, second.link, silent.link, QStringLiteral("--json"),
                         QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 0, run.err);
    const QJsonObject doc = run.json();
    QCOMPARE(doc.value(QStringLiteral("found")).toInt(), 2);
    QStringList seen;
    for (const QJsonValue &v : doc.value(QStringLiteral("ports")).toArray()) {
        const QJsonObject port = v.toObject();
        seen << port.value(QStringLiteral("port")).toString() + QLatin1Char(' ')
                + port.value(QStringLiteral("result")).toString() + QLatin1Char(' ')
                + port.value(QStringLiteral("mac")).toString();
    }
    QCOMPARE(seen, (QStringList{first.link + QStringLiteral(" ok 02:00:00:00:00:01"), missing + QStringLiteral(" no-port "),
                                second.link + QStringLiteral(" ok 02:00:00:00:00:02"),
                                silent.link + QStringLiteral(" silent ")}));

    run = runCli({QStringLiteral("find"), missing, silent.link, QStringLiteral("--interval"), fast});
    QCOMPARE(run.status, 3);
    QVERIFY(run.out.isEmpty());
}

// The texts for a person in the system's language (Russian for ru, English
// otherwise and for C), or the one --lang or GATEWAY_LANG chooses: the
// help, a refused value (nothing sent), Qt's parser, and a batch's summary
// in its plural forms (1, 2 and 5 modules: rows on ports that cannot be
// opened).
void tst_Cli::language_data()
{
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("said");
    const QString write = QStringLiteral("write PORT --set ip=10.0.0.300");
    const QString unknown = QStringLiteral("scan PORT --colour");
    QTest::newRow("help ru") << russian << QStringList{QStringLiteral("--help")} << 0
                             << QStringList{QStringLiteral("Использование: gateway-cli КОМАНДА"), QStringLiteral("Код завершения:"),
                                            QStringLiteral("эта справка")};
    QTest::newRow("help en") << english << QStringList{QStringLiteral("--help")} << 0
                             << QStringList{QStringLiteral("Usage: gateway-cli COMMAND"), QStringLiteral("Exit status:"),
                                            QStringLiteral("this help")};
    QTest::newRow("refused ru") << russian << write.split(QLatin1Char(' ')) << 2
                                << QStringList{QStringLiteral("ip=\"10.0.0.300\": "), QStringLiteral("должно быть адресом IPv4"),
                                               QStringLiteral("gateway-cli: ничего не отправлено")};
    QTest::newRow("refused en") << english << write.split(QLatin1Char(' ')) << 2
                                << QStringList{QStringLiteral("ip=\"10.0.0.300\": "), QStringLiteral("must be an IPv4 address"),
                                               QStringLiteral("gateway-cli: nothing was sent")};
    QTest::newRow("--lang en over ru") << russian << (write + QStringLiteral(" --lang en")).split(QLatin1Char(' '))
                                       << 2 << QStringList{QStringLiteral("gateway-cli: nothing was sent")};
    QTest::newRow("GATEWAY_LANG ru over C")
        << english + QStringList{QStringLiteral("GATEWAY_LANG=ru")} << write.split(QLatin1Char(' ')) << 2
        << QStringList{QStringLiteral("gateway-cli: ничего не отправлено")};
    QTest::newRow("parser ru") << russian << unknown.split(QLatin1Char(' ')) << 2
                               << QStringList{QStringLiteral("Неизвестная опция «colour». (gateway-cli scan --help)")};
    QTest::newRow("parser en") << english << unknown.split(QLatin1Char(' ')) << 2
                               << QStringList{QStringLiteral("Unknown option 'colour'. (gateway-cli scan --help)")};
    const QStringList ru{QStringLiteral("ok: 0 из 1 модуля"), QStringLiteral("ok: 0 из 2 модулей"),
                         QStringLiteral("ok: 0 из 5 модулей")};
    const QStringList en{QStringLiteral("0 of 1 module ok"), QStringLiteral("0 of 2 modules ok"),
                         QStringLiteral("0 of 5 modules ok")};
    const int counts[] = {1, 2, 5};
    for (int i = 0; i < 3; ++i) {
        const QStringList batch{QStringLiteral("batch"), QStringLiteral("PLAN%1").arg(counts[i])};
        QTest::addRow("batch of %d ru", counts[i])
            << russian << batch << 3 << QStringList{ru[i]};
        QTest::addRow("batch of %d en", counts[i]) << english << batch << 3 << QStringList{en[i]};
    }
}

void tst_Cli::language()
{
    QFETCH(QStringList, env);
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, said);
    SimProcess sim;
    QVERIFY(sim.start());
    const QString settings = file(QStringLiteral("written.TRset"));
    QVERIFY(writeFile(settings, writtenFile()));
    for (const int n : {1, 2, 5}) {
        QByteArray plan = "port,file,ip\n";
        for (int row = 0; row < n; ++row)
            plan += file(QStringLiteral("no-port-%1,").arg(row)).toUtf8() + settings.toUtf8() + ",10.0.0." + QByteArray::number(row + 10) + '\n';
        QVERIFY(writeFile(file(QStringLiteral("plan%1.csv").arg(n)), plan));
    }
    for (QString &a : args) {
        a.replace(QStringLiteral("PORT"), sim.link);
        if (a.startsWith(QLatin1String("PLAN")))
            a = file(QStringLiteral("plan%1.csv").arg(a.mid(4)));
    }
    if (args.constFirst() == QLatin1String("batch"))
        args << QStringLiteral("--report") << file(QStringLiteral("report.csv")) << QStringLiteral("--overwrite");
    const CliRun run = runCli(args, 120000, QString(), environment(env));
    const QString text = QString::fromUtf8(run.out + run.err);
    QVERIFY2(run.status == status, qPrintable(text));
    for (const QString &s : said)
        QVERIFY2(text.contains(s), qPrintable(s + QStringLiteral(" not in: ") + text));
    QVERIFY(sim.received().isEmpty());
}

// The system's failures, which the system and Qt say in English whatever
// the person's language (or in the system's locale's own wording), said in
// the program's words in Russian: a missing port or file, something that is
// no serial port, a refused connection, an address another program holds;
// and the program's own refusals of a bad serve address and of an option
// (опция: the module's parameters are параметры). Three Latin
// words in a row are English prose: none of it in Russian. In English the
// system's text stays.
void tst_Cli::failuresInOwnWords_data()
{
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("missing port") << russian << QStringList{QStringLiteral("scan"), QStringLiteral("DIR/no-port")} << 3
                                  << QStringList{QStringLiteral("не удалось открыть порт: такого порта нет")};
    QTest::newRow("missing port, English")
        << english << QStringList{QStringLiteral("scan"), QStringLiteral("DIR/no-port")} << 3
        << QStringList{QStringLiteral("cannot open the port: No such file or directory")};
    QTest::newRow("not a serial port") << russian << QStringList{QStringLiteral("scan"), QStringLiteral("DIR/plain")} << 3
                                       << QStringList{QStringLiteral("не удалось открыть порт: это не последовательный порт")};
    QTest::newRow("missing plan") << russian << QStringList{QStringLiteral("batch"), QStringLiteral("DIR/no-plan.csv")} << 2
                                  << QStringList{QStringLiteral("gateway-cli: DIR/no-plan.csv: нет такого файла\n")};
    QTest::newRow("missing map") << russian
                                 << QStringList{QStringLiteral("serve"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--map"),
                                                QStringLiteral("DIR/no-map")}
                                 << 2 << QStringList{QStringLiteral("DIR/no-map: нет такого файла")};
    QTest::newRow("refused connection") << russian << QStringList{QStringLiteral("check"), QStringLiteral("127.0.0.1:FREE")} << 3
                                        << QStringList{QStringLiteral("нет соединения (соединение отклонено)")};
    QTest::newRow("serve at a taken port") << russian << QStringList{QStringLiteral("serve"), QStringLiteral("127.0.0.1:TAKEN")}
                                           << 3 << QStringList{QStringLiteral("порт уже занят другой программой")};
    QTest::newRow("serve at a bad port") << russian << QStringList{QStringLiteral("serve"), QStringLiteral("99999")} << 2
                                         << QStringList{QStringLiteral("gateway-cli: PORT «99999» — не число 0-65535")};
    QTest::newRow("serve at a bad host") << russian << QStringList{QStringLiteral("serve"), QStringLiteral("localhost:502")} << 2
                                         << QStringList{QStringLiteral("«localhost:502»: HOST должен быть адресом этого ПК")};
    QTest::newRow("a parameter as an option")
        << russian << QStringList{QStringLiteral("write"), QStringLiteral("DIR/no-port"), QStringLiteral("--ip"), QStringLiteral("10.0.0.5")}
        << 2 << QStringList{QStringLiteral("Неизвестная опция «ip»."), QStringLiteral("ip — параметр модуля, а не опция: --set ip=VALUE")};
}

void tst_Cli::failuresInOwnWords()
{
    QFETCH(QStringList, env);
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, said);
    QVERIFY(writeFile(file(QStringLiteral("plain")), "not a device\n"));
    // A port of the loopback that this test holds, and one that nothing
    // listens at.
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost));
    QTcpServer free;
    QVERIFY(free.listen(QHostAddress::LocalHost));
    const QString freePort = QString::number(free.serverPort());
    free.close();
    const auto filled = [&](QString text) {
        return text.replace(QStringLiteral("DIR"), dir.path())
            .replace(QStringLiteral("FREE"), freePort)
            .replace(QStringLiteral("TAKEN"), QString::number(taken.serverPort()));
    };
    for (QString &a : args)
        a = filled(a);
    const CliRun run = runCli(args, 60000, QString(), environment(env));
    const QString text = QString::fromUtf8(run.out + run.err);
    QVERIFY2(run.status == status, qPrintable(text));
    for (const QString &s : said)
        QVERIFY2(text.contains(filled(s)), qPrintable(filled(s) + QStringLiteral(" not in: ") + text));
    if (env == russian) {
        static const QRegularExpression prose(QStringLiteral("\\b[A-Za-z]+ [A-Za-z]+ [A-Za-z]+\\b"));
        const QRegularExpressionMatch english = prose.match(text);
        QVERIFY2(!english.hasMatch(), qPrintable(english.captured() + QStringLiteral(" in: ") + text));
    }
}

// JSON is for scripts: the same whatever the language, a check's hints
// included.
void tst_Cli::sameJson_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("scan") << QStringList{QStringLiteral("scan"), QStringLiteral("PORT"), QStringLiteral("--interval"), fast} << 0;
    QTest::newRow("check, nothing listening")
        << QStringList{QStringLiteral("check"), QStringLiteral("127.0.0.1:PORT_TCP")} << 3;
}

void tst_Cli::sameJson()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    SimProcess sim;
    QVERIFY(sim.start());
    // A free port of the loopback that nothing listens at.
    QTcpServer free;
    QVERIFY(free.listen(QHostAddress::LocalHost));
    const QString freePort = QString::number(free.serverPort());
    free.close();
    args.replaceInStrings(QStringLiteral("PORT_TCP"), freePort).replaceInStrings(QStringLiteral("PORT"), sim.link);
    args << QStringLiteral("--json");
    const CliRun ru = runCli(args, 120000, QString(), environment(russian));
    const CliRun en = runCli(args, 120000, QString(), environment(english));
    QVERIFY2(ru.status == status, ru.err);
    QVERIFY2(en.status == status, en.err);
    QVERIFY(!ru.json().isEmpty());
    QCOMPARE(ru.out, en.out);
}

QTEST_MAIN(tst_Cli)
#include "tst_cli.moc"
