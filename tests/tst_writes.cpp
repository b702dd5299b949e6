// The write, the reboot and the factory reset, driven through the window's
// buttons against a scripted module on a pseudo-terminal. The sequence
// timers are sped up once started.
#include <QtTest>

#include <QMessageBox>

#include "modals.h"
#include "probe.h"
#include "responder.h"
#include "window.h"

using namespace support;

namespace {

constexpr int Pace = 200; // ms per step in these tests

// A module that answers nothing.
QList<Responder::Chunk> silentModule(const QByteArray &) { return {}; }

} // namespace

class tst_Writes : public QObject
{
    Q_OBJECT

private slots:
    void fullWrite();
    void writeEmptyFieldsAndOff();
    void writeFails_data();
    void writeFails();
    void writeIgnoredWords();
    void writeSilentAfterEarlierWrite();
    void writeStoppedByUser();
    void writeNotStartedWhileScanning();
    void factoryReset_data();
    void factoryReset();
    void variantWriteSilent();
    void variantWrite();
};

void tst_Writes::fullWrite()
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
    // Changes on odd steps, "reset" on the 27th.
    QCOMPARE(module.times.size(), 14);
    for (int i = 1; i < module.times.size(); ++i)
        QVERIFY2(module.times[i] - module.times[i - 1] >= 2 * Pace - 40, "changes are two steps apart");
}

void tst_Writes::writeEmptyFieldsAndOff()
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

void tst_Writes::writeFails_data()
{
    QTest::addColumn<QByteArray>("answered");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("lastSent");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    // A refusal: the change `answered` gets `reply`. A bare "?" to one change
    // and "OK" to the mode are gateway-sim's refusals, checked against it in
    // tst_faults_write; here the replies it does not give.
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

void tst_Writes::writeFails()
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

void tst_Writes::writeIgnoredWords()
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

void tst_Writes::writeSilentAfterEarlierWrite()
{
    // A write acknowledged earlier in this run must not let a silent module
    // pass the check of a later write.
    bool silent = false;
    Responder module([&](const QByteArray &c) { return silent ? silentModule(c) : Responder::goodModule(c); });
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(startWrite(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 10000);
    QCOMPARE(boxes.seen[0].title, boxWriteResult);
    silent = true;
    QVERIFY(startWrite(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 2, 5000);
    QCOMPARE(boxes.seen[1].text, boxNoModule);
    QTRY_COMPARE_WITH_TIMEOUT(module.commands.size(), 14 + 2, 1000);
}

void tst_Writes::writeStoppedByUser()
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

void tst_Writes::writeNotStartedWhileScanning()
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

void tst_Writes::factoryReset_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("sent");
    QTest::newRow("yes") << answerYes << true;
    QTest::newRow("no") << answerNo << false;
}

void tst_Writes::factoryReset()
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

void tst_Writes::variantWriteSilent()
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

void tst_Writes::variantWrite()
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

QTEST_MAIN(tst_Writes)
#include "tst_writes.moc"
