#include "window.h"

#include <QElapsedTimer>
#include <QStatusBar>

#include "probe.h"

namespace support {

void startSequence(MainWindow &w, const char *buttonName, const char *timerName, int pace)
{
    button(w, buttonName)->click();
    QVERIFY2(timer(w, timerName)->isActive(), timerName);
    timer(w, timerName)->setInterval(pace);
}

bool anySequenceTimerActive(MainWindow &w)
{
    for (const char *name : sequenceTimers)
        if (timer(w, name)->isActive())
            return true;
    return false;
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
    qWarning("no parameter %s", qPrintable(field));
    return QStringLiteral("(no parameter)");
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

// The controls of a connection state at rest.
static void verifyAtRest(MainWindow &w, bool connected)
{
    QCOMPARE(MainWindowProbe(w).serial().isOpen(), connected);
    QCOMPARE(caption(w, "connect"), connected ? captionConnected : captionDisconnected);
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    QCOMPARE(caption(w, "applyButton"), captionWrite);
    for (const char *name : connectionButtons)
        QVERIFY2(button(w, name)->isEnabled() == connected, name);
    QCOMPARE(child(w, "serialPortInfoListBox")->isEnabled(), !connected);
    QCOMPARE(button(w, "scanport")->isEnabled(), !connected);
    QVERIFY(!anySequenceTimerActive(w));
}

void verifyDisconnected(MainWindow &w) { verifyAtRest(w, false); }

void verifyConnectedIdle(MainWindow &w) { verifyAtRest(w, true); }

void connectAndScanAtRealPace(MainWindow &w, const QString &port, qint64 atMostMs)
{
    QVERIFY(connectTo(w, port));
    QCOMPARE(w.statusBar()->currentMessage(), statusConnected);
    QElapsedTimer clock;
    clock.start();
    button(w, "scan_parameters")->click();
    QVERIFY(QTest::qWaitFor([&] { return caption(w, "scan_parameters") == captionScan; }, 20000));
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= 15990 && took < atMostMs, qPrintable(QString::number(took)));
}

} // namespace support
