// The scan, the write, the reboot and the factory reset and the module's
// replies, driven through the window's buttons against a scripted module on
// a pseudo-terminal. The sequence timers are sped up once started.
#include <QtTest>

#include <QMessageBox>
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

class tst_Sequences : public QObject
{
    Q_OBJECT

private slots:
    void fullScan();
    void scanSlaveIdNumber();
    void scanStartClearsForm();
    void scanStoppedByUser();
    void scanBadValues();
    void replyPieces_data();
    void replyPieces();
    void scanLateReply();
    void emptyReply();
    void replyWithoutSequenceOnlyStored();
    void scanStopsWrite();
    void progressFollowsSequences();
    void variantScans_data();
    void variantScans();
    void silentAfterEarlierExchange_data();
    void silentAfterEarlierExchange();
    void fullWrite();
    void writeEmptyFieldsAndOff();
    void writeFails_data();
    void writeFails();
    void writeIgnoredWords();
    void writeStoppedByUser();
    void writeNotStartedWhileScanning();
    void factoryReset_data();
    void factoryReset();
    void variantWriteSilent();
    void variantWrite();
};

void tst_Sequences::fullScan()
{
    Responder module;
    MainWindow w;
    w.show();
    QVERIFY(connectTo(w, module));
    SequenceWatch scan(w, "scanAllTimer");
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
    // One query a tick, the first at the first tick after the click; the
    // sixteenth ends the scan.
    QCOMPARE(scan.sent(module.commands), atTicks(scanTicks(), scanLines()));
    QCOMPARE(scan.ticks, 16);
}

void tst_Sequences::scanSlaveIdNumber()
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

void tst_Sequences::scanStartClearsForm()
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

void tst_Sequences::scanStoppedByUser()
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

void tst_Sequences::scanBadValues()
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

void tst_Sequences::replyPieces_data()
{
    // The reply to `command` comes in `pieces`: the first 5 ms after the
    // command, each other one as soon as the window has read the one before
    // (its port's readyRead), so that the window sees each piece as a
    // delivery of its own and none waits past its reply gap, however busy
    // the machine.
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<QByteArray>("silent"); // a query left unanswered
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    // The reply is handled in the delivery of its LF; without one, only
    // once the line has fallen silent.
    QTest::addColumn<bool>("atLineEnd");
    const QString ip = QStringLiteral("192.168.0.10");
    QTest::newRow("CR LF") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10\r\n"} << QByteArray()
                           << "lineEdit_ip" << ip << true;
    QTest::newRow("LF") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10\n"} << QByteArray() << "lineEdit_ip"
                        << ip << true;
    QTest::newRow("no line end") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10"} << QByteArray()
                                 << "lineEdit_ip" << ip << false;
    // Adapters deliver one reply in pieces; the field gets the whole value.
    QTest::newRow("three pieces") << QByteArray("ip") << QByteArrayList{"ip 192.1", "68.0.10", "\r\n"}
                                  << QByteArray() << "lineEdit_ip" << ip << true;
    QTest::newRow("MAC in pieces") << QByteArray("MAC") << QByteArrayList{"M", "AC 02:00:00", ":00:00:01\r\n"}
                                   << QByteArray() << "lineEdit_MAC" << "02:00:00:00:00:01" << true;
    // A CR is not the end yet: its LF on its own is no empty reply.
    QTest::newRow("CR, then LF") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10\r", "\n"} << QByteArray()
                                 << "lineEdit_ip" << ip << true;
    QTest::newRow("line end late") << QByteArray("ip") << QByteArrayList{"ip 192.168.0.10", "\r\n"} << QByteArray()
                                   << "lineEdit_ip" << ip << true;
    // A late reply and the next one right behind it are two replies, each
    // cut for the step at which it came.
    QTest::newRow("late reply, the next behind it")
        << QByteArray("GATEWAY") << QByteArrayList{"MASK 255.255.0.0\r\n", "GATEWAY 192.168.1.1\r\n"}
        << QByteArray("MASK") << "lineEdit_gateway" << "192.168.1.1" << true;
}

void tst_Sequences::replyPieces()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArrayList, pieces);
    QFETCH(QByteArray, silent);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, atLineEnd);
    Modals boxes;
    QList<QPair<QByteArray, QList<Responder::Chunk>>> replies{{command, {{5, pieces.first()}}}};
    if (!silent.isEmpty())
        replies.append({silent, {}});
    Responder module(Responder::goodModuleExcept(replies));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    // The field as each delivery at the step of `command` leaves it; each
    // delivery there brings on the next piece.
    const int step = scanLines().indexOf(command) + 1;
    QStringList atDelivery;
    int next = 1;
    QSerialPort &serial = MainWindowProbe(w).serial();
    connect(&serial, &QSerialPort::readyRead, &w, [&] {
        if (MainWindowProbe(w).scanAllStep() != step)
            return;
        atDelivery << text(w, field.toLatin1());
        if (next < pieces.size())
            module.device.send(pieces[next++]);
    });
    // Each step once its reply is in (the silent one after a second).
    SequenceWatch scan(w, "scanAllTimer");
    scan.paceByReplies(Pace, 1000);
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 15000);
    QCOMPARE(next, int(pieces.size()));
    QCOMPARE(text(w, field.toLatin1()), value);
    QCOMPARE(atDelivery.size(), int(pieces.size()));
    if (atLineEnd)
        QCOMPARE(atDelivery.last(), value);
    else
        QVERIFY2(!atDelivery.contains(value), qPrintable(atDelivery.join('|')));
    QCOMPARE(text(w, "lineEdit_mask"), silent == "MASK" ? QString() : QStringLiteral("255.255.0.0"));
    QCOMPARE(boxes.count(), 0);
}

void tst_Sequences::scanLateReply()
{
    // A reply after the next tick is taken for the next command: its first
    // characters are skipped unseen and the rest goes into the next field.
    Responder module(Responder::goodModuleExcept({{"MASK", {{600, "MASK 255.255.0.0\r\n"}}}, {"GATEWAY", {}}}));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startScan(w, Pace));
    // The reply comes half-way through the next step (some 620 ms after its
    // command, at 400 ms a step: some 200 ms from either end).
    timer(w, "scanAllTimer")->setInterval(400);
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 10000);
    QVERIFY(text(w, "lineEdit_mask").isEmpty());
    // "MASK 255.255.0.0" cut for "GATEWAY" (position 8).
    QCOMPARE(text(w, "lineEdit_gateway"), QStringLiteral(".255.0.0"));
    QCOMPARE(text(w, "lineEdit_portTCP"), QStringLiteral("10502"));
}

void tst_Sequences::emptyReply()
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

void tst_Sequences::replyWithoutSequenceOnlyStored()
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

void tst_Sequences::scanStopsWrite()
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

void tst_Sequences::progressFollowsSequences()
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
void tst_Sequences::variantScans_data()
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

void tst_Sequences::variantScans()
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

void tst_Sequences::silentAfterEarlierExchange_data()
{
    QTest::addColumn<bool>("write");
    // The whole first sequence, then the second up to its check.
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("scan") << false << scanLines() + scanLines().mid(0, 1);
    QTest::newRow("write") << true << filledWriteLines() + filledWriteLines().mid(0, 2);
}

void tst_Sequences::silentAfterEarlierExchange()
{
    // A sequence that the module answered earlier in this run (the window
    // holds its reply) must not let a silent module pass the check of a
    // later one.
    QFETCH(bool, write);
    QFETCH(QByteArrayList, sent);
    bool silent = false;
    Responder module([&](const QByteArray &c) { return silent ? silentModule(c) : Responder::goodModule(c); });
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(write ? startWrite(w, Pace) : startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 10000);
    QTRY_COMPARE(boxes.titles(), write ? QStringList{boxWriteResult} : QStringList());
    QVERIFY(!MainWindowProbe(w).answer().isEmpty());
    silent = true;
    QVERIFY(write ? startWrite(w, Pace) : startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), write ? 2 : 1, 5000);
    QCOMPARE(boxes.seen.last().text, boxNoModule);
    QCOMPARE(caption(w, "connect"), captionDisconnected);
    QTRY_COMPARE_WITH_TIMEOUT(module.commands, sent, 1000);
}

void tst_Sequences::fullWrite()
{
    Responder module;
    Modals boxes;
    QStringList stylesUnderBox;
    MainWindow w;
    boxes.onModal = [&] {
        for (const QString &name : paramFields)
            stylesUnderBox << styleOf(w, name);
    };
    QVERIFY(connectTo(w, module));
    SequenceWatch write(w, "writeAllTimer");
    QVERIFY(startWrite(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(module.commands, filledWriteLines(), 1000);
    QCOMPARE(boxes.seen[0].title, boxWriteResult);
    QCOMPARE(boxes.seen[0].text, boxWriteDone);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Information));
    // Every acknowledged field was green under the box; neutral after it.
    QCOMPARE(stylesUnderBox.count(styleOk), 13);
    for (const QString &name : paramFields)
        QCOMPARE(styleOf(w, name), QString());
    QCOMPARE(caption(w, "applyButton"), captionWrite);
    QVERIFY(MainWindowProbe(w).resetPending());
    QCOMPARE(running(w), QString());
    // Changes on odd ticks, "reset" on the 27th, which ends the write.
    QCOMPARE(write.sent(module.commands), atTicks(writeTicks(), filledWriteLines()));
    QCOMPARE(write.ticks, 27);
}

void tst_Sequences::writeEmptyFieldsAndOff()
{
    Responder module;
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    child<QLineEdit>(w, "lineEdit_tcp_id")->setText("5");
    child<QCheckBox>(w, "checkBox")->click();
    QVERIFY(startSequence(w, "applyButton", "writeAllTimer", Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(
        module.commands,
        QByteArrayList({"CHANGE MODE TCP:", "CHANGE IP:", "CHANGE MASK:", "CHANGE GATEWAY:", "CHANGE PORT TCP:",
                        "CHANGE PARITY:", "CHANGE SPEED RS485:", "CHANGE STOP BIT:", "change timeout response:",
                        "CHANGE IP SERVER TCP:", "CHANGE TIMEOUT TCP:", "change rtu virtual id:",
                        "change tcp slave id:off", "reset"}),
        1000);
}

void tst_Sequences::writeFails_data()
{
    QTest::addColumn<QByteArray>("answered");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("lastSent");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    // A refusal: the change `answered` gets `reply`. A bare "?" to one change
    // and "OK" to the mode are gateway-sim's refusals, checked against it in
    // tst_faults_module; here the replies it does not give.
    QTest::newRow("port, other word") << QByteArray("CHANGE PORT TCP:") << QByteArray("err")
                                      << QByteArray("CHANGE PORT TCP:") << "lineEdit_portTCP" << boxWriteFailB;
    QTest::newRow("speed, ok with line end") << QByteArray("CHANGE SPEED RS485:") << QByteArray("ok ")
                                             << QByteArray("CHANGE SPEED RS485:") << "comboBox_speed" << boxWriteFailA;
    QTest::newRow("slave id refused with a line end") << QByteArray("change tcp slave id:") << QByteArray("?\r\n")
                                                      << QByteArray("change tcp slave id:") << "lineEdit_tcp_id"
                                                      << boxWriteFailA;
    // Silence: the module acknowledges up to `answered` and then says nothing;
    // the next change fails.
    QTest::newRow("silent after gateway") << QByteArray("CHANGE GATEWAY:") << QByteArray()
                                          << QByteArray("CHANGE PORT TCP:") << "lineEdit_portTCP" << boxWriteFailA;
    QTest::newRow("silent after ip") << QByteArray("CHANGE IP:") << QByteArray() << QByteArray("CHANGE MASK:")
                                     << "lineEdit_mask" << boxWriteFailA;
    QTest::newRow("silent before the slave id") << QByteArray("change rtu virtual id:") << QByteArray()
                                                << QByteArray("change tcp slave id:") << "lineEdit_tcp_id"
                                                << boxWriteFailA;
}

void tst_Sequences::writeFails()
{
    QFETCH(QByteArray, answered);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, lastSent);
    QFETCH(QString, field);
    QFETCH(QString, message);
    bool silent = false;
    Responder module([&](const QByteArray &c) {
        if (silent)
            return QList<Responder::Chunk>{};
        if (c.startsWith(answered)) {
            if (reply.isNull())
                silent = true;
            else
                return QList<Responder::Chunk>{{5, reply}};
        }
        return Responder::goodModule(c);
    });
    Modals boxes;
    MainWindow w;
    QString fieldStyleUnderBox;
    boxes.onModal = [&] { fieldStyleUnderBox = styleOf(w, field); };
    QVERIFY(connectTo(w, module));
    QVERIFY(startWrite(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 10000);
    QCOMPARE(boxes.seen[0].title, boxError);
    QCOMPARE(boxes.seen[0].text, message);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    QCOMPARE(fieldStyleUnderBox, styleError);
    // Nothing after the failing change, no reboot.
    QVERIFY(module.commands.last().startsWith(lastSent));
    QTest::qWait(3 * Pace);
    QVERIFY(module.commands.last().startsWith(lastSent));
    QVERIFY(!module.commands.contains("reset"));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(caption(w, "applyButton"), captionWrite);
    for (const QString &name : paramFields)
        QCOMPARE(styleOf(w, name), QString());
    QVERIFY(!MainWindowProbe(w).resetPending());
}

void tst_Sequences::writeIgnoredWords()
{
    // Another word than "ok" or "?" to the last five changes is let pass.
    Responder module(Responder::goodModuleExcept({{"change timeout response:", {{5, "OK"}}},
                                                  {"CHANGE TIMEOUT TCP:", {{5, "OK"}}}}));
    Modals boxes;
    MainWindow w;
    QStringList under;
    boxes.onModal = [&] {
        under << styleOf(w, "lineEdit_timewait") << styleOf(w, "lineEdit_timeout")
              << styleOf(w, "lineEdit_ipservertcp");
    };
    QVERIFY(connectTo(w, module));
    QVERIFY(startWrite(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 10000);
    QCOMPARE(boxes.seen[0].title, boxWriteResult);
    QCOMPARE(under, QStringList({QString(), QString(), styleOk}));
    QTRY_COMPARE_WITH_TIMEOUT(module.commands.size(), 14, 1000);
    QCOMPARE(module.commands.last(), QByteArray("reset"));
}

void tst_Sequences::writeStoppedByUser()
{
    Responder module;
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startWrite(w, Pace));
    QTRY_VERIFY_WITH_TIMEOUT(module.commands.size() >= 4, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(styleOf(w, "lineEdit_gateway"), styleOk, 2000);
    button(w, "applyButton")->click();
    QCOMPARE(caption(w, "applyButton"), captionWrite);
    QCOMPARE(running(w), QString());
    for (const QString &name : paramFields)
        QCOMPARE(styleOf(w, name), QString());
    const int sent = module.commands.size();
    QTest::qWait(3 * Pace);
    QCOMPARE(module.commands.size(), sent);
    QVERIFY(!module.commands.contains("reset"));
    QCOMPARE(boxes.count(), 0);
}

void tst_Sequences::writeNotStartedWhileScanning()
{
    Responder module;
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startScan(w, Pace));
    button(w, "applyButton")->click();
    QCOMPARE(caption(w, "applyButton"), captionWrite);
    QCOMPARE(running(w), QStringLiteral("scanAllTimer at step 0"));
    button(w, "scan_parameters")->click();
    QCOMPARE(boxes.count(), 0);
}

void tst_Sequences::factoryReset_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("sent");
    QTest::newRow("yes") << answerYes << true;
    QTest::newRow("no") << answerNo << false;
}

void tst_Sequences::factoryReset()
{
    QFETCH(QString, answer);
    QFETCH(bool, sent);
    Responder module(silentModule);
    Modals boxes;
    boxes.answer = answer;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    button(w, "reset_allparameters")->click();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen[0].title, boxFactoryReset);
    QCOMPARE(boxes.seen[0].text, QStringLiteral("Вы действительно хотите cбросить к заводским настройкам?"));
    QCOMPARE(boxes.seen[0].text.at(24).unicode(), ushort('c'));
    QCOMPARE(boxes.seen[0].buttons, QStringList({"Да", "Нет"}));
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::NoIcon));
    if (sent)
        QTRY_COMPARE_WITH_TIMEOUT(module.commands, QByteArrayList{"LOAD SETTING:DEFAULT"}, 1000);
    QTest::qWait(100);
    QCOMPARE(module.commands, sent ? QByteArrayList{"LOAD SETTING:DEFAULT"} : QByteArrayList{});
    QCOMPARE(MainWindowProbe(w).resetPending(), sent);
}

void tst_Sequences::variantWriteSilent()
{
    Responder module(silentModule);
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    for (int step = 1; step <= 4; ++step)
        QVERIFY(QMetaObject::invokeMethod(&w, "change_pa_modbus_RTU_TCP"));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 2000);
    QCOMPARE(boxes.seen[0].text, QStringLiteral("нет соединения с модулем Modbus RTU-TCP"));
    QTRY_COMPARE_WITH_TIMEOUT(module.commands.join(), QByteArray("CHANGE IP:10.0.0.2CHANGE MASK:255.0.0.0"), 1000);
    QCOMPARE(caption(w, "connect"), captionDisconnected);
}

void tst_Sequences::variantWrite()
{
    Responder module;
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    // A write acknowledged by the module lets the per-variant check pass.
    QVERIFY(startWrite(w, Pace));
    QTRY_VERIFY_WITH_TIMEOUT(MainWindowProbe(w).moduleResponded(), 3000);
    button(w, "applyButton")->click();
    module.commands.clear();
    for (int step = 1; step <= 15; ++step)
        QVERIFY(QMetaObject::invokeMethod(&w, "change_pa_modbus_TCP_RTU"));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 2000);
    QCOMPARE(boxes.seen[0].title, boxWriteResult);
    QCOMPARE(boxes.seen[0].text,
             QStringLiteral("<FONT COLOR='#008000'>Изменение параметров Modbus TCP-RTU было успешно</FONT>"));
    QVERIFY(MainWindowProbe(w).resetPending());
    // Commands written back to back arrive as one line at the module: look
    // at the bytes.
    QTRY_COMPARE_WITH_TIMEOUT(module.commands.join(),
                              QByteArray("CHANGE IP:10.0.0.2CHANGE MASK:255.0.0.0CHANGE GATEWAY:10.0.0.1"
                                         "CHANGE PORT TCP:10502CHANGE PARITY:1CHANGE SPEED RS485:115200"
                                         "CHANGE STOP BIT:2RESET"),
                              1000);
}

QTEST_MAIN(tst_Sequences)
#include "tst_sequences.moc"
