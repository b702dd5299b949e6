#pragma once
// The gateway-sim program as a test fixture: one process on a pseudo-terminal
// with its link, state file and log in a directory of the test's own, and
// the log read back to see the bytes that the module received; and the
// checks of a session against it.
//
// start() runs GATEWAY_SIM_PATH, which the support library is built with
// wherever gateway-sim is.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

class Modals;
class MainWindow;

namespace support {

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
    // `dir` holds the link, the state file and the log: a temporary one of
    // its own by default. `port`: what the window connects to when the
    // simulator was started by someone else (a COM port that Wine maps to
    // its link); the link itself by default.
    explicit SimProcess(const QString &dir = QString(), const QString &name = QStringLiteral("gw"),
                        const QString &port = QString())
        : ownDir(dir.isEmpty() ? new QTemporaryDir : nullptr)
        , base((ownDir ? ownDir->path() : dir) + QLatin1Char('/') + name)
        , link(port.isEmpty() ? base + QStringLiteral("-tty") : port)
        , statePath(base + QStringLiteral(".state"))
        , logPath(base + QStringLiteral(".log"))
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
    // The times of the events of `kind`, in ms since the simulator started.
    QList<qint64> times(const QString &kind) const
    {
        QList<qint64> out;
        for (const LogEvent &e : events())
            if (e.kind == kind)
                out << e.ms;
        return out;
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

private:
    const std::unique_ptr<QTemporaryDir> ownDir;
    const QString base;

public:
    const QString link;
    const QString statePath;
    const QString logPath;
    QProcess proc;
};

// Starts `sim` with the options `args` and connects the window to it.
bool startAndConnect(MainWindow &w, SimProcess &sim, const QStringList &args = {}, int restartDelayMs = 300);

// The module's stored values (its state file) against the written ones
// for the parameters in `written`, the factory ones for the others; returns
// a description of the first difference, or an empty text.
QString stateDiffers(const SimProcess &sim, const QVector<bool> &written);
// Writes a state file that holds, for each parameter of params(), the
// written value (`written[i]`) or the factory one.
bool writeState(const QString &path, const QVector<bool> &written);

// Connects again once the device is back, which clears a pending reboot,
// and runs a whole scan, each tick `pace` after the reply to the previous
// one (SequenceWatch::paceByReplies); the form must then show, parameter by
// parameter, the written value or the factory one, with no box on the way.
void reconnectAndScan(MainWindow &w, SimProcess &sim, Modals &boxes, const QVector<bool> &written, int pace);

} // namespace support
