#include "simprocess.h"

#include "expected.h"
#include "modals.h"
#include "probe.h"
#include "window.h"

namespace support {

bool startAndConnect(MainWindow &w, SimProcess &sim, const QStringList &args, int restartDelayMs)
{
    return sim.start(args, restartDelayMs) && connectTo(w, sim.link);
}

QString stateDiffers(const SimProcess &sim, const QVector<bool> &written)
{
    const auto state = sim.state();
    for (int i = 0; i < params().size(); ++i) {
        const Param &p = params()[i];
        const QString want = written.value(i) ? p.written : p.factory;
        const QString got = state.value(QLatin1String(p.stateKey));
        if (got != want)
            return QStringLiteral("%1=%2, expected %3").arg(QLatin1String(p.stateKey), got, want);
    }
    return QString();
}

bool writeState(const QString &path, const QVector<bool> &written)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < params().size(); ++i) {
        const Param &p = params()[i];
        f.write(QByteArray(p.stateKey) + '=' + (written.value(i) ? p.written : p.factory).toLatin1() + '\n');
    }
    return f.error() == QFile::NoError;
}

void reconnectAndScan(MainWindow &w, SimProcess &sim, Modals &boxes, const QVector<bool> &written, int pace)
{
    QTRY_VERIFY_WITH_TIMEOUT(sim.count(QStringLiteral("BACK")) >= 1, 5000);
    QVERIFY(connectTo(w, sim.link));
    QVERIFY(!MainWindowProbe(w).resetPending());
    const int rxBefore = sim.received().size();
    const int boxesBefore = boxes.count();
    SequenceWatch scan(w, "scanAllTimer");
    scan.paceByReplies(pace);
    QVERIFY(startScan(w, pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 16 * pace + 10000);
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    const QString diff = formDiffers(w, written);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(scan.sent(sim.received().mid(rxBefore)), atTicks(scanTicks(), scanLines()));
    QCOMPARE(boxes.count(), boxesBefore);
    QVERIFY(MainWindowProbe(w).serial().isOpen());
}

} // namespace support
