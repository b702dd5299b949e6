// Finding the devices on a line over this machine's loopback: gateway-cli
// survey through gateway-sim's network side, tune through both of the
// simulated module's sides (its configuration port on a pseudo-terminal,
// its TCP side at a port the system picked, kept across its restarts), and
// the simulated RS-485 line carrying one request at a time. Every address
// is 127.0.0.1.
#include <QtTest>

#include <QJsonArray>
#include <QProcess>
#include <QTcpSocket>

#include <csignal>

#include "cliprocess.h"
#include "files.h"
#include "plan.h"
#include "simprocess.h"
#include "terminal.h"

using namespace support;

namespace {

// The module as these tests start it: 9600/none/1 with a short response
// time-out, so that an absent unit's 0x0B comes soon.
const QByteArray moduleState = "speed=9600\nparity=none\nstop_bits=1\ntimeout_response=100\n";

QVector<int> intsOf(const QJsonValue &value)
{
    QVector<int> out;
    for (const QJsonValue &v : value.toArray())
        out << v.toInt();
    return out;
}

QStringList stringsOf(const QJsonValue &value)
{
    QStringList out;
    for (const QJsonValue &v : value.toArray())
        out << v.toString();
    return out;
}

// The simulated module with its TCP side at a port of its own, the same
// after each restart.
struct Module {
    SimProcess sim;
    int port = freePort();
    QString via() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    bool start(const QStringList &fields, const QByteArray &state = moduleState, int restartDelayMs = 300,
               const QStringList &options = {})
    {
        QStringList args = QStringList{"--tcp-listen", via()} + options;
        for (const QString &f : fields)
            args << "--field" << f;
        return writeFile(sim.statePath, state) && sim.start(args, restartDelayMs) && waitListening();
    }
    bool waitListening() const
    {
        for (int i = 0; i < 100 && tcpPort(sim) != port; ++i)
            QTest::qWait(50);
        return tcpPort(sim) == port;
    }
    // The changes the module received, as "key value" lines.
    QStringList changes() const
    {
        QStringList out;
        for (const QByteArray &line : sim.received())
            if (line.toUpper().startsWith("CHANGE"))
                out << QString::fromLatin1(line).trimmed();
        return out;
    }
    QString line() const
    {
        const QMap<QString, QString> s = sim.state();
        return QStringLiteral("%1/%2/%3").arg(s.value("speed"), s.value("parity"), s.value("stop_bits"));
    }
};

// A Modbus TCP request for a holding register of `unit`.
QByteArray request(quint16 tid, int unit)
{
    QByteArray f;
    f += char(tid >> 8);
    f += char(tid & 0xff);
    f += QByteArray("\x00\x00\x00\x06", 4);
    f += char(unit);
    f += QByteArray("\x03\x00\x00\x00\x01", 5);
    return f;
}

} // namespace

class tst_Survey : public QObject
{
    Q_OBJECT

private slots:
    void survey_data();
    void survey();
    void surveyInterrupted_data();
    void surveyInterrupted();
    void lineCarriesOneRequestAtATime();
    void restartEmptiesTheLine();
    void tune_data();
    void tune();
    void tuneInterrupted_data();
    void tuneInterrupted();
    void tuneRefusesClientMode();

private:
    QTemporaryDir dir;
};

void tst_Survey::survey_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<int>("status");
    QTest::addColumn<QVector<int>>("found");
    // Each found unit's exception, 0 for values.
    QTest::addColumn<QVector<int>>("exceptions");
    // The device at 19200 is on the line, but not at the module's setting.
    const QStringList none;
    QTest::newRow("the module's line") << QStringList{"--units", "1-8"} << none << 0 << QVector<int>{1, 5}
                                       << QVector<int>{0, 0};
    QTest::newRow("units in their order") << QStringList{"--units", "7,5,2-3,1"} << none << 0
                                          << QVector<int>{5, 1} << QVector<int>{0, 0};
    // A device that refuses the read with its own exception is there.
    QTest::newRow("the device's own exception") << QStringList{"--units", "4-6", "--read", "hr:2000:1"} << none
                                                << 0 << QVector<int>{5} << QVector<int>{2};
    QTest::newRow("none") << QStringList{"--units", "2-4,6-7"} << none << 1 << QVector<int>{} << QVector<int>{};
    // A gateway that closes each connection after two replies: opened again,
    // each unit answered once.
    QTest::newRow("connections closed") << QStringList{"--units", "1-8"} << QStringList{"--tcp-drop-after", "2"}
                                        << 0 << QVector<int>{1, 5} << QVector<int>{0, 0};
}

void tst_Survey::survey()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, simOptions);
    QFETCH(int, status);
    QFETCH(QVector<int>, found);
    QFETCH(QVector<int>, exceptions);
    Module module;
    QVERIFY(module.start({"1@9600/none/1", "5@9600/none/1", "7@19200/none/1"}, moduleState, 300, simOptions));

    const CliRun run = runCli(QStringList{"survey", module.via(), "--json"} + options);
    QVERIFY2(run.status == status, run.out + run.err);
    const QJsonObject doc = run.json();
    QCOMPARE(doc.value("connected").toBool(), true);
    QCOMPARE(doc.value("units_asked").toInt(), doc.value("units").toInt());
    const QJsonArray devices = doc.value("found").toArray();
    QCOMPARE(devices.size(), found.size());
    for (int i = 0; i < found.size(); ++i) {
        const QJsonObject d = devices[i].toObject();
        QCOMPARE(d.value("unit").toInt(), found[i]);
        QCOMPARE(d.value("exception").toInt(), exceptions[i]);
        if (!exceptions[i])
            QCOMPARE(intsOf(d.value("values")), QVector<int>{1000 * found[i]});
    }
    // Asked once each: the line saw one request per unit (each answered).
    QCOMPARE(module.sim.count("TCP-TX"), doc.value("units").toInt());
    QCOMPARE(doc.value("reconnects").toInt(), simOptions.isEmpty() ? 0 : doc.value("units").toInt() / 2 - 1);

    // Piped: a line per device found; none found points to tune.
    const CliRun text = runCli(QStringList{"survey", module.via()} + options);
    QCOMPARE(text.status, status);
    for (const int unit : found)
        QVERIFY2(text.out.contains(QStringLiteral("unit %1: ").arg(unit).toUtf8()), text.out);
    QCOMPARE(text.out.contains("gateway-cli tune"), found.isEmpty());
}

void tst_Survey::surveyInterrupted_data()
{
    QTest::addColumn<bool>("json");
    QTest::newRow("text") << false;
    QTest::newRow("json") << true;
}

// Ctrl+C in a long survey prints what was found by then: with --json one
// whole document.
void tst_Survey::surveyInterrupted()
{
    QFETCH(bool, json);
    Module module;
    QVERIFY(module.start({"2@9600/none/1"}));
    QProcess survey;
    survey.setProgram(QStringLiteral(GATEWAY_CLI_PATH));
    survey.setArguments(QStringList{"survey", module.via()} + (json ? QStringList{"--json"} : QStringList()));
    survey.start();
    QVERIFY(survey.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(module.sim.count("TCP-RX") >= 4, 20000);
    ::kill(pid_t(survey.processId()), SIGINT);
    QVERIFY(survey.waitForFinished(20000));
    QCOMPARE(survey.exitStatus(), QProcess::NormalExit);
    QCOMPARE(survey.exitCode(), 130);
    const QByteArray out = survey.readAllStandardOutput();
    if (json) {
        QJsonParseError error;
        const QJsonObject doc = QJsonDocument::fromJson(out, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, out);
        QCOMPARE(doc.value("interrupted").toBool(), true);
        QCOMPARE(doc.value("found").toArray().size(), 1);
        QCOMPARE(doc.value("found").toArray().first().toObject().value("unit").toInt(), 2);
        QVERIFY(doc.value("units_asked").toInt() >= 4 && doc.value("units_asked").toInt() < 247);
    } else {
        QVERIFY2(out.contains("unit 2: 2000") && out.contains("interrupted"), out);
    }
}

// Requests sent together to absent units queue for the line: the Nth 0x0B
// leaves the module no sooner than N response time-outs after the requests
// came (the simulated module's log, its own clock; a late wake-up only
// delays a reply).
void tst_Survey::lineCarriesOneRequestAtATime()
{
    Module module;
    QVERIFY(module.start({}));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(module.port));
    QVERIFY(socket.waitForConnected(5000));
    socket.write(request(1, 10) + request(2, 11) + request(3, 12));
    QByteArray replies;
    for (int i = 0; i < 100 && replies.size() < 3 * 9; ++i)
        if (socket.waitForReadyRead(100))
            replies += socket.readAll();
    QCOMPARE(replies.size(), 3 * 9);
    const QList<qint64> sent = module.sim.times("TCP-TX");
    const qint64 came = module.sim.times("TCP-RX").last();
    QCOMPARE(sent.size(), 3);
    for (int i = 0; i < sent.size(); ++i)
        QVERIFY2(sent[i] - came >= 100 * (i + 1), qPrintable(QStringLiteral("%1 after %2").arg(sent[i]).arg(came)));
}

// A restart empties the line's queue: requests that waited are never
// answered, and the first request after the restart does not wait for them.
void tst_Survey::restartEmptiesTheLine()
{
    Module module;
    QVERIFY(module.start({"1@9600/none/1"}, "timeout_response=10000\n"));
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(module.port));
        QVERIFY(socket.waitForConnected(5000));
        socket.write(request(1, 10) + request(2, 11) + request(3, 12));
        QTRY_COMPARE_WITH_TIMEOUT(module.sim.count("TCP-RX"), 3, 10000);
    }
    const qint64 queued = module.sim.times("TCP-RX").last();
    const int listens = module.sim.count("TCP-LISTEN");
    const CliRun reboot = runCli({"reboot", module.sim.link, "--interval", "50"});
    QVERIFY2(reboot.status == 0, reboot.err);
    QTRY_COMPARE_WITH_TIMEOUT(module.sim.count("TCP-LISTEN"), listens + 1, 10000);
    const CliRun check = runCli({"check", module.via(), "--timeout", "60000", "--json"});
    QVERIFY2(check.status == 0, check.out + check.err);
    // Answered before the old queue (three time-outs of 10 s) would have let it.
    QVERIFY(module.sim.times("TCP-TX").last() < queued + 30000);
    QCOMPARE(module.sim.count("TCP-TX"), 1);
}

void tst_Survey::tune_data()
{
    QTest::addColumn<QStringList>("search");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("tried");
    // What each try wrote (the keys, sorted; "" for nothing), then the move after.
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("final");
    QTest::addColumn<QVector<int>>("found");

    // The commonest first: 19200 before 38400, none before even.
    QTest::newRow("found at 38400/even/1")
        << QStringList{"--speeds", "38400,19200", "--parities", "even,none", "--stop-bits", "1"} << 0
        << QStringList{"19200/none/1", "19200/even/1", "38400/none/1", "38400/even/1"}
        << QStringList{"speed", "parity", "parity speed", "parity"} << "38400/even/1" << QVector<int>{2};
    QTest::newRow("none: put back")
        << QStringList{"--speeds", "19200", "--parities", "none,odd", "--stop-bits", "2"} << 1
        << QStringList{"19200/none/2", "19200/odd/2"} << QStringList{"speed stop_bits", "parity", "parity speed stop_bits"}
        << "9600/none/1" << QVector<int>{};
    // The setting the module is at is tried without a write or a restart.
    QTest::newRow("found where it stands")
        << QStringList{"--speeds", "9600", "--parities", "none", "--stop-bits", "1", "--units", "1,3"} << 0
        << QStringList{"9600/none/1"} << QStringList{""} << "9600/none/1" << QVector<int>{3};
}

// tune through both sides of the module: each try writes only the line
// settings that change, restarts the module and surveys; found, the module
// is left there, else put back; the record has a row per try.
void tst_Survey::tune()
{
    QFETCH(QStringList, search);
    QFETCH(int, status);
    QFETCH(QStringList, tried);
    QFETCH(QStringList, written);
    QFETCH(QString, final);
    QFETCH(QVector<int>, found);
    Module module;
    QVERIFY(module.start({"2@38400/even/1", "3@9600/none/1"}));
    const QString record =
        dir.filePath(QStringLiteral("tune-%1.csv").arg(QString::fromLatin1(QTest::currentDataTag()).replace('/', '-')));

    const CliRun run = runCli(QStringList{"tune", module.sim.link, "--via", module.via(), "--units", "1-3",
                                          "--interval", "50", "--report", record, "--overwrite", "--json"}
                              + search);
    QVERIFY2(run.status == status, run.out + run.err);
    const QJsonObject doc = run.json();
    const QJsonObject original = doc.value("original").toObject();
    QCOMPARE(original.value("speed").toString(), QStringLiteral("9600"));
    const QJsonArray tries = doc.value("tried").toArray();
    QCOMPARE(tries.size(), tried.size());
    QStringList keys;
    for (int i = 0; i < tries.size(); ++i) {
        const QJsonObject t = tries[i].toObject();
        QCOMPARE(QStringLiteral("%1/%2/%3").arg(t.value("speed").toString(), t.value("parity").toString(),
                                                t.value("stop_bits").toString()),
                 tried[i]);
        QStringList w = stringsOf(t.value("written"));
        w.sort();
        keys << w.join(' ');
    }
    // The module's own word for where it stands, and the record's last row.
    const QJsonObject at = doc.value("final").toObject();
    QCOMPARE(QStringLiteral("%1/%2/%3").arg(at.value("speed").toString(), at.value("parity").toString(),
                                            at.value("stop_bits").toString()),
             final);
    QCOMPARE(module.line(), final);
    QCOMPARE(doc.value("restored").toBool(), final == QLatin1String("9600/none/1"));
    const csv::Table table = csv::read(readFile(record));
    QCOMPARE(table.records.size(), 1 + tried.size() + (written.size() > tried.size()));
    if (written.size() > tried.size()) {
        QCOMPARE(table.records.last().fields.first(), QStringLiteral("put-back"));
        QStringList w = table.records.last().fields[table.records[0].fields.indexOf("written")].split(' ');
        w.sort();
        keys << w.join(' ');
    }
    QCOMPARE(keys, written);
    QCOMPARE(found.isEmpty(), doc.value("found").isNull());
    if (!found.isEmpty())
        QCOMPARE(intsOf(doc.value("found").toObject().value("units")), found);
    // Only the line settings were ever written.
    for (const QString &change : module.changes())
        QVERIFY2(change.contains(QRegularExpression("^CHANGE (SPEED RS485|PARITY|STOP BIT):", QRegularExpression::CaseInsensitiveOption)),
                 qPrintable(change));
}

void tst_Survey::tuneInterrupted_data()
{
    // The log's event after which the interrupt comes, and how many times.
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("times");
    // In the first try's survey, after its restart.
    QTest::newRow("surveying") << "TCP-RX" << 3;
    // While the module restarts: the move ends, then the module goes back.
    QTest::newRow("restarting") << "ACTION" << 1;
}

// Ctrl+C in the middle of a search: the try under way stops, the module's
// original settings are written back and read back, and the output says so.
void tst_Survey::tuneInterrupted()
{
    QFETCH(QString, event);
    QFETCH(int, times);
    Module module;
    QVERIFY(module.start({"2@38400/even/1"}, moduleState, 2000));
    const QString record = dir.filePath(QStringLiteral("tune-interrupted-%1.csv").arg(QTest::currentDataTag()));
    QProcess tune;
    tune.setProgram(QStringLiteral(GATEWAY_CLI_PATH));
    tune.setArguments({"tune", module.sim.link, "--via", module.via(), "--speeds", "19200,38400", "--interval",
                       "50", "--report", record, "--overwrite"});
    tune.start();
    QVERIFY(tune.waitForStarted(10000));
    // The first try is 19200/none/1: its change, the restart, the survey.
    QTRY_VERIFY_WITH_TIMEOUT(module.sim.count(event) >= times, 30000);
    QCOMPARE(module.sim.state().value("speed"), QStringLiteral("19200"));
    ::kill(pid_t(tune.processId()), SIGINT);
    QVERIFY(tune.waitForFinished(60000));
    QCOMPARE(tune.exitStatus(), QProcess::NormalExit);
    const QByteArray out = tune.readAllStandardOutput();
    QVERIFY2(tune.exitCode() == 130, out + tune.readAllStandardError());
    QCOMPARE(module.line(), QStringLiteral("9600/none/1"));
    QVERIFY2(out.contains("interrupted") && out.contains("the module was put back at 9600/none/1 (read back)"), out);
    const csv::Table table = csv::read(readFile(record));
    QCOMPARE(table.records.last().fields.first(), QStringLiteral("put-back"));
    QCOMPARE(table.records.size(), 3);
}

// A module in client mode has no TCP side to survey: refused, nothing
// written.
void tst_Survey::tuneRefusesClientMode()
{
    Module module;
    QVERIFY(writeFile(module.sim.statePath, "mode=client\n" + moduleState));
    QVERIFY(module.sim.start({"--tcp-server", module.via()}));
    const CliRun run = runCli({"tune", module.sim.link, "--via", module.via(), "--interval", "50", "--json"});
    QVERIFY2(run.status == 2, run.out + run.err);
    QVERIFY2(run.err.contains("client mode") && run.err.contains("nothing was written"), run.err);
    QVERIFY2(module.changes().isEmpty(), qPrintable(module.changes().join('\n')));
    QCOMPARE(module.sim.count("ACTION"), 0);
    QCOMPARE(run.json().value("tried").toArray().size(), 0);
}

QTEST_GUILESS_MAIN(tst_Survey)
#include "tst_survey.moc"
