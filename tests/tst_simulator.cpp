// End-to-end tests of the gateway-sim program: it runs as a process on a
// pseudo-terminal, the test opens the slave through the --link symlink with
// plain POSIX calls and talks to it as the configurator would.
#include "expected.h"
#include "files.h"
#include "protocoltables.h"
#include "simprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const int Gap = 20; // the simulator's --gap, unless a test gives its own

// One open of the serial device (the pty slave), raw, non-blocking.
class Port
{
public:
    ~Port() { close(); }
    bool open(const QString &path)
    {
        close();
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return false;
        termios t{};
        ::tcgetattr(fd, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
        hungUp = false;
        return true;
    }
    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    bool send(const QByteArray &b) { return fd >= 0 && ::write(fd, b.constData(), size_t(b.size())) == b.size(); }

    // Reads until `quietMs` pass without a byte after the first one, or
    // until `maxMs`; records the arrival of each chunk.
    QByteArray read(int maxMs = 1000, int quietMs = 100)
    {
        QByteArray got;
        chunks.clear();
        QElapsedTimer t;
        t.start();
        qint64 last = -1;
        while (fd >= 0 && !hungUp && t.elapsed() < maxMs) {
            if (last >= 0 && t.elapsed() - last >= quietMs)
                break;
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 5) <= 0)
                continue;
            char buf[4096];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                got.append(buf, int(n));
                chunks.append({t.elapsed(), QByteArray(buf, int(n))});
                last = t.elapsed();
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR) || (p.revents & POLLHUP)) {
                hungUp = true;
            }
        }
        return got;
    }
    // A command, then its reply; the pause afterwards lets the gap pass.
    QByteArray ask(const QByteArray &cmd, int maxMs = 1000)
    {
        send(cmd);
        return read(maxMs);
    }
    // Waits for the hang-up of the device (EOF / EIO / POLLHUP).
    bool waitHangUp(int ms)
    {
        read(ms, ms);
        return hungUp;
    }

    struct Chunk {
        qint64 at;
        QByteArray bytes;
    };
    QList<Chunk> chunks;
    bool hungUp = false;
    int fd = -1;
};

// One run of gateway-sim with the link, state and log in a temporary dir
// (its own by default), framing commands with a short gap and restarting
// quickly; and the test's open of its device.
class Sim : public support::SimProcess
{
public:
    explicit Sim(const QString &dir = QString()) : SimProcess(dir) {}
    // Starts the simulator and opens its device as `port`.
    bool start(const QStringList &extra = {})
    {
        return SimProcess::start(QStringList{"--gap", QString::number(Gap)} + extra, 400) && openPort(port);
    }
    Port port;
    QStringList logLines() const
    {
        return QString::fromLatin1(support::readFile(logPath)).split('\n', Qt::SkipEmptyParts);
    }
    // Opens the link, retrying while the device is away.
    bool openPort(Port &port, int ms = 3000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (port.open(link))
                return true;
            QThread::msleep(20);
        }
        return false;
    }
};

QByteArray queryReply(const char *command, const QByteArray &value, char sep = ' ')
{
    return QByteArray(command) + sep + value + "\r\n";
}

QByteArray changeLine(proto::Param p, const QByteArray &value) { return proto::parameter(p).change + value; }

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void answersQueriesAndChanges();
    void noEchoWhenSilent();
    void gapFraming();
    void faults_data();
    void faults();
    void resetVanishesAndComesBack();
    void factoryResetComesBackWithFactoryValues();
    void vanishAfter();
    void stateSurvivesRestartOfSimulator();
    void logFormat();
    void refusalInTheSystemLanguage_data();
    void refusalInTheSystemLanguage();
};

void TestSimulator::answersQueriesAndChanges()
{
    Sim sim;
    QVERIFY(sim.start());
    Port &port = sim.port;

    for (const auto &f : support::factoryReplies()) {
        QCOMPARE(port.ask(f.first), queryReply(f.first.constData(), f.second.toLatin1()));
        QCOMPARE(port.chunks.size(), 1); // one write
    }

    QCOMPARE(port.ask(changeLine(proto::Param::Ip, "10.0.0.5")), support::ackOk);
    QCOMPARE(port.ask(changeLine(proto::Param::Ip, "10.0.0.256")), support::ackRefused);
    QCOMPARE(port.ask(changeLine(proto::Param::PortTcp, "")), support::ackRefused);
    QCOMPARE(port.ask(changeLine(proto::Param::Parity, "2")), support::ackOk);
    QCOMPARE(port.ask("ip"), queryReply("ip", "10.0.0.5"));
    QCOMPARE(port.ask("parity"), queryReply("parity", "even"));
    QCOMPARE(port.ask("what?"), support::ackRefused);

    QCOMPARE(sim.stop(), 0);
    QVERIFY(!QFileInfo::exists(sim.link) && !QFileInfo(sim.link).isSymLink());
}

void TestSimulator::noEchoWhenSilent()
{
    Sim sim;
    QVERIFY(sim.start({"--silent"}));
    Port &port = sim.port;
    port.send("MAC");
    QCOMPARE(port.read(300), QByteArray()); // no echo from the line discipline
    port.send("CHANGE IP:1.2.3.4\r\n");
    QCOMPARE(port.read(300), QByteArray());
    // The simulator did receive them, CR LF untranslated.
    const QStringList log = sim.logLines();
    QVERIFY2(log.filter(QRegularExpression(R"(^\d+\.\d{3} RX "MAC"$)")).size() == 1, qPrintable(log.join('\n')));
    QVERIFY2(log.filter(QRegularExpression(R"(^\d+\.\d{3} RX "CHANGE IP:1\.2\.3\.4\\r\\n"$)")).size() == 1,
             qPrintable(log.join('\n')));
}

void TestSimulator::gapFraming()
{
    // A gap far longer than the other tests', so that two writes a few
    // milliseconds apart stay inside it however busy the machine.
    const int gap = 300;
    Sim sim;
    QVERIFY(sim.start({"--gap", QString::number(gap)}));
    Port &port = sim.port;
    // Two pieces inside the gap make one command.
    port.send("i");
    QThread::msleep(3);
    port.send("p");
    QCOMPARE(port.read(3000, 3 * gap), queryReply("ip", "192.168.0.1"));
    QCOMPARE(sim.received(), QByteArrayList{"ip"});
    // Two commands apart by more than the gap get two replies.
    port.send("ip");
    QThread::msleep(gap * 4);
    port.send("MAC");
    QCOMPARE(port.read(3000, 3 * gap), queryReply("ip", "192.168.0.1") + queryReply("MAC", "02:00:00:00:00:01"));
}

void TestSimulator::faults_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray ipReply = queryReply("ip", "192.168.0.1");
    QTest::newRow("silent") << QStringList{"--silent"} << QByteArray("ip") << "nothing" << QByteArray();
    QTest::newRow("late") << QStringList{"--late", "400"} << QByteArray("ip") << "late" << ipReply;
    QTest::newRow("split") << QStringList{"--split", "300"} << QByteArray("ip") << "split" << ipReply;
    QTest::newRow("ack OK") << QStringList{"--ack", "OK"} << changeLine(proto::Param::Ip, "10.0.0.1") << "exact"
                            << QByteArray("OK");
    QTest::newRow("refuse ip") << QStringList{"--refuse", "ip"} << changeLine(proto::Param::Ip, "10.0.0.1")
                               << "exact" << support::ackRefused;
    QTest::newRow("refuse prefix") << QStringList{"--refuse", proto::parameter(proto::Param::PortTcp).change}
                                   << changeLine(proto::Param::PortTcp, "10000") << "exact"
                                   << support::ackRefused;
    QTest::newRow("separator") << QStringList{"--separator", ":"} << QByteArray("ip") << "exact"
                               << queryReply("ip", "192.168.0.1", ':');
    QTest::newRow("garbage") << QStringList{"--garbage"} << QByteArray("ip") << "garbage" << QByteArray();
    QTest::newRow("burst") << QStringList{"--burst", "300"} << QByteArray("ip") << "burst" << QByteArray();
}

void TestSimulator::faults()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, command);
    QFETCH(QString, check);
    QFETCH(QByteArray, expected);

    Sim sim;
    QVERIFY(sim.start(args));
    Port &port = sim.port;
    port.send(command);
    // Up to a second of silence between the halves of a split reply.
    const QByteArray got = port.read(3000, check == "split" ? 1000 : 100);

    if (check == "nothing") {
        QCOMPARE(got, QByteArray());
    } else if (check == "exact") {
        QCOMPARE(got, expected);
    } else if (check == "late") {
        QCOMPARE(got, expected);
        QVERIFY2(port.chunks.first().at >= 350, QByteArray::number(port.chunks.first().at).constData());
    } else if (check == "split") {
        QCOMPARE(got, expected);
        // Two writes, the second 300 ms after the command at the earliest
        // (the simulator's own clock; a busy machine only delays it).
        const QList<qint64> rx = sim.times(QStringLiteral("RX"));
        const QList<qint64> tx = sim.times(QStringLiteral("TX"));
        QCOMPARE(rx.size(), 1);
        QCOMPARE(tx.size(), 2);
        QVERIFY2(tx[1] - rx[0] >= 299, qPrintable(QString::number(tx[1] - rx[0])));
    } else if (check == "garbage") {
        QVERIFY(!got.isEmpty());
        QVERIFY(got.contains('\0'));
        QVERIFY(got.contains('\xff'));
        // Not valid UTF-8.
        QVERIFY(QString::fromUtf8(got).toUtf8() != got);
    } else if (check == "burst") {
        QCOMPARE(got.size(), 300);
    } else {
        QFAIL("unknown check");
    }
    QCOMPARE(sim.stop(), 0);
}

void TestSimulator::resetVanishesAndComesBack()
{
    Sim sim;
    QVERIFY(sim.start());
    Port &port = sim.port;
    QCOMPARE(port.ask(changeLine(proto::Param::Ip, "10.1.2.3")), support::ackOk);
    QCOMPARE(port.ask(changeLine(proto::Param::Mode, "CLIENT")), support::ackOk);

    QElapsedTimer t;
    t.start();
    QVERIFY(port.send(proto::RebootUniversal));
    QVERIFY(port.waitHangUp(5000));
    // No link while the device is away: its number may go to another device.
    QVERIFY(!QFileInfo(sim.link).isSymLink());
    port.close();

    Port again;
    QVERIFY(sim.openPort(again, 5000));
    QVERIFY2(t.elapsed() >= 350, QByteArray::number(t.elapsed()).constData()); // restart delay 400 ms
    // The device went at once, in the handling of the command (no reply,
    // nothing in between), and came back after the restart delay.
    QStringList kinds;
    for (const support::LogEvent &e : sim.events())
        kinds << (e.kind == QLatin1String("RX") ? e.kind + ' ' + QString::fromLatin1(e.bytes) : e.kind);
    QCOMPARE(kinds.mid(kinds.size() - 4), QStringList({"RX reset", "ACTION", "VANISH", "BACK"}));
    QVERIFY(QFileInfo(sim.link).isSymLink());
    QCOMPARE(again.ask("ip"), queryReply("ip", "10.1.2.3"));
    QCOMPARE(again.ask("MODE TCP"), queryReply("MODE TCP", "client"));

    // The upper-case reboot too.
    QVERIFY(again.send(proto::Reboot));
    QVERIFY(again.waitHangUp(5000));
    again.close();
    QVERIFY(sim.openPort(again, 5000));
    QCOMPARE(again.ask("ip"), queryReply("ip", "10.1.2.3"));

    const QStringList log = sim.logLines();
    QCOMPARE(log.filter(QRegularExpression(R"(^\d+\.\d{3} VANISH /dev/)")).size(), 2);
    QCOMPARE(log.filter(QRegularExpression(R"(^\d+\.\d{3} BACK /dev/)")).size(), 2);
}

void TestSimulator::factoryResetComesBackWithFactoryValues()
{
    Sim sim;
    QVERIFY(sim.start());
    Port &port = sim.port;
    QCOMPARE(port.ask(changeLine(proto::Param::PortTcp, "10000")), support::ackOk);
    QVERIFY(port.send(proto::FactoryReset));
    QVERIFY(port.waitHangUp(5000));
    port.close();
    QVERIFY(sim.openPort(port, 5000));
    QCOMPARE(port.ask("PORT TCP"), queryReply("PORT TCP", "502"));
}

void TestSimulator::vanishAfter()
{
    Sim sim;
    QVERIFY(sim.start({"--vanish-after", "2"}));
    Port &port = sim.port;
    QCOMPARE(port.ask("ip"), queryReply("ip", "192.168.0.1"));
    port.send("MAC");
    QVERIFY(port.waitHangUp(5000));
    port.close();
    QVERIFY(sim.openPort(port, 5000));
    QCOMPARE(port.ask("ip"), queryReply("ip", "192.168.0.1")); // only once
    QCOMPARE(port.ask("ip"), queryReply("ip", "192.168.0.1"));
    QVERIFY(!port.hungUp);
}

void TestSimulator::stateSurvivesRestartOfSimulator()
{
    QTemporaryDir dir;
    {
        Sim sim(dir.path());
        QVERIFY(sim.start());
        Port &port = sim.port;
        QCOMPARE(port.ask(changeLine(proto::Param::PortTcp, "10000")), support::ackOk);
        QCOMPARE(port.ask(changeLine(proto::Param::TcpSlaveId, "17")), support::ackOk);
        QCOMPARE(sim.stop(), 0);
        QVERIFY(QFile(sim.statePath).exists());
    }
    Sim sim(dir.path());
    QVERIFY(sim.start());
    QCOMPARE(sim.port.ask("PORT TCP"), queryReply("PORT TCP", "10000"));
    QCOMPARE(sim.port.ask("tcp slave id"), queryReply("tcp slave id", "17"));
}

void TestSimulator::logFormat()
{
    Sim sim;
    QVERIFY(sim.start());
    Port &port = sim.port;
    port.ask("ip");
    port.send(QByteArray("x\x01\"y", 4));
    port.read();
    QCOMPARE(sim.stop(), 0);
    const QStringList log = sim.logLines();
    const QRegularExpression line(R"(^(\d+)\.(\d{3}) ([A-Z-]+)( .*)?$)");
    for (const QString &l : log)
        QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
    QVERIFY(!log.filter(QRegularExpression(R"(^\d+\.\d{3} UP /dev/)")).isEmpty());
    QVERIFY(!log.filter(QRegularExpression(R"(^\d+\.\d{3} RX "ip"$)")).isEmpty());
    QVERIFY(!log.filter(QRegularExpression(R"(^\d+\.\d{3} TX "ip 192\.168\.0\.1\\r\\n"$)")).isEmpty());
    // The escaped form of x, 0x01, a quote and y.
    const QString escaped = QStringLiteral("RX \"x\\x01\\\"y\"");
    QVERIFY2(log.filter(QRegularExpression("^\\d+\\.\\d{3} " + QRegularExpression::escape(escaped) + "$")).size() == 1,
             qPrintable(log.join('\n')));
    QVERIFY(log.last().contains(QRegularExpression(R"( EXIT$)")));
}

// A bad option refused in the system's language (Russian for ru, English
// for C; the test command's LC_ALL, which wins over LANG, removed), with
// the usage, exit 2, and no device made.
void TestSimulator::refusalInTheSystemLanguage_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("usage");
    QTest::newRow("ru") << "ru_RU.UTF-8" << QStringLiteral("gateway-sim: неизвестная опция --colour")
                        << QStringLiteral("Использование: gateway-sim [ОПЦИЯ]...");
    QTest::newRow("C") << "C" << QStringLiteral("gateway-sim: unknown option --colour")
                       << QStringLiteral("usage: gateway-sim [options]");
}

void TestSimulator::refusalInTheSystemLanguage()
{
    QFETCH(QString, lang);
    QFETCH(QString, refusal);
    QFETCH(QString, usage);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "GATEWAY_LANG"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LANG"), lang);
    QProcess sim;
    sim.setProcessEnvironment(env);
    sim.start(QStringLiteral(GATEWAY_SIM_PATH), {QStringLiteral("--colour")});
    QVERIFY(sim.waitForFinished(30000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 2);
    QCOMPARE(sim.readAllStandardOutput(), QByteArray());
    const QStringList said = QString::fromUtf8(sim.readAllStandardError()).split(QLatin1Char('\n'));
    QCOMPARE(said.value(0), refusal);
    QCOMPARE(said.value(1), usage);
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
