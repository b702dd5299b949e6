// The scan, the write, the reboot and the factory reset, driven through the
// window's buttons against a scripted module on a pseudo-terminal. The
// sequence timers are sped up once started; the end-to-end tests against
// the simulated module run at the real pace.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include "boxwatcher.h"
#include "probe.h"
#include "responder.h"
#include "styles.h"

namespace {
constexpr int Pace = 200; // ms per step in these tests

const QString ok = QString::fromLatin1(style::ok);
const QString error = QString::fromLatin1(style::error);
const QString inactive = QString::fromLatin1(style::inactive);

const QString failA = QStringLiteral("<FONT COLOR='#800000'> Ошибка записи </FONT>");
const QString failB = QStringLiteral("<FONT COLOR='#800000'>Ошибка записи </FONT>");

const QStringList paramFields = {"lineEdit_ip",      "lineEdit_ipservertcp", "comboBox",
                                 "comboBox_2",       "comboBox_speed",       "lineEdit_mask",
                                 "lineEdit_portTCP", "lineEdit_timeout",     "lineEdit_MAC",
                                 "lineEdit_gateway", "comboBox_mode",        "lineEdit_rtu_virtual_id",
                                 "lineEdit_tcp_id",  "lineEdit_timewait"};

const QByteArrayList scanCommands = {"MODE TCP",    "version",  "MAC",         "ip",
                                     "MASK",        "GATEWAY",  "PORT TCP",    "parity",
                                     "SPEED RS485", "STOP BIT", "timeout response", "IP SERVER TCP",
                                     "TIMEOUT TCP", "rtu virtual id", "tcp slave id"};

// A module that answers like the good one, except for the commands that
// `overrides` answers itself (an empty list: no answer).
Responder::Script moduleWith(std::function<bool(const QByteArray &, QList<Responder::Chunk> &)> overrides)
{
    return [overrides](const QByteArray &command) {
        QList<Responder::Chunk> chunks;
        if (overrides(command, chunks))
            return chunks;
        return Responder::goodModule(command);
    };
}
} // namespace

class tst_Sequences : public QObject
{
    Q_OBJECT

private:
    template <typename T = QWidget>
    static T *get(MainWindow &w, const QString &name)
    {
        return w.findChild<T *>(name);
    }
    static QPushButton *button(MainWindow &w, const char *name) { return get<QPushButton>(w, name); }
    static QString style(MainWindow &w, const QString &name) { return get(w, name)->styleSheet(); }
    static QString text(MainWindow &w, const char *name) { return get<QLineEdit>(w, name)->text(); }
    static int index(MainWindow &w, const char *name) { return get<QComboBox>(w, name)->currentIndex(); }

    static bool connectTo(MainWindow &w, Responder &module)
    {
        get<QComboBox>(w, "serialPortInfoListBox")->setEditText(module.device.slavePath());
        button(w, "connect")->click();
        return button(w, "connect")->text() == QStringLiteral("Отсоединиться");
    }
    static QTimer *timer(MainWindow &w, const char *name) { return get<QTimer>(w, name); }
    // Starts a sequence with its button and runs its timer at the test pace.
    static void start(MainWindow &w, const char *buttonName, const char *timerName)
    {
        button(w, buttonName)->click();
        QVERIFY(timer(w, timerName)->isActive());
        timer(w, timerName)->setInterval(Pace);
    }
    static bool waitIdle(MainWindow &w, const char *timerName, int ms)
    {
        return QTest::qWaitFor([&] { return !timer(w, timerName)->isActive(); }, ms);
    }
    static void fillForm(MainWindow &w)
    {
        get<QComboBox>(w, "comboBox_mode")->setCurrentIndex(2);
        get<QLineEdit>(w, "lineEdit_ip")->setText("10.0.0.2");
        get<QLineEdit>(w, "lineEdit_mask")->setText("255.0.0.0");
        get<QLineEdit>(w, "lineEdit_gateway")->setText("10.0.0.1");
        get<QLineEdit>(w, "lineEdit_portTCP")->setText("10502");
        get<QComboBox>(w, "comboBox")->setCurrentIndex(2);
        get<QComboBox>(w, "comboBox_speed")->setCurrentIndex(8);
        get<QComboBox>(w, "comboBox_2")->setCurrentIndex(2);
        get<QLineEdit>(w, "lineEdit_timewait")->setText("2500");
        get<QLineEdit>(w, "lineEdit_ipservertcp")->setText("10.0.0.9");
        get<QLineEdit>(w, "lineEdit_timeout")->setText("120");
        get<QLineEdit>(w, "lineEdit_rtu_virtual_id")->setText("17");
        get<QLineEdit>(w, "lineEdit_tcp_id")->setText("5");
    }
    static const QByteArrayList &filledWrite()
    {
        static const QByteArrayList lines = {"CHANGE MODE TCP:CLIENT", "CHANGE IP:10.0.0.2",
                                             "CHANGE MASK:255.0.0.0",  "CHANGE GATEWAY:10.0.0.1",
                                             "CHANGE PORT TCP:10502",  "CHANGE PARITY:odd",
                                             "CHANGE SPEED RS485:115200", "CHANGE STOP BIT:2",
                                             "change timeout response:2500", "CHANGE IP SERVER TCP:10.0.0.9",
                                             "CHANGE TIMEOUT TCP:120", "change rtu virtual id:17",
                                             "change tcp slave id:5",  "reset"};
        return lines;
    }

private slots:
    void fullScan();
    void scanSlaveIdNumber();
    void scanStartClearsForm();
    void scanStoppedByUser();
    void scanBadValues();
    void scanSilentModule();
    void scanSilentAfterEarlierReply();
    void scanSplitReply();
    void scanLateReply();
    void emptyReply();
    void replyWithoutSequenceOnlyStored();
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
    void scanStopsWrite();
    void reboot();
    void factoryReset_data();
    void factoryReset();
    void progressFollowsSequences();
    void variantScans_data();
    void variantScans();
    void variantWriteSilent();
    void variantWrite();
};

void tst_Sequences::fullScan()
{
    Responder module;
    MainWindow w;
    w.show();
    QVERIFY(connectTo(w, module));
    QStringList stylesSeen;
    start(w, "scan_parameters", "scanAllTimer");
    QCOMPARE(button(w, "scan_parameters")->text(), QStringLiteral("Стоп сканирования"));
    // While the scan runs, each answered field turns green.
    QVERIFY(QTest::qWaitFor([&] { return style(w, "lineEdit_ip") == ok; }, 3000));
    QCOMPARE(style(w, "comboBox_mode"), ok);
    QCOMPARE(style(w, "lineEdit_MAC"), ok);
    QVERIFY(waitIdle(w, "scanAllTimer", 6000));
    QCOMPARE(module.commands, scanCommands);
    QCOMPARE(button(w, "scan_parameters")->text(), QStringLiteral("Сканировать"));
    QCOMPARE(index(w, "comboBox_mode"), 2);
    QCOMPARE(text(w, "lineEdit_version"), QStringLiteral("2.0.1"));
    QCOMPARE(text(w, "lineEdit_MAC"), QStringLiteral("02:00:00:00:00:01"));
    QCOMPARE(text(w, "lineEdit_ip"), QStringLiteral("192.168.1.20"));
    QCOMPARE(text(w, "lineEdit_mask"), QStringLiteral("255.255.0.0"));
    QCOMPARE(text(w, "lineEdit_gateway"), QStringLiteral("192.168.1.1"));
    QCOMPARE(text(w, "lineEdit_portTCP"), QStringLiteral("10502"));
    QCOMPARE(index(w, "comboBox"), 3);
    QCOMPARE(index(w, "comboBox_speed"), 5);
    QCOMPARE(index(w, "comboBox_2"), 2);
    QCOMPARE(text(w, "lineEdit_timewait"), QStringLiteral("2500"));
    QCOMPARE(text(w, "lineEdit_ipservertcp"), QStringLiteral("192.168.1.30"));
    QCOMPARE(text(w, "lineEdit_timeout"), QStringLiteral("120"));
    QCOMPARE(text(w, "lineEdit_rtu_virtual_id"), QStringLiteral("17"));
    // "off": the box ticked, the field empty, disabled and lavender.
    QVERIFY(get<QCheckBox>(w, "checkBox")->isChecked());
    QVERIFY(text(w, "lineEdit_tcp_id").isEmpty());
    QVERIFY(!get(w, "lineEdit_tcp_id")->isEnabled());
    // The end of the scan resets the highlights.
    for (const QString &name : paramFields) {
        const QString expected = (name == "lineEdit_MAC" || name == "lineEdit_tcp_id") ? inactive : QString();
        QCOMPARE(style(w, name), expected);
    }
    QCOMPARE(style(w, "lineEdit_version"), inactive);
    // The commands went out one step apart, the first one step after the click.
    for (int i = 1; i < module.times.size(); ++i)
        QVERIFY(module.times[i] - module.times[i - 1] >= Pace - 30);
}

void tst_Sequences::scanSlaveIdNumber()
{
    Responder module(moduleWith([](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (c != "tcp slave id")
            return false;
        out = {{5, "tcp slave id 17\r\n"}};
        return true;
    }));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    get<QCheckBox>(w, "checkBox")->click();
    QVERIFY(!get(w, "lineEdit_tcp_id")->isEnabled());
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(waitIdle(w, "scanAllTimer", 6000));
    QCOMPARE(text(w, "lineEdit_tcp_id"), QStringLiteral("17"));
    QVERIFY(!get<QCheckBox>(w, "checkBox")->isChecked());
    QVERIFY(get(w, "lineEdit_tcp_id")->isEnabled());
    QCOMPARE(style(w, "lineEdit_tcp_id"), QString());
}

void tst_Sequences::scanStartClearsForm()
{
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{}; });
    BoxWatcher boxes;
    boxes.holdMs = 100000; // keep the no-connection box open: look at the form under it
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    get<QLineEdit>(w, "lineEdit_MAC")->setText("x");
    get<QLineEdit>(w, "lineEdit_version")->setText("y");
    get(w, "lineEdit_ip")->setStyleSheet(error);
    get(w, "lineEdit_timewait")->setStyleSheet(error);
    button(w, "scan_parameters")->click();
    for (const char *name : {"lineEdit_ip", "lineEdit_mask", "lineEdit_gateway", "lineEdit_ipservertcp",
                             "lineEdit_portTCP", "lineEdit_timeout", "lineEdit_MAC", "lineEdit_version",
                             "lineEdit_timewait", "lineEdit_rtu_virtual_id", "lineEdit_tcp_id"})
        QVERIFY2(text(w, name).isEmpty(), name);
    for (const char *name : {"comboBox_speed", "comboBox_2", "comboBox", "comboBox_mode"})
        QCOMPARE(index(w, name), 0);
    QCOMPARE(style(w, "lineEdit_ip"), QString());
    // These three keep their style sheets.
    QCOMPARE(style(w, "lineEdit_timewait"), error);
    button(w, "scan_parameters")->click();
}

void tst_Sequences::scanStoppedByUser()
{
    Responder module;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(module.waitForCommands(4, 3000));
    QVERIFY(QTest::qWaitFor([&] { return !text(w, "lineEdit_ip").isEmpty(); }, 1000));
    button(w, "scan_parameters")->click();
    QCOMPARE(button(w, "scan_parameters")->text(), QStringLiteral("Сканировать"));
    QVERIFY(!timer(w, "scanAllTimer")->isActive());
    QCOMPARE(MainWindowProbe(w).scanAllStep(), 0);
    const int sent = module.commands.size();
    QTest::qWait(3 * Pace);
    QCOMPARE(module.commands.size(), sent);
    // What the scan filled stays, highlights included.
    QCOMPARE(text(w, "lineEdit_ip"), QStringLiteral("192.168.1.20"));
    QCOMPARE(style(w, "lineEdit_ip"), ok);
}

void tst_Sequences::scanBadValues()
{
    Responder module(moduleWith([](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (c == "SPEED RS485")
            out = {{5, "SPEED RS485 9600 \r\n"}}; // a blank after the value matches nothing
        else if (c == "MASK")
            out = {{5, "MASK \r\n"}}; // nothing after the separator
        else if (c == "PORT TCP")
            out = {{5, "PORT TCP 1234567\r\n"}}; // cut at six characters
        else if (c == "tcp slave id")
            out = {{5, "tcp slave id \r\n"}};
        else
            return false;
        return true;
    }));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    QString speedStyle, maskStyle;
    connect(timer(w, "scanAllTimer"), &QTimer::timeout, [&] {
        if (MainWindowProbe(w).scanAllStep() == 15) {
            speedStyle = style(w, "comboBox_speed");
            maskStyle = style(w, "lineEdit_mask");
        }
    });
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(QTest::qWaitFor([&] { return style(w, "lineEdit_tcp_id") == inactive; }, 6000));
    QVERIFY(waitIdle(w, "scanAllTimer", 2000));
    QCOMPARE(speedStyle, error);
    QCOMPARE(maskStyle, error);
    QCOMPARE(index(w, "comboBox_speed"), 0);
    QVERIFY(text(w, "lineEdit_mask").isEmpty());
    QCOMPARE(text(w, "lineEdit_portTCP"), QStringLiteral("123456"));
    // The scan went on to the end regardless.
    QCOMPARE(module.commands.size(), 15);
    // A scarlet field from the scan is neutral again after it.
    QCOMPARE(style(w, "comboBox_speed"), QString());
}

void tst_Sequences::scanSilentModule()
{
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{}; });
    BoxWatcher boxes;
    boxes.holdMs = 3 * Pace; // the user reads the box for a while
    MainWindow w;
    QVERIFY(connectTo(w, module));
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(boxes.waitForCount(1, 3000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Ошибка соединения"));
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("нет соединения с модулем Modbus universal"));
    QCOMPARE(boxes.boxes[0].icon, int(QMessageBox::Critical));
    // Nothing went out while the box was open: only the first query.
    QCOMPARE(module.commands, QByteArrayList{"MODE TCP"});
    QCOMPARE(button(w, "connect")->text(), QStringLiteral("Cоединиться"));
    QCOMPARE(button(w, "scan_parameters")->text(), QStringLiteral("Сканировать"));
    QVERIFY(!button(w, "scan_parameters")->isEnabled());
    QVERIFY(!MainWindowProbe(w).serial().isOpen());
    QVERIFY(!timer(w, "scanAllTimer")->isActive());
}

void tst_Sequences::scanSilentAfterEarlierReply()
{
    // An earlier exchange left a reply behind; a module silent in this scan
    // is still found out.
    bool silent = false;
    Responder module([&](const QByteArray &c) {
        return silent ? QList<Responder::Chunk>{} : Responder::goodModule(c);
    });
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(waitIdle(w, "scanAllTimer", 6000));
    QVERIFY(!MainWindowProbe(w).answer().isEmpty());
    silent = true;
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(boxes.waitForCount(1, 3000));
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("нет соединения с модулем Modbus universal"));
    QCOMPARE(button(w, "connect")->text(), QStringLiteral("Cоединиться"));
}

void tst_Sequences::scanSplitReply()
{
    // Adapters deliver one reply in pieces; the field gets the whole value.
    Responder module(moduleWith([](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (c == "ip")
            out = {{5, "ip 192.1"}, {15, "68.0.10"}, {10, "\r\n"}};
        else if (c == "MAC")
            out = {{5, "M"}, {10, "AC 02:00:00"}, {10, ":00:00:01\r\n"}};
        else
            return false;
        return true;
    }));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(waitIdle(w, "scanAllTimer", 6000));
    QCOMPARE(text(w, "lineEdit_ip"), QStringLiteral("192.168.0.10"));
    QCOMPARE(text(w, "lineEdit_MAC"), QStringLiteral("02:00:00:00:00:01"));
    QCOMPARE(text(w, "lineEdit_mask"), QStringLiteral("255.255.0.0"));
}

void tst_Sequences::scanLateReply()
{
    // A reply after the next tick is taken for the next command: its first
    // characters are skipped unseen and the rest goes into the next field.
    Responder module(moduleWith([](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (c == "MASK")
            out = {{500, "MASK 255.255.0.0\r\n"}};
        else if (c == "GATEWAY")
            out = {};
        else
            return false;
        return true;
    }));
    MainWindow w;
    QVERIFY(connectTo(w, module));
    start(w, "scan_parameters", "scanAllTimer");
    // The reply comes half-way through the next step.
    timer(w, "scanAllTimer")->setInterval(400);
    QVERIFY(waitIdle(w, "scanAllTimer", 10000));
    QVERIFY(text(w, "lineEdit_mask").isEmpty());
    // "MASK 255.255.0.0" cut for "GATEWAY" (position 8).
    QCOMPARE(text(w, "lineEdit_gateway"), QStringLiteral(".255.0.0"));
    QCOMPARE(text(w, "lineEdit_portTCP"), QStringLiteral("10502"));
}

void tst_Sequences::emptyReply()
{
    Responder module(moduleWith([](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (c != "MASK")
            return false;
        out = {{5, "\r\n"}};
        return true;
    }));
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(waitIdle(w, "scanAllTimer", 8000));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("нет соединения с модуля"));
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("Ошибка соединения"));
    // The scan went on.
    QCOMPARE(module.commands.size(), 15);
    QCOMPARE(text(w, "lineEdit_gateway"), QStringLiteral("192.168.1.1"));
}

void tst_Sequences::replyWithoutSequenceOnlyStored()
{
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{{5, "RESET done\r\n"}}; });
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    button(w, "Reset")->click();
    QVERIFY(QTest::qWaitFor([&] { return !MainWindowProbe(w).answer().isEmpty(); }, 2000));
    QCOMPARE(MainWindowProbe(w).answer(), QStringLiteral("RESET done"));
    for (const QString &name : paramFields)
        QCOMPARE(style(w, name), QString());
    // A bare line end with no sequence running still shows the box.
    module.device.send("\r\n");
    QVERIFY(boxes.waitForCount(1, 2000));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("нет соединения с модуля"));
}

void tst_Sequences::fullWrite()
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

void tst_Sequences::writeEmptyFieldsAndOff()
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

void tst_Sequences::writeRefused_data()
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

void tst_Sequences::writeRefused()
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

void tst_Sequences::writeIgnoredWords()
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

void tst_Sequences::writeSilentFirstContact()
{
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{}; });
    BoxWatcher boxes;
    boxes.holdMs = 3 * Pace;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    fillForm(w);
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(boxes.waitForCount(1, 5000));
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

void tst_Sequences::writeSilentAfterEarlierWrite()
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

void tst_Sequences::writeModuleStopsAnswering_data()
{
    QTest::addColumn<QByteArray>("lastAnswered");
    QTest::addColumn<QString>("field");
    QTest::newRow("after gateway") << QByteArray("CHANGE GATEWAY:") << "lineEdit_portTCP";
    QTest::newRow("after ip") << QByteArray("CHANGE IP:") << "lineEdit_mask";
    QTest::newRow("before the slave id") << QByteArray("change rtu virtual id:") << "lineEdit_tcp_id";
}

void tst_Sequences::writeModuleStopsAnswering()
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

void tst_Sequences::writeSplitAcknowledgement()
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

void tst_Sequences::writeStoppedByUser()
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

void tst_Sequences::writeNotStartedWhileScanning()
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

void tst_Sequences::scanStopsWrite()
{
    Responder module;
    MainWindow w;
    QVERIFY(connectTo(w, module));
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(module.waitForCommands(1, 3000));
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(!timer(w, "writeAllTimer")->isActive());
    QCOMPARE(button(w, "applyButton")->text(), QStringLiteral("Запись параметры"));
    QVERIFY(waitIdle(w, "scanAllTimer", 6000));
    QCOMPARE(module.commands.mid(module.commands.size() - 15), scanCommands);
}

void tst_Sequences::reboot()
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

void tst_Sequences::factoryReset_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("sent");
    QTest::newRow("yes") << QStringLiteral("Да") << true;
    QTest::newRow("no") << QStringLiteral("Нет") << false;
}

void tst_Sequences::factoryReset()
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

void tst_Sequences::progressFollowsSequences()
{
    Responder module(moduleWith([](const QByteArray &c, QList<Responder::Chunk> &out) {
        if (!c.startsWith("CHANGE GATEWAY:"))
            return false;
        out = {{5, "?"}};
        return true;
    }));
    BoxWatcher boxes;
    MainWindow w;
    w.show();
    auto *bar = get<QProgressBar>(w, "sequenceProgress");
    QVERIFY(bar);
    QVERIFY(!bar->isVisible());
    QVERIFY(connectTo(w, module));
    start(w, "scan_parameters", "scanAllTimer");
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 16);
    QVERIFY(module.waitForCommands(3, 3000));
    QVERIFY(bar->value() >= 3);
    QVERIFY(waitIdle(w, "scanAllTimer", 6000));
    QVERIFY(!bar->isVisible());
    // A write shows its own count and goes away when it fails.
    start(w, "applyButton", "writeAllTimer");
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 27);
    QVERIFY(boxes.waitForCount(1, 6000));
    QVERIFY(!bar->isVisible());
    // And when the user stops a scan.
    start(w, "scan_parameters", "scanAllTimer");
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
    MainWindow w;
    QVERIFY(connectTo(w, module));
    for (const QString &name : paramFields)
        get(w, name)->setStyleSheet(error);
    button(w, "scan_parameters")->setText(QStringLiteral("Стоп сканирования"));
    for (int step = 1; step <= commands.size() + 1; ++step) {
        QVERIFY(QMetaObject::invokeMethod(&w, slot.constData()));
        QTest::qWait(120);
    }
    QCOMPARE(module.commands, commands);
    QCOMPARE(button(w, "scan_parameters")->text(), QStringLiteral("Сканировать"));
    // The end clears the first ten fields of the clearing order.
    for (int i = 0; i < paramFields.size(); ++i)
        QCOMPARE(style(w, paramFields[i]), i < 10 ? QString() : error);
    // One more call starts over.
    QVERIFY(QMetaObject::invokeMethod(&w, slot.constData()));
    QVERIFY(module.waitForCommands(commands.size() + 1, 1000));
    QCOMPARE(module.commands.last(), QByteArray("MAC"));
    // With the port closed a step sends nothing.
    button(w, "connect")->click();
    QVERIFY(QMetaObject::invokeMethod(&w, slot.constData()));
    QTest::qWait(100);
    QCOMPARE(module.commands.size(), commands.size() + 1);
}

void tst_Sequences::variantWriteSilent()
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

void tst_Sequences::variantWrite()
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

QTEST_MAIN(tst_Sequences)
#include "tst_sequences.moc"
