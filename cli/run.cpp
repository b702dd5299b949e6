#include "run.h"

#include <QDateTime>
#include <QEventLoop>
#include <QJsonDocument>
#include <QSerialPortInfo>

#include "console.h"

namespace cli {

int exitCodeOf(Commissioning::Outcome outcome)
{
    switch (outcome) {
    case Commissioning::Outcome::Ok:
        return Done;
    case Commissioning::Outcome::Refused:
    case Commissioning::Outcome::Mismatch:
    case Commissioning::Outcome::BadValue:
        return Failed;
    case Commissioning::Outcome::Silent:
    case Commissioning::Outcome::Lost:
    case Commissioning::Outcome::Busy:
    case Commissioning::Outcome::NotBack:
        return NoModule;
    case Commissioning::Outcome::Interrupted:
        return Interrupted;
    }
    return Failed;
}

QString resultWord(Commissioning::Outcome outcome)
{
    switch (outcome) {
    case Commissioning::Outcome::Ok:
        return QStringLiteral("ok");
    case Commissioning::Outcome::Refused:
        return QStringLiteral("refused");
    case Commissioning::Outcome::Mismatch:
    case Commissioning::Outcome::BadValue: // what was read is not what it should be
        return QStringLiteral("mismatch");
    case Commissioning::Outcome::Silent:
        return QStringLiteral("silent");
    case Commissioning::Outcome::Lost:
    case Commissioning::Outcome::NotBack: // gone with its reboot and not back
        return QStringLiteral("lost");
    case Commissioning::Outcome::Busy:
        return QStringLiteral("busy");
    case Commissioning::Outcome::Interrupted:
        return QStringLiteral("interrupted");
    }
    return QString();
}

QJsonObject toJson(const ModuleValues &values)
{
    QJsonObject object;
    for (const proto::Param p : values.params())
        object.insert(proto::nameOf(p), values.value(p));
    return object;
}

void printJson(const QJsonObject &document)
{
    console::out(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
}

void message(const QString &text)
{
    console::err(QStringLiteral("gateway-cli: ") + text + QLatin1Char('\n'));
}

QString portArgument(const QSerialPortInfo &info)
{
#ifdef Q_OS_WIN
    return info.portName();
#else
    return info.systemLocation();
#endif
}

QStringList listedPorts()
{
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names << portArgument(info);
    return names;
}

int refuse(const QStringList &faults)
{
    for (const QString &fault : faults)
        message(fault);
    message(QStringLiteral("nothing was sent"));
    return Usage;
}

QString escaped(const QByteArray &bytes)
{
    QString out;
    for (const char c : bytes) {
        switch (c) {
        case '\r': out += QLatin1String("\\r"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        default:
            if (c >= 0x20 && c < 0x7f)
                out += QLatin1Char(c);
            else
                out += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

void runAll(const QList<Commissioning *> &jobs, const Common &common)
{
    QEventLoop loop;
    int running = 0;
    for (Commissioning *job : jobs) {
        ++running;
        QObject::connect(job, &Commissioning::finished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
        if (common.verbose) {
            const QString port = job->port();
            QObject::connect(&job->moduleSession(), &ModuleSession::traffic, &loop,
                             [port](bool sent, const QByteArray &bytes) {
                                 console::err(QStringLiteral("%1 %2 %3 \"%4\"\n")
                                                  .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")),
                                                       port, QLatin1String(sent ? ">" : "<"), escaped(bytes)));
                             });
        }
    }
    QObject::connect(Interrupts::instance(), &Interrupts::interrupted, &loop, [&jobs] {
        for (Commissioning *job : jobs)
            job->stop();
    });
    // A Ctrl+C before the loop runs stops every job at its start.
    if (Interrupts::instance()->seen())
        for (Commissioning *job : jobs)
            job->stop();
    for (Commissioning *job : jobs)
        if (!job->isFinished())
            job->start();
    if (running > 0)
        loop.exec();
}

} // namespace cli
