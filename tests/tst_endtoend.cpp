// A whole session against the simulated module at the real pace: connect,
// scan, change the IP address and the speed, write, let the module restart,
// reconnect and scan the new values back.
#include <QtTest>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

#include "boxwatcher.h"
#include "probe.h"
#include "simprocess.h"

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private:
    static QPushButton *button(MainWindow &w, const char *name) { return w.findChild<QPushButton *>(name); }
    static QLineEdit *edit(MainWindow &w, const char *name) { return w.findChild<QLineEdit *>(name); }
    static QComboBox *combo(MainWindow &w, const char *name) { return w.findChild<QComboBox *>(name); }
    static bool connectTo(MainWindow &w, const QString &path)
    {
        combo(w, "serialPortInfoListBox")->setEditText(path);
        button(w, "connect")->click();
        return button(w, "connect")->text() == QStringLiteral("Отсоединиться");
    }
    // Intervals between consecutive commands, in ms.
    static QList<double> gaps(const QVector<SimProcess::Received> &r, int from, int to)
    {
        QList<double> out;
        for (int i = from + 1; i < to; ++i)
            out << (r[i].at - r[i - 1].at) * 1000;
        return out;
    }

private slots:
    void sessionAtRealPace();
};

void tst_EndToEnd::sessionAtRealPace()
{
    QTemporaryDir dir;
    SimProcess sim(dir.path());
    QVERIFY(sim.start({"--restart-delay", "800"}));
    BoxWatcher boxes;
    MainWindow w;
    w.show();
    QVERIFY(connectTo(w, sim.link()));
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Connected"));

    // Scan at the real pace: sixteen ticks of one second.
    QElapsedTimer clock;
    clock.start();
    button(w, "scan_parameters")->click();
    QVERIFY(QTest::qWaitFor([&] { return button(w, "scan_parameters")->text() == QStringLiteral("Сканировать"); },
                            20000));
    const qint64 scanTook = clock.elapsed();
    QVERIFY2(scanTook >= 15990 && scanTook < 17000, qPrintable(QString::number(scanTook)));
    QCOMPARE(edit(w, "lineEdit_ip")->text(), QStringLiteral("192.168.0.1"));
    QCOMPARE(edit(w, "lineEdit_MAC")->text(), QStringLiteral("02:00:00:00:00:01"));
    QCOMPARE(edit(w, "lineEdit_version")->text(), QStringLiteral("2.0.1"));
    QCOMPARE(combo(w, "comboBox_speed")->currentIndex(), 4);
    QCOMPARE(combo(w, "comboBox_mode")->currentIndex(), 1);
    QCOMPARE(edit(w, "lineEdit_timewait")->text(), QStringLiteral("1000"));
    QCOMPARE(boxes.count(), 0);
    auto received = sim.received();
    QCOMPARE(received.size(), 15);
    // The module sees the commands one second apart (the benchmark measures
    // the pace closely; here the machine may be busy with other tests).
    for (double gap : gaps(received, 0, received.size()))
        QVERIFY2(gap > 900 && gap < 1100, qPrintable(QString::number(gap)));

    // The engineer changes the address and the speed and writes.
    edit(w, "lineEdit_ip")->setText(QStringLiteral("192.168.0.77"));
    combo(w, "comboBox_speed")->setCurrentIndex(8);
    edit(w, "lineEdit_timewait")->setText(QStringLiteral("25000"));
    button(w, "applyButton")->click();
    QVERIFY(boxes.waitForCount(1, 32000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Результы изменения"));
    QVERIFY(QTest::qWaitFor([&] { return sim.received().size() == 15 + 14; }, 2000));
    received = sim.received();
    QCOMPARE(received.size(), 15 + 14);
    QCOMPARE(received[15 + 1].command, QByteArray("CHANGE IP:192.168.0.77"));
    QCOMPARE(received[15 + 6].command, QByteArray("CHANGE SPEED RS485:115200"));
    QCOMPARE(received.last().command, QByteArray("reset"));
    for (double gap : gaps(received, 15, received.size()))
        QVERIFY2(gap > 1900 && gap < 2100, qPrintable(QString::number(gap)));

    // The module restarts: the port goes away quietly...
    QVERIFY(QTest::qWaitFor([&] { return button(w, "connect")->text() == QStringLiteral("Cоединиться"); }, 3000));
    QTest::qWait(100);
    QCOMPARE(boxes.count(), 1);
    // ...and comes back at the same link with the new values.
    QVERIFY(QTest::qWaitFor([&] { return sim.deviceUp(); }, 5000));
    QVERIFY(connectTo(w, sim.link()));
    button(w, "scan_parameters")->click();
    w.findChild<QTimer *>("scanAllTimer")->setInterval(400);
    QVERIFY(QTest::qWaitFor([&] { return button(w, "scan_parameters")->text() == QStringLiteral("Сканировать"); },
                            12000));
    QCOMPARE(edit(w, "lineEdit_ip")->text(), QStringLiteral("192.168.0.77"));
    QCOMPARE(combo(w, "comboBox_speed")->currentIndex(), 8);
    QCOMPARE(edit(w, "lineEdit_timewait")->text(), QStringLiteral("25000"));
    QCOMPARE(boxes.count(), 1);
}

QTEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
