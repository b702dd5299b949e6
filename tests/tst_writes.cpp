// The write, the reboot and the factory reset, driven through the window's
// buttons.
#include "sequencefixture.h"

class tst_Writes : public SequenceFixture
{
    Q_OBJECT

private slots:
    void fullWrite();
    void writeEmptyFieldsAndOff();
    void writeRefused_data();
    void writeRefused();
    void writeIgnoredWords();
    void writeSilentFirstContact();
    void writeSilentAfterEarlierWrite();
    void writeModuleStopsAnswering_data();
    void writeModuleStopsAnswering();
    void writeSplitAcknowledgement();
    void writeStoppedByUser();
    void writeNotStartedWhileScanning();
    void reboot();
    void factoryReset_data();
    void factoryReset();
    void variantWriteSilent();
    void variantWrite();
};

void tst_Writes::fullWrite()
{
    Responder module;
    BoxWatcher boxes;
    QStringList stylesUnderBox;
    MainWindow w;
    boxes.onBox = [&](const BoxWatcher::Box &) {
        for (const QString &name : paramFields)
            stylesUnderBox << style(w, name);
    };
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QCOMPARE(button(w, "applyButton")->text(), QStringLiteral("Остановить запись"));
    QVERIFY(boxes.waitForCount(1, 10000));
    QVERIFY(module.waitForCommands(14, 1000));
    QCOMPARE(module.commands, filledWrite());
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Результы изменения"));
    QCOMPARE(boxes.boxes[0].text,
             QStringLiteral("<FONT COLOR='#008000'>Изменение параметров Modbus universal было успешно</FONT>"));
    QCOMPARE(boxes.boxes[0].icon, int(QMessageBox::Information));
    // Every acknowledged field was green under the box; neutral after it.
    QCOMPARE(stylesUnderBox.count(ok), 13);
    for (const QString &name : paramFields)
        QCOMPARE(style(w, name), QString());
    QCOMPARE(button(w, "applyButton")->text(), QStringLiteral("Запись параметры"));
    QVERIFY(MainWindowProbe(w).resetPending());
    QVERIFY(!timer(w, "writeAllTimer")->isActive());
    // Changes on odd steps, "reset" on the 27th.
    QCOMPARE(module.times.size(), 14);
    for (int i = 1; i < module.times.size(); ++i)
        QVERIFY2(module.times[i] - module.times[i - 1] >= 2 * Pace - 40, "changes are two steps apart");
}

void tst_Writes::writeEmptyFieldsAndOff()
{
    Responder module;
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    get<QLineEdit>(w, "lineEdit_tcp_id")->setText("5");
    get<QCheckBox>(w, "checkBox")->click();
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(1, 10000));
    QVERIFY(module.waitForCommands(14, 1000));
    QCOMPARE(module.commands,
             QByteArrayList({"CHANGE MODE TCP:", "CHANGE IP:", "CHANGE MASK:", "CHANGE GATEWAY:", "CHANGE PORT TCP:",
                             "CHANGE PARITY:", "CHANGE SPEED RS485:", "CHANGE STOP BIT:", "change timeout response:",
                             "CHANGE IP SERVER TCP:", "CHANGE TIMEOUT TCP:", "change rtu virtual id:",
                             "change tcp slave id:off", "reset"}));
}

void tst_Writes::writeRefused_data()
{
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("mode, upper-case OK") << QByteArray("CHANGE MODE TCP:") << QByteArray("OK") << "comboBox_mode" << failA;
    QTest::newRow("ip refused") << QByteArray("CHANGE IP:") << QByteArray("?") << "lineEdit_ip" << failA;
    QTest::newRow("port refused") << QByteArray("CHANGE PORT TCP:") << QByteArray("?") << "lineEdit_portTCP" << failB;
    QTest::newRow("port, other word") << QByteArray("CHANGE PORT TCP:") << QByteArray("err") << "lineEdit_portTCP"
                                      << failB;
    QTest::newRow("stop bits refused") << QByteArray("CHANGE STOP BIT:") << QByteArray("?") << "comboBox_2" << failB;
    QTest::newRow("speed, ok with line end") << QByteArray("CHANGE SPEED RS485:") << QByteArray("ok ")
                                             << "comboBox_speed" << failA;
    QTest::newRow("rtu id refused") << QByteArray("change rtu virtual id:") << QByteArray("?")
                                    << "lineEdit_rtu_virtual_id" << failA;
    QTest::newRow("slave id refused") << QByteArray("change tcp slave id:") << QByteArray("?\r\n")
                                      << "lineEdit_tcp_id" << failA;
}

void tst_Writes::writeRefused()
{
    QFETCH(QByteArray, refused);
    QFETCH(QByteArray, reply);
    QFETCH(QString, field);
    QFETCH(QString, message);
    Responder module(moduleWith([&](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (!c.startsWith(refused))
            return false;
        out = {{5, reply}};
        return true;
    }));
    BoxWatcher boxes;
    MainWindow w;
    QString fieldStyleUnderBox;
    boxes.onBox = [&](const BoxWatcher::Box &) { fieldStyleUnderBox = style(w, field); };
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(1, 10000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Ошибка"));
    QCOMPARE(boxes.boxes[0].text, message);
    QCOMPARE(boxes.boxes[0].icon, int(QMessageBox::Critical));
    QCOMPARE(fieldStyleUnderBox, error);
    QVERIFY(module.commands.last().startsWith(refused));
    QTest::qWait(3 * Pace);
    QVERIFY(module.commands.last().startsWith(refused));
    QVERIFY(!module.commands.contains("reset"));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(button(w, "applyButton")->text(), QStringLiteral("Запись параметры"));
    for (const QString &name : paramFields)
        QCOMPARE(style(w, name), QString());
    QVERIFY(!MainWindowProbe(w).resetPending());
}

void tst_Writes::writeIgnoredWords()
{
    // Another word than "ok" or "?" to the last five changes is let pass.
    Responder module(moduleWith([](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (!c.startsWith("change timeout response:") && !c.startsWith("CHANGE TIMEOUT TCP:"))
            return false;
        out = {{5, "OK"}};
        return true;
    }));
    BoxWatcher boxes;
    MainWindow w;
    QStringList under;
    boxes.onBox = [&](const BoxWatcher::Box &) {
        under << style(w, "lineEdit_timewait") << style(w, "lineEdit_timeout") << style(w, "lineEdit_ipservertcp");
    };
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(1, 10000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Результы изменения"));
    QCOMPARE(under, QStringList({QString(), QString(), ok}));
    QVERIFY(module.waitForCommands(14, 1000));
    QCOMPARE(module.commands.last(), QByteArray("reset"));
}

void tst_Writes::writeSilentFirstContact()
{
    // The acknowledgement of the IP change comes while the box is open.
    Responder module([](const QByteArray &c) {
        return c.startsWith("CHANGE IP:") ? QList<Responder::Chunk>{{Pace + Pace / 2, "ok"}}
                                          : QList<Responder::Chunk>{};
    });
    BoxWatcher boxes;
    boxes.holdMs = 4 * Pace;
    MainWindow w;
    QString ipStyleUnderBox = QStringLiteral("unset");
    boxes.onBox = [&](const BoxWatcher::Box &) {
        ipStyleUnderBox = timer(w, "writeAllTimer")->isActive() ? QStringLiteral("timer running") : style(w, "lineEdit_ip");
    };
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(1, 5000));
    // The write stopped before the box, so the late "ok" judged nothing.
    QCOMPARE(ipStyleUnderBox, QString());
    QCOMPARE(MainWindowProbe(w).answer(), QStringLiteral("ok"));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Ошибка соединения"));
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("нет соединения с модулем Modbus universal"));
    // The mode and IP changes went out, nothing more while the box was open.
    QCOMPARE(module.commands, QByteArrayList({"CHANGE MODE TCP:CLIENT", "CHANGE IP:10.0.0.2"}));
    QVERIFY(!MainWindowProbe(w).serial().isOpen());
    QCOMPARE(button(w, "connect")->text(), QStringLiteral("Cоединиться"));
    QCOMPARE(button(w, "scan_parameters")->text(), QStringLiteral("Сканировать"));
    QCOMPARE(button(w, "applyButton")->text(), QStringLiteral("Запись параметры"));
    QCOMPARE(MainWindowProbe(w).writeAllStep(), 0);
}

void tst_Writes::writeSilentAfterEarlierWrite()
{
    // A write acknowledged earlier in this run must not let a silent module
    // pass the check of a later write.
    bool silent = false;
    Responder module([&](const QByteArray &c) {
        return silent ? QList<Responder::Chunk>{} : Responder::goodModule(c);
    });
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(1, 10000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Результы изменения"));
    silent = true;
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(2, 5000));
    QCOMPARE(boxes.boxes[1].text, QStringLiteral("нет соединения с модулем Modbus universal"));
    QTest::qWait(100);
    QCOMPARE(module.commands.size(), 14 + 2);
}

void tst_Writes::writeModuleStopsAnswering_data()
{
    QTest::addColumn<QByteArray>("lastAnswered");
    QTest::addColumn<QString>("field");
    QTest::newRow("after gateway") << QByteArray("CHANGE GATEWAY:") << "lineEdit_portTCP";
    QTest::newRow("after ip") << QByteArray("CHANGE IP:") << "lineEdit_mask";
    QTest::newRow("before the slave id") << QByteArray("change rtu virtual id:") << "lineEdit_tcp_id";
}

void tst_Writes::writeModuleStopsAnswering()
{
    QFETCH(QByteArray, lastAnswered);
    QFETCH(QString, field);
    bool silent = false;
    Responder module([&](const QByteArray &c) {
        const bool answer = !silent;
        if (c.startsWith(lastAnswered))
            silent = true;
        return answer ? Responder::goodModule(c) : QList<Responder::Chunk>{};
    });
    BoxWatcher boxes;
    MainWindow w;
    QString fieldStyle;
    boxes.onBox = [&](const BoxWatcher::Box &) { fieldStyle = style(w, field); };
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(1, 10000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Ошибка"));
    QCOMPARE(boxes.boxes[0].text, failA);
    QCOMPARE(fieldStyle, error);
    QVERIFY(!module.commands.contains("reset"));
    QTest::qWait(3 * Pace);
    QCOMPARE(boxes.count(), 1);
    QVERIFY(!MainWindowProbe(w).resetPending());
}

void tst_Writes::writeSplitAcknowledgement()
{
    Responder module(moduleWith([](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (!c.contains(':') || c == "LOAD SETTING:DEFAULT")
            return false;
        out = {{5, "o"}, {10, "k"}};
        return true;
    }));
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(1, 10000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Результы изменения"));
}

void tst_Writes::writeStoppedByUser()
{
    Responder module;
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(module.waitForCommands(4, 5000));
    QVERIFY(QTest::qWaitFor([&] { return style(w, "lineEdit_gateway") == ok; }, 2000));
    button(w, "applyButton")->click();
    QCOMPARE(button(w, "applyButton")->text(), QStringLiteral("Запись параметры"));
    QVERIFY(!timer(w, "writeAllTimer")->isActive());
    for (const QString &name : paramFields)
        QCOMPARE(style(w, name), QString());
    const int sent = module.commands.size();
    QTest::qWait(3 * Pace);
    QCOMPARE(module.commands.size(), sent);
    QVERIFY(!module.commands.contains("reset"));
    QCOMPARE(boxes.count(), 0);
}

void tst_Writes::writeNotStartedWhileScanning()
{
    Responder module;
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    start(w, "scan_parameters", "scanAllTimer");
    button(w, "applyButton")->click();
    QCOMPARE(button(w, "applyButton")->text(), QStringLiteral("Запись параметры"));
    QVERIFY(!timer(w, "writeAllTimer")->isActive());
    QVERIFY(timer(w, "scanAllTimer")->isActive());
    button(w, "scan_parameters")->click();
    QCOMPARE(boxes.count(), 0);
}

void tst_Writes::reboot()
{
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{}; });
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QVERIFY(!MainWindowProbe(w).resetPending());
    button(w, "Reset")->click();
    QVERIFY(module.waitForCommands(1, 2000));
    QCOMPARE(module.commands, QByteArrayList{"RESET"});
    QVERIFY(MainWindowProbe(w).resetPending());
}

void tst_Writes::factoryReset_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("sent");
    QTest::newRow("yes") << QStringLiteral("Да") << true;
    QTest::newRow("no") << QStringLiteral("Нет") << false;
}

void tst_Writes::factoryReset()
{
    QFETCH(QString, answer);
    QFETCH(bool, sent);
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{}; });
    BoxWatcher boxes;
    boxes.answer = answer;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    button(w, "reset_allparameters")->click();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Сброс"));
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("Вы действительно хотите cбросить к заводским настройкам?"));
    QCOMPARE(boxes.boxes[0].text.at(24).unicode(), ushort('c'));
    QCOMPARE(boxes.boxes[0].buttons, QStringList({"Да", "Нет"}));
    QCOMPARE(boxes.boxes[0].icon, int(QMessageBox::NoIcon));
    QTest::qWait(100);
    QCOMPARE(module.commands, sent ? QByteArrayList{"LOAD SETTING:DEFAULT"} : QByteArrayList{});
    QCOMPARE(MainWindowProbe(w).resetPending(), sent);
}

void tst_Writes::variantWriteSilent()
{
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{}; });
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    for (int step = 1; step <= 4; ++step)
        QVERIFY(QMetaObject::invokeMethod(&w, "change_pa_modbus_RTU_TCP"));
    QVERIFY(boxes.waitForCount(1, 2000));
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("нет соединения с модулем Modbus RTU-TCP"));
    QVERIFY(module.waitForCommands(1, 1000));
    QCOMPARE(module.commands.join(), QByteArray("CHANGE IP:10.0.0.2CHANGE MASK:255.0.0.0"));
    QCOMPARE(button(w, "connect")->text(), QStringLiteral("Cоединиться"));
}

void tst_Writes::variantWrite()
{
    Responder module;
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    // A write acknowledged by the module lets the per-variant check pass.
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(QTest::qWaitFor([&] { return MainWindowProbe(w).moduleResponded(); }, 3000));
    button(w, "applyButton")->click();
    module.commands.clear();
    for (int step = 1; step <= 15; ++step)
        QVERIFY(QMetaObject::invokeMethod(&w, "change_pa_modbus_TCP_RTU"));
    QVERIFY(boxes.waitForCount(1, 2000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Результы изменения"));
    QCOMPARE(boxes.boxes[0].text,
             QStringLiteral("<FONT COLOR='#008000'>Изменение параметров Modbus TCP-RTU было успешно</FONT>"));
    QVERIFY(MainWindowProbe(w).resetPending());
    // Commands written back to back arrive as one line at the module: look
    // at the bytes.
    QTest::qWait(100);
    QCOMPARE(module.commands.join(), QByteArray("CHANGE IP:10.0.0.2CHANGE MASK:255.0.0.0CHANGE GATEWAY:10.0.0.1"
                                                "CHANGE PORT TCP:10502CHANGE PARITY:1CHANGE SPEED RS485:115200"
                                                "CHANGE STOP BIT:2RESET"));
}


QTEST_MAIN(tst_Writes)
#include "tst_writes.moc"
