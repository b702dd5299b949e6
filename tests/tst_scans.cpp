// The scan and the module's replies, driven through the window's buttons
// against a scripted module on a pseudo-terminal. The sequence timers are
// sped up once started.
#include <QtTest>

#include <QProgressBar>

#include "modals.h"
#include "probe.h"
#include "responder.h"
#include "window.h"

using namespace support;

namespace {

constexpr int Pace = 200; // ms per step in these tests

// A module that answers nothing.
QList<Responder::Chunk> silentModule(const QByteArray &) { return {}; }

// What the fields of a scan show, in the order of scanFields.
QStringList scanShown(MainWindow &w)
{
    QStringList out;
    for (const char *field : scanFields)
        out << shown(w, field);
    return out;
}

} // namespace

class tst_Scans : public QObject
{
    Q_OBJECT

private slots:
    void fullScan();
    void scanSlaveIdNumber();
    void scanStartClearsForm();
    void scanStoppedByUser();
    void scanBadValues();
    void scanSilentAfterEarlierReply();
    void replyPieces_data();
    void replyPieces();
    void scanLateReply();
    void emptyReply();
    void replyWithoutSequenceOnlyStored();
    void scanStopsWrite();
    void progressFollowsSequences();
    void variantScans_data();
    void variantScans();
};

void tst_Scans::fullScan()
{
    Responder module;
    MainWindow w;
    w.show();
    QVERIFY(connectTo(w, module));
    QVERIFY(startScan(w, Pace));
    // While the scan runs, each answered field turns green.
    QTRY_COMPARE_WITH_TIMEOUT(styleOf(w, "lineEdit_ip"), styleOk, 3000);
    QCOMPARE(styleOf(w, "comboBox_mode"), styleOk);
    QCOMPARE(styleOf(w, "lineEdit_MAC"), styleOk);
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 6000);
    QCOMPARE(module.commands, scanLines());
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    // The module's values (Responder::values()); the lists show their index.
    QCOMPARE(scanShown(w), QStringList({"2", moduleVersion, moduleMac, "192.168.1.20", "255.255.0.0", "192.168.1.1",
                                        "10502", "3", "5", "2", "2500", "192.168.1.30", "120", "17", ""}));
    // "off": the box ticked, the field empty, disabled and lavender.
    QVERIFY(child<QCheckBox>(w, "checkBox")->isChecked());
    QVERIFY(!child(w, "lineEdit_tcp_id")->isEnabled());
    // The end of the scan resets the highlights.
    for (const QString &name : paramFields) {
        const QString expected = (name == "lineEdit_MAC" || name == "lineEdit_tcp_id") ? styleInactive : QString();
        QCOMPARE(styleOf(w, name), expected);
    }
    QCOMPARE(styleOf(w, "lineEdit_version"), styleInactive);
    // The commands went out one step apart, the first one step after the click.
    for (int i = 1; i < module.times.size(); ++i)
        QVERIFY(module.times[i] - module.times[i - 1] >= Pace - 30);
}

void tst_Scans::scanSlaveIdNumber()
{
    Responder module(Responder::goodModuleExcept({{"tcp slave id", {{5, "tcp slave id 17\r\n"}}}}));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    child<QCheckBox>(w, "checkBox")->click();
    QVERIFY(!child(w, "lineEdit_tcp_id")->isEnabled());
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 6000);
    QCOMPARE(text(w, "lineEdit_tcp_id"), QStringLiteral("17"));
    QVERIFY(!child<QCheckBox>(w, "checkBox")->isChecked());
    QVERIFY(child(w, "lineEdit_tcp_id")->isEnabled());
    QCOMPARE(styleOf(w, "lineEdit_tcp_id"), QString());
}

void tst_Scans::scanStartClearsForm()
{
    Responder module(silentModule);
    Modals boxes;
    boxes.holdMs = 100000; // keep the no-connection box open: look at the form under it
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    child<QLineEdit>(w, "lineEdit_MAC")->setText("x");
    child<QLineEdit>(w, "lineEdit_version")->setText("y");
    child(w, "lineEdit_ip")->setStyleSheet(styleError);
    child(w, "lineEdit_timewait")->setStyleSheet(styleError);
    button(w, "scan_parameters")->click();
    QCOMPARE(scanShown(w), QStringList({"0", "", "", "", "", "", "", "0", "0", "0", "", "", "", "", ""}));
    QCOMPARE(styleOf(w, "lineEdit_ip"), QString());
    // These three keep their style sheets.
    QCOMPARE(styleOf(w, "lineEdit_timewait"), styleError);
    button(w, "scan_parameters")->click();
}

void tst_Scans::scanStoppedByUser()
{
    Responder module;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startScan(w, Pace));
    QTRY_VERIFY_WITH_TIMEOUT(module.commands.size() >= 4, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(text(w, "lineEdit_ip"), QStringLiteral("192.168.1.20"), 1000);
    button(w, "scan_parameters")->click();
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    QCOMPARE(running(w), QString());
    QCOMPARE(MainWindowProbe(w).scanAllStep(), 0);
    const int sent = module.commands.size();
    QTest::qWait(3 * Pace);
    QCOMPARE(module.commands.size(), sent);
    // What the scan filled stays, highlights included.
    QCOMPARE(text(w, "lineEdit_ip"), QStringLiteral("192.168.1.20"));
    QCOMPARE(styleOf(w, "lineEdit_ip"), styleOk);
}

void tst_Scans::scanBadValues()
{
    Responder module(Responder::goodModuleExcept({
        {"SPEED RS485", {{5, "SPEED RS485 9600 \r\n"}}}, // a blank after the value matches nothing
        {"MASK", {{5, "MASK \r\n"}}},                    // nothing after the separator
        {"PORT TCP", {{5, "PORT TCP 1234567\r\n"}}},     // cut at six characters
        {"tcp slave id", {{5, "tcp slave id \r\n"}}},
    }));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QString speedStyle, maskStyle;
    connect(timer(w, "scanAllTimer"), &QTimer::timeout, [&] {
        if (MainWindowProbe(w).scanAllStep() == 15) {
            speedStyle = styleOf(w, "comboBox_speed");
            maskStyle = styleOf(w, "lineEdit_mask");
        }
    });
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(styleOf(w, "lineEdit_tcp_id"), styleInactive, 6000);
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 2000);
    QCOMPARE(speedStyle, styleError);
    QCOMPARE(maskStyle, styleError);
    QCOMPARE(index(w, "comboBox_speed"), 0);
    QVERIFY(text(w, "lineEdit_mask").isEmpty());
    QCOMPARE(text(w, "lineEdit_portTCP"), QStringLiteral("123456"));
    // The scan went on to the end regardless.
    QCOMPARE(module.commands.size(), 15);
    // A scarlet field from the scan is neutral again after it.
    QCOMPARE(styleOf(w, "comboBox_speed"), QString());
}

void tst_Scans::scanSilentAfterEarlierReply()
{
    // An earlier exchange left a reply behind; a module silent in this scan
    // is still found out.
    bool silent = false;
    Responder module([&](const QByteArray &c) { return silent ? silentModule(c) : Responder::goodModule(c); });
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 6000);
    QVERIFY(!MainWindowProbe(w).answer().isEmpty());
    silent = true;
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 3000);
    QCOMPARE(boxes.seen[0].text, boxNoModule);
    QCOMPARE(caption(w, "connect"), captionDisconnected);
}

void tst_Scans::replyPieces_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<int>("pauseMs"); // between the pieces
    QTest::addColumn<QByteArray>("silent"); // a query left unanswered
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    // The reply is handled in the delivery of its LF; without one, only
    // once the line has fallen silent.
    QTest::addColumn<bool>("atLineEnd");
    const QString ip = QStringLiteral("192.168.0.10");
    QTest::newRow("CR LF") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10\r\n"} << 0 << QByteArray()
                           << "lineEdit_ip" << ip << true;
    QTest::newRow("LF") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10\n"} << 0 << QByteArray()
                        << "lineEdit_ip" << ip << true;
    QTest::newRow("no line end") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10"} << 0 << QByteArray()
                                 << "lineEdit_ip" << ip << false;
    // Adapters deliver one reply in pieces; the field gets the whole value.
    QTest::newRow("three pieces") << QByteArray("ip") << QByteArrayList{"ip 192.1", "68.0.10", "\r\n"} << 15
                                  << QByteArray() << "lineEdit_ip" << ip << true;
    QTest::newRow("MAC in pieces") << QByteArray("MAC") << QByteArrayList{"M", "AC 02:00:00", ":00:00:01\r\n"} << 10
                                   << QByteArray() << "lineEdit_MAC" << "02:00:00:00:00:01" << true;
    // A CR is not the end yet: its LF on its own is no empty reply.
    QTest::newRow("CR, then LF") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10\r", "\n"} << 15
                                 << QByteArray() << "lineEdit_ip" << ip << true;
    QTest::newRow("line end late") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10", "\r\n"} << 30
                                   << QByteArray() << "lineEdit_ip" << ip << true;
    // A late reply and the next one right behind it are two replies, each
    // cut for the step at which it came.
    QTest::newRow("late reply, the next behind it")
        << QByteArray("GATEWAY") << QByteArrayList{"MASK 255.255.0.0\r\n", "GATEWAY 192.168.1.1\r\n"} << 30
        << QByteArray("MASK") << "lineEdit_gateway" << "192.168.1.1" << true;
}

void tst_Scans::replyPieces()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArrayList, pieces);
    QFETCH(int, pauseMs);
    QFETCH(QByteArray, silent);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, atLineEnd);
    Modals boxes;
    QList<Responder::Chunk> reply;
    for (const QByteArray &piece : pieces)
        reply << Responder::Chunk{reply.isEmpty() ? 5 : pauseMs, piece};
    QList<QPair<QByteArray, QList<Responder::Chunk>>> replies{{command, reply}};
    if (!silent.isEmpty())
        replies.append({silent, {}});
    Responder module(Responder::goodModuleExcept(replies));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    // The field as each delivery at the step of `command` leaves it.
    const int step = scanLines().indexOf(command) + 1;
    QStringList atDelivery;
    QSerialPort &serial = MainWindowProbe(w).serial();
    connect(&serial, &QSerialPort::readyRead, &w, [&] {
        if (MainWindowProbe(w).scanAllStep() == step)
            atDelivery << text(w, field.toLatin1());
    });
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 6000);
    QCOMPARE(text(w, field.toLatin1()), value);
    QVERIFY(!atDelivery.isEmpty());
    if (atLineEnd)
        QCOMPARE(atDelivery.last(), value);
    else
        QVERIFY2(!atDelivery.contains(value), qPrintable(atDelivery.join('|')));
    QCOMPARE(text(w, "lineEdit_mask"), silent == "MASK" ? QString() : QStringLiteral("255.255.0.0"));
    QCOMPARE(boxes.count(), 0);
}

void tst_Scans::scanLateReply()
{
    // A reply after the next tick is taken for the next command: its first
    // characters are skipped unseen and the rest goes into the next field.
    Responder module(Responder::goodModuleExcept({{"MASK", {{500, "MASK 255.255.0.0\r\n"}}}, {"GATEWAY", {}}}));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startScan(w, Pace));
    // The reply comes half-way through the next step.
    timer(w, "scanAllTimer")->setInterval(400);
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 10000);
    QVERIFY(text(w, "lineEdit_mask").isEmpty());
    // "MASK 255.255.0.0" cut for "GATEWAY" (position 8).
    QCOMPARE(text(w, "lineEdit_gateway"), QStringLiteral(".255.0.0"));
    QCOMPARE(text(w, "lineEdit_portTCP"), QStringLiteral("10502"));
}

void tst_Scans::emptyReply()
{
    Responder module(Responder::goodModuleExcept({{"MASK", {{5, "\r\n"}}}}));
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 8000);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen[0].title, boxEmptyReply);
    QCOMPARE(boxes.seen[0].text, boxConnectionError);
    // The scan went on.
    QCOMPARE(module.commands.size(), 15);
    QCOMPARE(text(w, "lineEdit_gateway"), QStringLiteral("192.168.1.1"));
}

void tst_Scans::replyWithoutSequenceOnlyStored()
{
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{{5, "RESET done\r\n"}}; });
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    button(w, "Reset")->click();
    QTRY_COMPARE_WITH_TIMEOUT(MainWindowProbe(w).answer(), QStringLiteral("RESET done"), 2000);
    for (const QString &name : paramFields)
        QCOMPARE(styleOf(w, name), QString());
    // A bare line end with no sequence running still shows the box.
    module.device.send("\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 2000);
    QCOMPARE(boxes.seen[0].title, boxEmptyReply);
}

void tst_Scans::scanStopsWrite()
{
    Responder module;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startSequence(w, "applyButton", "writeAllTimer", Pace));
    QTRY_VERIFY_WITH_TIMEOUT(!module.commands.isEmpty(), 3000);
    QVERIFY(startScan(w, Pace));
    QCOMPARE(running(w), QStringLiteral("scanAllTimer at step 0"));
    QCOMPARE(caption(w, "applyButton"), captionWrite);
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 6000);
    QCOMPARE(module.commands.mid(module.commands.size() - 15), scanLines());
}

void tst_Scans::progressFollowsSequences()
{
    Responder module(Responder::goodModuleExcept({{"CHANGE GATEWAY:", {{5, "?"}}}}));
    Modals boxes;
    MainWindow w;
    w.show();
    auto *bar = child<QProgressBar>(w, "sequenceProgress");
    QVERIFY(!bar->isVisible());
    QVERIFY(connectTo(w, module));
    QVERIFY(startScan(w, Pace));
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 16);
    QTRY_VERIFY_WITH_TIMEOUT(module.commands.size() >= 3, 3000);
    QVERIFY(bar->value() >= 3);
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 6000);
    QVERIFY(!bar->isVisible());
    // A write shows its own count and goes away when it fails.
    QVERIFY(startSequence(w, "applyButton", "writeAllTimer", Pace));
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 27);
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 6000);
    QVERIFY(!bar->isVisible());
    // And when the user stops a scan.
    QVERIFY(startScan(w, Pace));
    QVERIFY(bar->isVisible());
    button(w, "scan_parameters")->click();
    QVERIFY(!bar->isVisible());
}

// The per-variant sequences: slots that nothing in the window starts, one
// step per call.
void tst_Scans::variantScans_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::newRow("RTU-TCP") << QByteArray("scan_pa_modbus_RTU_TCP")
                             << QByteArrayList({"MAC", "ip", "MASK", "GATEWAY", "PORT TCP", "parity", "SPEED RS485",
                                                "STOP BIT", "IP SERVER TCP", "TIMEOUT TCP"});
    QTest::newRow("TCP-RTU") << QByteArray("scan_pa_modbus_TCP_RTU")
                             << QByteArrayList({"MAC", "ip", "MASK", "GATEWAY", "PORT TCP", "parity", "SPEED RS485",
                                                "STOP BIT"});
}

void tst_Scans::variantScans()
{
    QFETCH(QByteArray, slot);
    QFETCH(QByteArrayList, commands);
    Responder module;
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    for (const QString &name : paramFields)
        child(w, name)->setStyleSheet(styleError);
    button(w, "scan_parameters")->setText(captionStopScan);
    for (int step = 1; step <= commands.size() + 1; ++step) {
        QVERIFY(QMetaObject::invokeMethod(&w, slot.constData()));
        // Each step's command, and at the first its reply, before the next.
        QTRY_COMPARE_WITH_TIMEOUT(module.commands.size(), qMin(step, commands.size()), 3000);
        if (step == 1)
            QTRY_VERIFY_WITH_TIMEOUT(!MainWindowProbe(w).answer().isEmpty(), 3000);
    }
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(module.commands, commands);
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    // The end clears the first ten fields of the clearing order.
    for (int i = 0; i < paramFields.size(); ++i)
        QCOMPARE(styleOf(w, paramFields[i]), i < 10 ? QString() : styleError);
    // One more call starts over.
    QVERIFY(QMetaObject::invokeMethod(&w, slot.constData()));
    QTRY_COMPARE_WITH_TIMEOUT(module.commands.size(), commands.size() + 1, 1000);
    QCOMPARE(module.commands.last(), QByteArray("MAC"));
    // With the port closed a step sends nothing.
    button(w, "connect")->click();
    QVERIFY(QMetaObject::invokeMethod(&w, slot.constData()));
    QTest::qWait(100);
    QCOMPARE(module.commands.size(), commands.size() + 1);
}

QTEST_MAIN(tst_Scans)
#include "tst_scans.moc"
