#include "window.h"

#include <QStatusBar>

#include <memory>

#include "probe.h"
#include "simprocess.h"

namespace support {

void failNoChild(const QObject &parent, const QString &name, const char *className)
{
    const QString what = QStringLiteral("no %1 named \"%2\" in %3 \"%4\"")
                             .arg(QLatin1String(className), name,
                                  QLatin1String(parent.metaObject()->className()), parent.objectName());
    QTest::qFail(qPrintable(what), __FILE__, __LINE__);
}

void fillForm(MainWindow &w)
{
    for (const Param &p : params()) {
        const QString field = QLatin1String(p.field);
        if (p.choice) {
            child<QComboBox>(w, field)->setCurrentIndex(p.writtenIndex);
            continue;
        }
        if (field == QLatin1String("lineEdit_tcp_id")) {
            auto *box = child<QCheckBox>(w, QStringLiteral("checkBox"));
            if (box->isChecked())
                box->click();
        }
        child<QLineEdit>(w, field)->setText(p.written);
    }
}

bool startSequence(MainWindow &w, const char *buttonName, const char *timerName, int pace)
{
    button(w, buttonName)->click();
    timer(w, timerName)->setInterval(pace);
    return timer(w, timerName)->isActive();
}

bool startScan(MainWindow &w, int pace)
{
    return startSequence(w, "scan_parameters", "scanAllTimer", pace) && caption(w, "scan_parameters") == captionStopScan;
}

bool startWrite(MainWindow &w, int pace)
{
    fillForm(w);
    return startSequence(w, "applyButton", "writeAllTimer", pace) && caption(w, "applyButton") == captionStopWrite;
}

void paceAfterStep(MainWindow &w, const char *timerName, int step, int ms)
{
    QTimer *t = timer(w, timerName);
    const bool scan = qstrcmp(timerName, "scanAllTimer") == 0;
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(t, &QTimer::timeout, &w, [&w, t, scan, step, ms, connection] {
        if ((scan ? MainWindowProbe(w).scanAllStep() : MainWindowProbe(w).writeAllStep()) != step)
            return;
        t->setInterval(ms);
        QObject::disconnect(*connection);
    });
}

QString running(MainWindow &w)
{
    QStringList out;
    for (const char *name : sequenceTimers) {
        if (!timer(w, name)->isActive())
            continue;
        if (qstrcmp(name, "scanAllTimer") == 0)
            out << QStringLiteral("%1 at step %2").arg(QLatin1String(name)).arg(MainWindowProbe(w).scanAllStep());
        else if (qstrcmp(name, "writeAllTimer") == 0)
            out << QStringLiteral("%1 at step %2").arg(QLatin1String(name)).arg(MainWindowProbe(w).writeAllStep());
        else
            out << QLatin1String(name);
    }
    return out.join(QStringLiteral(", "));
}

static bool isChoice(const QString &field) { return field.startsWith(QLatin1String("comboBox")); }

QString shown(MainWindow &w, const QString &field)
{
    return isChoice(field) ? QString::number(index(w, field)) : text(w, field);
}

QString factoryShown(const QString &field)
{
    if (field == QLatin1String("lineEdit_version"))
        return moduleVersion;
    if (field == QLatin1String("lineEdit_MAC"))
        return moduleMac;
    // "off": the box ticked and the field empty.
    if (field == QLatin1String("lineEdit_tcp_id"))
        return QString();
    for (const Param &p : params())
        if (field == QLatin1String(p.field))
            return p.choice ? QString::number(p.factoryIndex) : p.factory;
    return QStringLiteral("(no parameter %1)").arg(field);
}

QString clearedShown(const QString &field) { return isChoice(field) ? QStringLiteral("0") : QString(); }

QString formDiffers(MainWindow &w, const QVector<bool> &written)
{
    for (int i = 0; i < params().size(); ++i) {
        const Param &p = params()[i];
        const bool isNew = written.value(i);
        const QString name = QLatin1String(p.field);
        if (p.choice) {
            const int want = isNew ? p.writtenIndex : p.factoryIndex;
            if (index(w, name) != want)
                return QStringLiteral("%1: index %2, expected %3").arg(name).arg(index(w, name)).arg(want);
        } else if (name == QLatin1String("lineEdit_tcp_id")) {
            const bool off = child<QCheckBox>(w, QStringLiteral("checkBox"))->isChecked();
            const QString seen = off ? QStringLiteral("off") : text(w, name);
            const QString want = isNew ? p.written : p.factory;
            if (seen != want)
                return QStringLiteral("%1: %2, expected %3").arg(name, seen, want);
        } else {
            const QString want = isNew ? p.written : p.factory;
            if (text(w, name) != want)
                return QStringLiteral("%1: '%2', expected '%3'").arg(name, text(w, name), want);
        }
    }
    if (text(w, "lineEdit_version") != moduleVersion)
        return QStringLiteral("lineEdit_version: '%1'").arg(text(w, "lineEdit_version"));
    if (text(w, "lineEdit_MAC") != moduleMac)
        return QStringLiteral("lineEdit_MAC: '%1'").arg(text(w, "lineEdit_MAC"));
    return QString();
}

// The two controls enabled only while disconnected.
static const char *const whileDisconnected[] = {"serialPortInfoListBox", "scanport"};
static const QString controlsFormat = QStringLiteral("port %1; %2 / %3 / %4; enabled: %5; running: %6");

QString controls(MainWindow &w)
{
    QStringList enabled;
    for (const char *name : connectionButtons)
        if (child(w, name)->isEnabled())
            enabled << QLatin1String(name);
    for (const char *name : whileDisconnected)
        if (child(w, name)->isEnabled())
            enabled << QLatin1String(name);
    return controlsFormat.arg(MainWindowProbe(w).serial().isOpen() ? QStringLiteral("open") : QStringLiteral("closed"),
                              caption(w, "connect"), caption(w, "scan_parameters"), caption(w, "applyButton"),
                              enabled.join(QLatin1Char(' ')), running(w));
}

QString atRest(bool connected)
{
    QStringList enabled;
    for (const char *name : connectionButtons)
        if (connected)
            enabled << QLatin1String(name);
    for (const char *name : whileDisconnected)
        if (!connected)
            enabled << QLatin1String(name);
    return controlsFormat.arg(connected ? QStringLiteral("open") : QStringLiteral("closed"),
                              connected ? captionConnected : captionDisconnected, captionScan, captionWrite,
                              enabled.join(QLatin1Char(' ')), QString());
}

SequenceWatch::SequenceWatch(MainWindow &w, const char *timerName)
    : timer(support::timer(w, QLatin1String(timerName)))
    , port(MainWindowProbe(w).serial())
{
    connect(&port, &QSerialPort::bytesWritten, this, [this](qint64 n) { flushed += n; });
    // After the window's own slots: the tick's line is in the port by then.
    connect(timer, &QTimer::timeout, this, &SequenceWatch::tick);
    connect(&port, &QSerialPort::readyRead, this, [this] {
        replyArrived = true;
        replyMayBeTaken();
    });
    // A reply without a line end is taken after a gap of silence.
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, this, &SequenceWatch::replyMayBeTaken);
}

QStringList SequenceWatch::sent(const QByteArrayList &lines) const
{
    QStringList out;
    for (int i = 0; i < qMax(lines.size(), writes.size()); ++i) {
        const QString line = i < lines.size() ? QString::fromLatin1(lines[i]) : QStringLiteral("(nothing)");
        if (i >= writes.size())
            out << QStringLiteral("(no tick): %1").arg(line);
        else if (i >= lines.size() || writes[i].second != lines[i].size())
            out << QStringLiteral("%1: %2 bytes written, %3 received").arg(writes[i].first).arg(writes[i].second).arg(line);
        else
            out << QStringLiteral("%1: %2").arg(writes[i].first).arg(line);
    }
    return out;
}

void SequenceWatch::paceByReplies(int ms, int wait)
{
    paceMs = ms;
    waitMs = wait;
    poll.start();
}

void SequenceWatch::tick()
{
    if (over)
        return;
    ++ticks;
    const qint64 total = flushed + port.bytesToWrite();
    const bool wrote = total > accounted;
    if (wrote)
        writes.append({ticks, total - accounted});
    accounted = total;
    over = ended();
    if (paceMs <= 0 || over)
        return;
    awaitingReply = false;
    if (holds.contains(ticks)) {
        timer->setInterval(holds.value(ticks));
    } else if (wrote) {
        awaitingReply = true;
        replyArrived = false;
        timer->setInterval(waitMs);
    } else if (timer->interval() != paceMs) {
        timer->setInterval(paceMs);
    }
}

void SequenceWatch::replyMayBeTaken()
{
    over = over || ended();
    if (over)
        poll.stop();
    if (over || !awaitingReply || !replyArrived || port.bytesAvailable() > 0)
        return;
    awaitingReply = false;
    // (Restarts the timer: the next tick comes `paceMs` from now.)
    if (timer->isActive())
        timer->setInterval(paceMs);
}

void connectAndScanAtRealPace(MainWindow &w, SimProcess &sim)
{
    QVERIFY(connectTo(w, sim.link));
    QCOMPARE(w.statusBar()->currentMessage(), statusConnected);
    SequenceWatch scan(w, "scanAllTimer");
    const int before = sim.received().size();
    button(w, "scan_parameters")->click();
    QCOMPARE(timer(w, "scanAllTimer")->interval(), 1000);
    // Sixteen ticks of a second, however late each comes.
    QTRY_COMPARE_WITH_TIMEOUT(caption(w, "scan_parameters"), captionScan, 40000);
    QCOMPARE(scan.ticks, 16);
    QCOMPARE(scan.sent(sim.received().mid(before)), atTicks(scanTicks(), scanLines()));
}

} // namespace support
