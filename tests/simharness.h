#pragma once
// The gateway-sim program as a test fixture: one process on a pseudo-terminal
// with its link, state file and log in a directory of the test's own, and
// the log read back to see the bytes that the module received. Also the
// window operations that the end-to-end tests share.
//
// Header only: it is included by the fault, monkey and benchmark programs.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "boxwatcher.h"
#include "mainwindow.h"
#include "probe.h"

namespace simharness {

const QString captionDisconnected = QStringLiteral("Cоединиться"); // Latin C
const QString captionConnected = QStringLiteral("Отсоединиться");
const QString captionScan = QStringLiteral("Сканировать");
const QString captionStopScan = QStringLiteral("Стоп сканирования");
const QString captionWrite = QStringLiteral("Запись параметры");
const QString captionStopWrite = QStringLiteral("Остановить запись");

// Undoes the log's escaping of received and sent bytes.
inline QByteArray unescape(const QString &text)
{
    const QByteArray s = text.toLatin1();
    QByteArray out;
    for (int i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c != '\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        const char e = s[++i];
        switch (e) {
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'x':
            out += char(s.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
            break;
        default: out += e; break; // \\ and \"
        }
    }
    return out;
}

struct LogEvent {
    qint64 ms = 0;     // since the simulator started
    QString kind;      // RX, TX, CHANGED, VANISH, ...
    QString rest;      // the text after the kind
    QByteArray bytes;  // RX / TX: the bytes, unescaped
};

// One run of gateway-sim.
class SimProcess
{
public:
    // `dir` holds the link, the state file and the log.
    // `port`: what the window connects to when the simulator was started
    // by someone else (a COM port that Wine maps to its link); the link
    // itself by default.
    explicit SimProcess(const QString &dir, const QString &name = QStringLiteral("gw"),
                        const QString &port = QString())
        : link(port.isEmpty() ? dir + QLatin1Char('/') + name + QStringLiteral("-tty") : port)
        , statePath(dir + QLatin1Char('/') + name + QStringLiteral(".state"))
        , logPath(dir + QLatin1Char('/') + name + QStringLiteral(".log"))
    {
    }
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool start(const QStringList &extra = {}, int restartDelayMs = 300)
    {
        QStringList args{QStringLiteral("--link"), link, QStringLiteral("--state"), statePath,
                         QStringLiteral("--log"), logPath, QStringLiteral("--quiet"),
                         QStringLiteral("--restart-delay"), QString::number(restartDelayMs)};
        args << extra;
#ifdef GATEWAY_SIM_PATH
        proc.setProgram(QStringLiteral(GATEWAY_SIM_PATH));
#endif
        proc.setArguments(args);
        proc.start();
        if (!proc.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (!proc.canReadLine() && t.elapsed() < 5000)
            proc.waitForReadyRead(50);
        const QString first = QString::fromLocal8Bit(proc.readLine()).trimmed();
        return first.startsWith(QStringLiteral("gateway-sim: /dev/")) && QFileInfo(link).isSymLink();
    }

    int stop()
    {
        if (proc.state() == QProcess::NotRunning)
            return proc.exitCode();
        proc.terminate();
        if (!proc.waitForFinished(3000)) {
            proc.kill();
            proc.waitForFinished(1000);
            return -1;
        }
        return proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1;
    }

    QList<LogEvent> events() const
    {
        static const QRegularExpression line(QStringLiteral(R"(^(\d+)\.(\d{3}) ([A-Z-]+)(?: (.*))?$)"));
        QList<LogEvent> out;
        QFile f(logPath);
        if (!f.open(QIODevice::ReadOnly))
            return out;
        const QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &l : lines) {
            const auto m = line.match(l);
            if (!m.hasMatch())
                continue;
            LogEvent e;
            e.ms = m.captured(1).toLongLong() * 1000 + m.captured(2).toLongLong();
            e.kind = m.captured(3);
            e.rest = m.captured(4);
            if ((e.kind == QLatin1String("RX") || e.kind == QLatin1String("TX")) && e.rest.size() >= 2)
                e.bytes = unescape(e.rest.mid(1, e.rest.size() - 2));
            out << e;
        }
        return out;
    }
    // The commands the module received, in order.
    QByteArrayList received() const
    {
        QByteArrayList out;
        for (const LogEvent &e : events())
            if (e.kind == QLatin1String("RX"))
                out << e.bytes;
        return out;
    }
    int count(const QString &kind) const
    {
        int n = 0;
        for (const LogEvent &e : events())
            n += e.kind == kind;
        return n;
    }
    // Waits, with the event loop running, until the log holds `n` events
    // of `kind`.
    bool waitFor(const QString &kind, int n, int ms) const
    {
        return QTest::qWaitFor([&] { return count(kind) >= n; }, ms);
    }
    // The module's stored values, key=value, as its state file holds them.
    QMap<QString, QString> state() const
    {
        QMap<QString, QString> out;
        QFile f(statePath);
        if (!f.open(QIODevice::ReadOnly))
            return out;
        for (const QByteArray &l : f.readAll().split('\n')) {
            const int eq = l.indexOf('=');
            if (eq > 0 && !l.startsWith('#'))
                out.insert(QString::fromLatin1(l.left(eq)), QString::fromLatin1(l.mid(eq + 1)));
        }
        return out;
    }

    const QString link;
    const QString statePath;
    const QString logPath;
    QProcess proc;
};

// ---- the window ----

template <typename T = QWidget>
T *child(MainWindow &w, const QString &name)
{
    return w.findChild<T *>(name);
}
inline QPushButton *button(MainWindow &w, const char *name) { return child<QPushButton>(w, QLatin1String(name)); }
inline QTimer *timer(MainWindow &w, const char *name) { return child<QTimer>(w, QLatin1String(name)); }
inline QString caption(MainWindow &w, const char *name) { return button(w, name)->text(); }
inline QString text(MainWindow &w, const char *name) { return child<QLineEdit>(w, QLatin1String(name))->text(); }
inline int index(MainWindow &w, const char *name) { return child<QComboBox>(w, QLatin1String(name))->currentIndex(); }
inline QString styleOf(MainWindow &w, const QString &name) { return child(w, name)->styleSheet(); }

// Types the device path and clicks the connect button.
inline bool connectTo(MainWindow &w, const QString &path)
{
    child<QComboBox>(w, QStringLiteral("serialPortInfoListBox"))->setEditText(path);
    button(w, "connect")->click();
    return caption(w, "connect") == captionConnected;
}

inline bool anySequenceTimerActive(MainWindow &w)
{
    for (const char *name : {"scanAllTimer", "writeAllTimer", "scanTimer", "writeTimer"})
        if (timer(w, name)->isActive())
            return true;
    return false;
}

// One parameter of the form as the scan fills it and the write sends it:
// the value written by the tests and the module's factory value, both in
// the module's reply form.
struct Param {
    const char *field;
    bool choice;
    QString written;
    QString factory;
    int writtenIndex; // choice lists: the form's index of `written`
    int factoryIndex;
};

// In the order of the write sequence (the mode first).
inline const QList<Param> &params()
{
    static const QList<Param> list = {
        {"comboBox_mode", true, "client", "server", 2, 1},
        {"lineEdit_ip", false, "10.0.0.2", "192.168.0.1", -1, -1},
        {"lineEdit_mask", false, "255.0.0.0", "255.255.255.0", -1, -1},
        {"lineEdit_gateway", false, "10.0.0.1", "0.0.0.0", -1, -1},
        {"lineEdit_portTCP", false, "10502", "502", -1, -1},
        {"comboBox", true, "odd", "none", 2, 1},
        {"comboBox_speed", true, "115200", "9600", 8, 4},
        {"comboBox_2", true, "2", "1", 2, 1},
        {"lineEdit_timewait", false, "2500", "1000", -1, -1},
        {"lineEdit_ipservertcp", false, "10.0.0.9", "192.168.0.10", -1, -1},
        {"lineEdit_timeout", false, "120", "180", -1, -1},
        {"lineEdit_rtu_virtual_id", false, "17", "1", -1, -1},
        {"lineEdit_tcp_id", false, "5", "off", -1, -1},
    };
    return list;
}

// The change lines that a write of the filled form sends, "reset" last.
inline QByteArrayList filledWriteLines()
{
    return {"CHANGE MODE TCP:CLIENT",       "CHANGE IP:10.0.0.2",          "CHANGE MASK:255.0.0.0",
            "CHANGE GATEWAY:10.0.0.1",      "CHANGE PORT TCP:10502",       "CHANGE PARITY:odd",
            "CHANGE SPEED RS485:115200",    "CHANGE STOP BIT:2",           "change timeout response:2500",
            "CHANGE IP SERVER TCP:10.0.0.9", "CHANGE TIMEOUT TCP:120",     "change rtu virtual id:17",
            "change tcp slave id:5",        "reset"};
}

inline const QByteArrayList &scanLines()
{
    static const QByteArrayList lines = {"MODE TCP",    "version",          "MAC",           "ip",
                                         "MASK",        "GATEWAY",          "PORT TCP",      "parity",
                                         "SPEED RS485", "STOP BIT",         "timeout response",
                                         "IP SERVER TCP", "TIMEOUT TCP",    "rtu virtual id",
                                         "tcp slave id"};
    return lines;
}

// Fills the form with values that differ from the factory ones in every
// parameter and that the module accepts.
inline void fillForm(MainWindow &w)
{
    for (const Param &p : params()) {
        if (p.choice) {
            child<QComboBox>(w, QLatin1String(p.field))->setCurrentIndex(p.writtenIndex);
        } else if (QLatin1String(p.field) == QLatin1String("lineEdit_tcp_id")) {
            auto *box = child<QCheckBox>(w, QStringLiteral("checkBox"));
            if (box->isChecked())
                box->click();
            child<QLineEdit>(w, QLatin1String(p.field))->setText(p.written);
        } else {
            child<QLineEdit>(w, QLatin1String(p.field))->setText(p.written);
        }
    }
}

// Whether the form shows, for each parameter of params(), the written value
// (`written[i]`) or the factory one; returns a description of the first
// difference, or an empty text.
inline QString formDiffers(MainWindow &w, const QVector<bool> &written)
{
    for (int i = 0; i < params().size(); ++i) {
        const Param &p = params()[i];
        const bool isNew = written.value(i);
        const QString name = QLatin1String(p.field);
        if (p.choice) {
            const int want = isNew ? p.writtenIndex : p.factoryIndex;
            if (index(w, p.field) != want)
                return QStringLiteral("%1: index %2, expected %3").arg(name).arg(index(w, p.field)).arg(want);
        } else if (name == QLatin1String("lineEdit_tcp_id")) {
            const bool off = child<QCheckBox>(w, QStringLiteral("checkBox"))->isChecked();
            const QString shown = off ? QStringLiteral("off") : text(w, p.field);
            const QString want = isNew ? p.written : p.factory;
            if (shown != want)
                return QStringLiteral("%1: %2, expected %3").arg(name, shown, want);
        } else {
            const QString want = isNew ? p.written : p.factory;
            if (text(w, p.field) != want)
                return QStringLiteral("%1: '%2', expected '%3'").arg(name, text(w, p.field), want);
        }
    }
    if (text(w, "lineEdit_version") != QLatin1String("2.0.1"))
        return QStringLiteral("lineEdit_version: '%1'").arg(text(w, "lineEdit_version"));
    if (text(w, "lineEdit_MAC") != QLatin1String("02:00:00:00:00:01"))
        return QStringLiteral("lineEdit_MAC: '%1'").arg(text(w, "lineEdit_MAC"));
    return QString();
}

// Clicks a sequence's button and runs its timer at `pace` from then on.
inline void startSequence(MainWindow &w, const char *buttonName, const char *timerName, int pace)
{
    button(w, buttonName)->click();
    QVERIFY2(timer(w, timerName)->isActive(), timerName);
    timer(w, timerName)->setInterval(pace);
}

inline bool waitIdle(MainWindow &w, const char *timerName, int ms)
{
    return QTest::qWaitFor([&] { return !timer(w, timerName)->isActive(); }, ms);
}

// The form after the loss of the port or a closed connection: the port
// closed, every caption at rest, the connection buttons disabled, no
// sequence running.
inline void verifyDisconnected(MainWindow &w, bool serialOpen)
{
    QVERIFY(!serialOpen);
    QCOMPARE(caption(w, "connect"), captionDisconnected);
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    QCOMPARE(caption(w, "applyButton"), captionWrite);
    for (const char *name : {"scan_parameters", "applyButton", "Reset", "reset_allparameters"})
        QVERIFY2(!button(w, name)->isEnabled(), name);
    QVERIFY(button(w, "scanport")->isEnabled());
    QVERIFY(!anySequenceTimerActive(w));
}

// Connects to `port` and runs one scan at the real pace: sixteen ticks of
// one second, done in at least 15990 ms and less than `atMostMs`.
inline void connectAndScanAtRealPace(MainWindow &w, const QString &port, qint64 atMostMs)
{
    QVERIFY(connectTo(w, port));
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Connected"));
    QElapsedTimer clock;
    clock.start();
    button(w, "scan_parameters")->click();
    QVERIFY(QTest::qWaitFor([&] { return caption(w, "scan_parameters") == captionScan; }, 20000));
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= 15990 && took < atMostMs, qPrintable(QString::number(took)));
}

// Connects again once the device is back and runs a whole scan at `pace`;
// the form must then show, parameter by parameter, the written value or
// the factory one, with no box on the way.
inline void reconnectAndScan(MainWindow &w, SimProcess &sim, BoxWatcher &boxes, const QVector<bool> &written,
                             int pace)
{
    QVERIFY(sim.waitFor(QStringLiteral("BACK"), 1, 5000));
    QVERIFY(connectTo(w, sim.link));
    const int rxBefore = sim.received().size();
    const int boxesBefore = boxes.count();
    startSequence(w, "scan_parameters", "scanAllTimer", pace);
    QVERIFY(waitIdle(w, "scanAllTimer", 16 * pace + 3000));
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    const QString diff = formDiffers(w, written);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(sim.received().mid(rxBefore), scanLines());
    QCOMPARE(boxes.count(), boxesBefore);
    QVERIFY(MainWindowProbe(w).serial().isOpen());
}

} // namespace simharness
