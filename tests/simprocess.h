#pragma once

// One run of the simulated module (gateway-sim) with its link, state file
// and log in a directory of the test's.

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

class SimProcess
{
public:
    explicit SimProcess(const QString &dir) : dir(dir) {}
    ~SimProcess() { stop(); }
    QString link() const { return dir + "/tty"; }
    QString state() const { return dir + "/state"; }
    QString logPath() const { return dir + "/log"; }

    bool start(const QStringList &extra = {})
    {
        QStringList args{"--link", link(), "--state", state(), "--log", logPath(), "--quiet"};
        args << extra;
        proc.start(QStringLiteral(GATEWAY_SIM_PATH), args);
        if (!proc.waitForStarted(3000))
            return false;
        QElapsedTimer t;
        t.start();
        while (!proc.canReadLine() && t.elapsed() < 3000)
            proc.waitForReadyRead(100);
        return proc.readLine().startsWith("gateway-sim: /dev/") && QFileInfo(link()).isSymLink();
    }
    void stop()
    {
        if (proc.state() == QProcess::NotRunning)
            return;
        proc.terminate();
        if (!proc.waitForFinished(3000)) {
            proc.kill();
            proc.waitForFinished(1000);
        }
    }
    // The commands the module received, with their times in seconds.
    struct Received {
        double at;
        QByteArray command;
    };
    QVector<Received> received() const
    {
        QVector<Received> out;
        QFile f(logPath());
        if (!f.open(QIODevice::ReadOnly))
            return out;
        static const QRegularExpression rx(QStringLiteral("^(\\d+\\.\\d+) RX \"(.*)\"$"));
        for (const QByteArray &line : f.readAll().split('\n')) {
            const auto m = rx.match(QString::fromLatin1(line));
            if (m.hasMatch())
                out.append({m.captured(1).toDouble(), m.captured(2).toLatin1()});
        }
        return out;
    }
    QByteArrayList commands() const
    {
        QByteArrayList out;
        for (const Received &r : received())
            out << r.command;
        return out;
    }
    // Whether the device is there (the link points at an existing device).
    bool deviceUp() const { return QFileInfo::exists(link()); }

    QString dir;
    QProcess proc;
};
