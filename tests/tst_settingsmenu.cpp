// The menu "Файл настройки" of the main window through real files
// and Qt's own file dialog; the dialogs and boxes are answered by the test.
#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

#include "files.h"
#include "logcapture.h"
#include "mainwindow.h"
#include "modals.h"
#include "setting_module.h"
#include "window.h"

using namespace support;

namespace {

using Seen = Modals::Seen;

// A form an engineer has worked on.
void prefill(MainWindow &w)
{
    int n = 1;
    for (const char *name : valueEdits)
        child<QLineEdit>(w, name)->setText(QString("v%1").arg(n++));
    for (const char *name : choiceLists)
        child<QComboBox>(w, name)->setCurrentIndex(2);
    child<QCheckBox>(w, "checkBox")->setChecked(false);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setText("33");
    child<QLineEdit>(w, "lineEdit_MAC")->setText("AA:BB:CC:DD:EE:FF");
    child<QLineEdit>(w, "lineEdit_version")->setText("1.7");
}

QStringList formState(MainWindow &w)
{
    QStringList state;
    for (const char *name : valueEdits)
        state << child<QLineEdit>(w, name)->text();
    for (const char *name : choiceLists)
        state << QString::number(index(w, name));
    state << QString::number(child<QCheckBox>(w, "checkBox")->isChecked())
          << text(w, "lineEdit_tcp_id")
          << QString::number(child<QLineEdit>(w, "lineEdit_tcp_id")->isEnabled())
          << child<QLineEdit>(w, "lineEdit_tcp_id")->styleSheet()
          << child<QLineEdit>(w, "lineEdit_MAC")->styleSheet()
          << child<QLineEdit>(w, "lineEdit_version")->styleSheet();
    return state;
}

const QString fullFile = QStringLiteral(
        "[General]\nIP_ADRESS=10.1.1.1\nMASK=255.255.255.128\nGATEWAY=10.1.1.254\nPORT_TCP=10502\n"
        "SPEED_RS485=6\nSTOP_BIT=2\nPARITY=3\nMODE_TCP=2\nTIMEOUT_RESPONSE=300\n\n"
        "[Client_TCP]\nIP_SERVER_TCP=10.1.1.2\nTIMEOUT_TCP=20\nRTU_VIRTUAL_ID=5\nTCP_SLAVE_ID=%1\n");

} // namespace

class tst_SettingsMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void saveUntouchedFormWritesDefaults();
    void saveDialog();
    void typedNameGetsExtension();
    void openDialogShowsOnlySettingsFiles();
    void saveOff_data();
    void saveOff();
    void loadTcpSlaveId_data();
    void loadTcpSlaveId();
    void loadFillsFormAndLavender();
    void loadTraces();
    void listValueLoadedAndSaved_data();
    void listValueLoadedAndSaved();
    void clientOnlyFile();
    void saveTwiceToOneFile();
    void foreignKeysKept();
    void specialCharactersRoundTrip_data();
    void specialCharactersRoundTrip();
    void currentFileBeforeChoice();
    void cancelledChoice();
    void currentFileReloadsAfterSavingElsewhere();
    void cancelledSaveWritesNothing();
    void saveFailureReported_data();
    void saveFailureReported();
    void malformedTargetLeftIntact();
    void unreadableCurrentFile_data();
    void unreadableCurrentFile();
    void unreadableChosenFile();
    void fileLackingKeysLoads();
    void moduleDialogSlots();

private:
    // The settings traces, kept here only.
    std::unique_ptr<LogCapture> log;
    QStringList trace() const { return log->texts(QStringLiteral("gateway.settings")); }
    // The answerer of the dialogs and boxes: every one must be expected.
    std::unique_ptr<Modals> modals;
    // A folder of each test's own.
    std::unique_ptr<QTemporaryDir> dir;
    QString file(const QString &name) const { return dir->filePath(name); }
    const QVector<Seen> &seen() const { return modals->seen; }
    // Runs the menu command `slot`; its modal windows take the answers in
    // turn, every one of them.
    bool run(MainWindow &w, const char *slot, const QList<Modals::Step> &answers = {})
    {
        modals->steps = answers;
        const bool ran = QMetaObject::invokeMethod(&w, slot);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return ran && modals->steps.isEmpty();
    }
};

void tst_SettingsMenu::initTestCase()
{
    log = std::make_unique<LogCapture>(QStringLiteral("gateway.settings"));
}

void tst_SettingsMenu::cleanupTestCase()
{
    log.reset();
}

void tst_SettingsMenu::init()
{
    modals = std::make_unique<Modals>(Modals::Scripted);
    dir = std::make_unique<QTemporaryDir>();
}

void tst_SettingsMenu::cleanup()
{
    modals.reset();
    dir.reset();
}

void tst_SettingsMenu::saveUntouchedFormWritesDefaults()
{
    const QString path = file("defaults.TRset");
    MainWindow w;
    const QStringList before = formState(w);
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(path)}));

    const QString expected("[General]\nGATEWAY=0.0.0.0\nIP_ADRESS=192.168.0.1\nMASK=255.255.255.0\n"
                           "MODE_TCP=1\nPARITY=1\nPORT_TCP=502\nSPEED_RS485=4\nSTOP_BIT=1\n"
                           "TIMEOUT_RESPONSE=1000\n\n[Client_TCP]\nIP_SERVER_TCP=192.168.0.10\n"
                           "RTU_VIRTUAL_ID=1\nTCP_SLAVE_ID=off\nTIMEOUT_TCP=180\n");
#ifdef Q_OS_WIN
    // There the store ends lines with CR LF and keeps the keys in the order
    // they were set: the same lines in each section.
    const auto sectionLines = [](const QString &text) {
        QList<QStringList> out;
        for (const QString &section : QString(text).replace("\r\n", "\n").split("\n\n")) {
            QStringList lines = section.split('\n', Qt::SkipEmptyParts);
            std::sort(lines.begin() + 1, lines.end());
            out << lines;
        }
        return out;
    };
    QCOMPARE(sectionLines(QString::fromUtf8(readFile(path))), sectionLines(expected));
#else
    QCOMPARE(QString::fromUtf8(readFile(path)), expected);
#endif
    QSettings back(path, QSettings::IniFormat);
    QCOMPARE(back.childKeys().size(), 9);
    QCOMPARE(back.childGroups(), QStringList{"Client_TCP"});
    QCOMPARE(back.value("Client_TCP/TCP_SLAVE_ID").toString(), QString("off"));
    QCOMPARE(back.value("SPEED_RS485").toInt(), 4);

    // The defaults go into the file only; the current file is not changed.
    QCOMPARE(formState(w), before);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile);
}

void tst_SettingsMenu::saveDialog()
{
    MainWindow w;
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(file("x.TRset"))}));
    const Seen &s = seen().first();
    QCOMPARE(s.kind, QString("file"));
    QCOMPARE(s.title, dialogSettings);
    QVERIFY(!s.hasParent);
    QCOMPARE(s.acceptMode, int(QFileDialog::AcceptSave));
    QCOMPARE(s.filterShown, settingsFilter);
    QCOMPARE(s.defaultSuffix, QString("TRset"));
    QVERIFY(s.confirmsOverwrite);
    QVERIFY(QFile::exists(file("x.TRset")));
}

void tst_SettingsMenu::typedNameGetsExtension()
{
    MainWindow w;
    QVERIFY(run(w, "on_action_save_triggered", {Modals::typeName(dir->path(), "typed")}));
    QVERIFY(QFile::exists(file("typed.TRset")));
    QVERIFY(!QFile::exists(file("typed")));
    // A name with an extension of its own is used as typed.
    QVERIFY(run(w, "on_action_save_triggered", {Modals::typeName(dir->path(), "other.ini")}));
    QVERIFY(QFile::exists(file("other.ini")));
}

void tst_SettingsMenu::openDialogShowsOnlySettingsFiles()
{
    // "settings" and "TCP_RTU" are what the raw filter text would match.
    for (const char *name : {"a.TRset", "b.TRset", "notes.txt", "settings", "TCP_RTU", "a.TRset.bak"})
        QVERIFY(writeFile(file(name), "[General]\n"));
    QVERIFY(QDir().mkdir(file("sub")));
    MainWindow w;
    QStringList listed;
    const QStringList expected = {"a.TRset", "b.TRset", "sub"};
    QVERIFY(run(w, "on_action_open_2_triggered",
                {Modals::listFolder(dir->path(), expected, &listed), Modals::press(QMessageBox::Ok)}));
    const Seen &s = seen().at(0);
    QCOMPARE(s.title, dialogSettings);
    QVERIFY(!s.hasParent);
    QCOMPARE(s.acceptMode, int(QFileDialog::AcceptOpen));
    QCOMPARE(s.fileMode, int(QFileDialog::ExistingFile));
    QCOMPARE(s.filterShown, settingsFilter);
    QCOMPARE(listed, expected);
}

void tst_SettingsMenu::saveOff_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("written");
    QTest::newRow("ticked, field empty") << true << "" << "off";
    QTest::newRow("ticked, field 5") << true << "5" << "off";
    QTest::newRow("clear, field empty") << false << "" << "off";
    QTest::newRow("clear, field 12") << false << "12" << "12";
    QTest::newRow("clear, field blank") << false << " " << " ";
    QTest::newRow("clear, field OFF") << false << "OFF" << "OFF";
}

void tst_SettingsMenu::saveOff()
{
    QFETCH(bool, ticked);
    QFETCH(QString, address);
    QFETCH(QString, written);
    const QString path = file("off.TRset");
    MainWindow w;
    child<QCheckBox>(w, "checkBox")->setChecked(ticked);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setText(address);
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(path)}));
    QSettings back(path, QSettings::IniFormat);
    QCOMPARE(back.value("Client_TCP/TCP_SLAVE_ID").toString(), written);
    QCOMPARE(text(w, "lineEdit_tcp_id"), address);
}

void tst_SettingsMenu::loadTcpSlaveId_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("style");
    QTest::newRow("off") << "off" << true << "" << false << styleInactiveFile;
    QTest::newRow("7") << "7" << false << "7" << true << QString();
    QTest::newRow("OFF is an address") << "OFF" << false << "OFF" << true << QString();
    QTest::newRow("Off is an address") << "Off" << false << "Off" << true << QString();
    QTest::newRow("empty") << "" << false << "" << true << QString();
}

void tst_SettingsMenu::loadTcpSlaveId()
{
    QFETCH(QString, value);
    QFETCH(bool, ticked);
    QFETCH(QString, field);
    QFETCH(bool, enabled);
    QFETCH(QString, style);
    const QString path = file("id.TRset");
    QVERIFY(writeFile(path, fullFile.arg(value).toUtf8()));
    MainWindow w;
    // Start from the opposite state.
    child<QCheckBox>(w, "checkBox")->setChecked(!ticked);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setEnabled(ticked);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setText("99");
    child<QLineEdit>(w, "lineEdit_tcp_id")->setStyleSheet(styleOk);
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    QCOMPARE(child<QCheckBox>(w, "checkBox")->isChecked(), ticked);
    QCOMPARE(text(w, "lineEdit_tcp_id"), field);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_tcp_id")->isEnabled(), enabled);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_tcp_id")->styleSheet(), style);

    // And back out: saving writes "off" again for "off" and for the empty
    // address, the address otherwise.
    const QString again = file("again.TRset");
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(again)}));
    QSettings back(again, QSettings::IniFormat);
    QCOMPARE(back.value("Client_TCP/TCP_SLAVE_ID").toString(), value.isEmpty() ? QString("off") : value);
}

void tst_SettingsMenu::loadFillsFormAndLavender()
{
    const QString path = file("full.TRset");
    QVERIFY(writeFile(path, fullFile.arg("off").toUtf8()));
    MainWindow w;
    prefill(w);
    child<QLineEdit>(w, "lineEdit_ip")->setStyleSheet(styleOk);
    child<QComboBox>(w, "comboBox_speed")->setStyleSheet(styleError);
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");

    // The file's values; the two spellings of the lavender.
    const QStringList loaded = {"10.1.1.1", "255.255.255.128", "10.1.1.254", "10502", "300", "10.1.1.2", "20", "5",
                                "2", "3", "6", "2", "1", "", "0", styleInactiveFile, styleInactiveFile, styleInactive};
    QCOMPARE(formState(w), loaded);
    // MAC and version keep their texts; no other style sheet is touched.
    QCOMPARE(text(w, "lineEdit_MAC"), QString("AA:BB:CC:DD:EE:FF"));
    QCOMPARE(text(w, "lineEdit_version"), QString("1.7"));
    QCOMPARE(styleOf(w, "lineEdit_ip"), styleOk);
    QCOMPARE(styleOf(w, "comboBox_speed"), styleError);

    // "Текущий файл" reloads the same values after the form changed.
    prefill(w);
    QVERIFY(run(w, "on_action_triggered"));
    QCOMPARE(formState(w), loaded);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");
}

void tst_SettingsMenu::loadTraces()
{
    const QString path = file("t.TRset");
    QVERIFY(writeFile(path, fullFile.arg("3").toUtf8()));
    MainWindow w;
    log->clear();
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    QCOMPARE(trace(), (QStringList{"\"\" modul_name", "6 SPERD_RS485", "2 tcp -mode"}));
    log->clear();
    QVERIFY(run(w, "on_action_triggered"));
    QCOMPARE(trace(), QStringList{"\"\" modul_name"});
}

void tst_SettingsMenu::listValueLoadedAndSaved_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("loaded"); // the list's index after the load
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("saved"); // the list's key saved again
    QTest::addColumn<QString>("otherKey");
    QTest::addColumn<QString>("otherSaved"); // a neighbour's key saved again
    QTest::newRow("speed out of range") << QByteArray("[General]\nSPEED_RS485=15\nPARITY=2\n")
                                        << "comboBox_speed" << -1 << "SPEED_RS485" << "-1" << "PARITY" << "2";
    QTest::newRow("blank parity") << QByteArray("[General]\nPARITY=0\nSTOP_BIT=2\n") << "comboBox" << 0
                                  << "PARITY" << "1" << "STOP_BIT" << "2";
}

void tst_SettingsMenu::listValueLoadedAndSaved()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, list);
    QFETCH(int, loaded);
    QFETCH(QString, key);
    QFETCH(QString, saved);
    QFETCH(QString, otherKey);
    QFETCH(QString, otherSaved);
    const QString path = file("l.TRset");
    QVERIFY(writeFile(path, content));
    MainWindow w;
    child<QComboBox>(w, list)->setCurrentIndex(3);
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    QCOMPARE(index(w, list), loaded);
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(file("out.TRset"))}));
    QSettings back(file("out.TRset"), QSettings::IniFormat);
    QCOMPARE(back.value(key).toString(), saved);
    QCOMPARE(back.value(otherKey).toString(), otherSaved);
}

void tst_SettingsMenu::clientOnlyFile()
{
    const QString path = file("c.TRset");
    QVERIFY(writeFile(path, "[Client_TCP]\nIP_SERVER_TCP=10.9.9.9\nTIMEOUT_TCP=15\nRTU_VIRTUAL_ID=3\n"
                    "TCP_SLAVE_ID=off\n"));
    MainWindow w;
    prefill(w);
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    for (const char *name : {"lineEdit_ip", "lineEdit_mask", "lineEdit_gateway", "lineEdit_portTCP",
                             "lineEdit_timewait"})
        QVERIFY2(child<QLineEdit>(w, name)->text().isEmpty(), name);
    for (const char *name : choiceLists)
        QCOMPARE(index(w, name), 0);
    QCOMPARE(text(w, "lineEdit_ipservertcp"), QString("10.9.9.9"));
    QCOMPARE(text(w, "lineEdit_timeout"), QString("15"));
    QCOMPARE(text(w, "lineEdit_rtu_virtual_id"), QString("3"));
    QVERIFY(child<QCheckBox>(w, "checkBox")->isChecked());
}

// A second save to one file, through the menu and setting_module: every key
// and section once, with the values of the second.
void tst_SettingsMenu::saveTwiceToOneFile()
{
    const QString path = file("twice.TRset");
    MainWindow w;
    child<QLineEdit>(w, "lineEdit_ip")->setText("1.1.1.1");
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(path)}));
    child<QLineEdit>(w, "lineEdit_ip")->setText("2.2.2.2");
    child<QComboBox>(w, "comboBox_speed")->setCurrentIndex(8);
    // The dialog asks before replacing the file.
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(path), Modals::press(QMessageBox::Yes)}));
    QCOMPARE(seen().at(2).kind, QString("box"));
    // (the store ends its lines as the platform does: CR LF on Windows)
    const QString text = QString::fromUtf8(readFile(path)).replace("\r\n", "\n");
    QCOMPARE(text.count("IP_ADRESS="), 1);
    QCOMPARE(text.count("SPEED_RS485="), 1);
    QCOMPARE(text.count("[General]"), 1);
    QCOMPARE(text.count("[Client_TCP]"), 1);
    QCOMPARE(text.count('\n') - text.count("\n\n"), 15); // 13 keys, 2 headers
    QVERIFY(text.contains("IP_ADRESS=2.2.2.2\n"));
    QVERIFY(text.contains("SPEED_RS485=8\n"));
}

void tst_SettingsMenu::foreignKeysKept()
{
    const QString path = file("f.TRset");
    QVERIFY(writeFile(path, "[General]\nCOMMENT=site A\nIP_ADRESS=9.9.9.9\n\n[Client_TCP]\nX=1\n\n[Site]\nROOM=12\n"));
    MainWindow w;
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(path), Modals::press(QMessageBox::Yes)}));
    QSettings back(path, QSettings::IniFormat);
    QCOMPARE(back.value("COMMENT").toString(), QString("site A"));
    QCOMPARE(back.value("Client_TCP/X").toString(), QString("1"));
    QCOMPARE(back.value("Site/ROOM").toString(), QString("12"));
    QCOMPARE(back.value("IP_ADRESS").toString(), QString("192.168.0.1"));
}

void tst_SettingsMenu::specialCharactersRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("equals") << QString("a=b=c");
    QTest::newRow("semicolon") << QString("x; y");
    QTest::newRow("comma") << QString("1,2");
    QTest::newRow("quotes") << QString("\"q\"");
    QTest::newRow("leading blanks") << QString("  10.0.0.1");
    QTest::newRow("trailing blank") << QString("10.0.0.1 ");
    QTest::newRow("cyrillic") << QString::fromUtf8("Шлюз №1");
    QTest::newRow("backslash") << QString("a\\b");
}

void tst_SettingsMenu::specialCharactersRoundTrip()
{
    QFETCH(QString, value);
    const QString path = file("sp.TRset");
    MainWindow w;
    child<QLineEdit>(w, "lineEdit_ip")->setText(value);
    child<QLineEdit>(w, "lineEdit_rtu_virtual_id")->setText(value);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setText(value);
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(path)}));
    MainWindow w2;
    QVERIFY(run(w2, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    QCOMPARE(text(w2, "lineEdit_ip"), value);
    QCOMPARE(text(w2, "lineEdit_rtu_virtual_id"), value);
    QCOMPARE(text(w2, "lineEdit_tcp_id"), value);
    QCOMPARE(text(w2, "lineEdit_mask"), QString("255.255.255.0"));
}

void tst_SettingsMenu::currentFileBeforeChoice()
{
    MainWindow w;
    prefill(w);
    const QStringList before = formState(w);
    QVERIFY(run(w, "on_action_triggered", {Modals::press(QMessageBox::Ok)}));
    QCOMPARE(seen().at(0).kind, QString("box"));
    QCOMPARE(seen().at(0).title, boxError);
    QCOMPARE(seen().at(0).text, boxNoFile);
    QVERIFY(seen().at(0).hasParent);
    QCOMPARE(formState(w), before);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile);
}

void tst_SettingsMenu::cancelledChoice()
{
    const QString path = file("first.TRset");
    QVERIFY(writeFile(path, fullFile.arg("4").toUtf8()));
    MainWindow w;
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");
    prefill(w);
    const QStringList before = formState(w);

    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::cancel(), Modals::press(QMessageBox::Ok)}));
    QCOMPARE(seen().at(2).title, boxError);
    QCOMPARE(seen().at(2).text, boxNoFile);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " ()");
    QCOMPARE(formState(w), before);

    // "Текущий файл" does not go back to the first file.
    QVERIFY(run(w, "on_action_triggered", {Modals::press(QMessageBox::Ok)}));
    QCOMPARE(seen().at(3).text, boxNoFile);
    QCOMPARE(formState(w), before);
}

void tst_SettingsMenu::currentFileReloadsAfterSavingElsewhere()
{
    const QString first = file("first.TRset");
    QVERIFY(writeFile(first, fullFile.arg("off").toUtf8()));
    MainWindow w;
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(first)}));
    child<QLineEdit>(w, "lineEdit_ip")->setText("7.7.7.7");
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(file("second.TRset"))}));
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + first + ")");
    QVERIFY(run(w, "on_action_triggered"));
    QCOMPARE(text(w, "lineEdit_ip"), QString("10.1.1.1"));
    QCOMPARE(QSettings(file("second.TRset"), QSettings::IniFormat).value("IP_ADRESS").toString(),
             QString("7.7.7.7"));
}

void tst_SettingsMenu::cancelledSaveWritesNothing()
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir->path());
    MainWindow w;
    QVERIFY(run(w, "on_action_save_triggered", {Modals::cancel()}));
    QDir::setCurrent(before);
    QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void tst_SettingsMenu::saveFailureReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("under a regular file") << QString("underfile");
#ifdef Q_OS_UNIX
    QTest::newRow("under /proc") << QString("proc");
#endif
}

void tst_SettingsMenu::saveFailureReported()
{
    // Root may write anywhere; these fail for root as well.
    QFETCH(QString, kind);
    QString path;
    if (kind == "underfile") {
        QVERIFY(writeFile(file("plain"), "keep"));
        path = file("plain/s.TRset");
    } else {
        path = "/proc/gateway-configurator-menu-test.TRset";
    }
    MainWindow w;
    QVERIFY(run(w, "on_action_save_triggered", {Modals::chooseFile(path), Modals::press(QMessageBox::Ok)}));
    QCOMPARE(seen().at(1).kind, QString("box"));
    QCOMPARE(seen().at(1).title, boxError);
    QVERIFY2(seen().at(1).text.contains(path), qPrintable(seen().at(1).text));
    QVERIFY(seen().at(1).hasParent);
    QVERIFY(!QFile::exists(path));
    if (kind == "underfile")
        QCOMPARE(readFile(file("plain")), QByteArray("keep"));
}

void tst_SettingsMenu::malformedTargetLeftIntact()
{
    const QString path = file("notes.TRset");
    const QByteArray content = "Shopping list\nmilk\n";
    QVERIFY(writeFile(path, content));
    MainWindow w;
    QVERIFY(run(w, "on_action_save_triggered",
                {Modals::chooseFile(path), Modals::press(QMessageBox::Yes), Modals::press(QMessageBox::Ok)}));
    QCOMPARE(seen().at(2).title, boxError);
    QVERIFY(seen().at(2).text.contains(path));
    QCOMPARE(readFile(path), content);
}

void tst_SettingsMenu::unreadableCurrentFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("deleted") << QString("deleted");
    QTest::newRow("moved") << QString("moved");
    QTest::newRow("replaced by a folder") << QString("folder");
    QTest::newRow("replaced by text") << QString("text");
    QTest::newRow("broken section") << QString("section");
}

void tst_SettingsMenu::unreadableCurrentFile()
{
    QFETCH(QString, kind);
    const QString path = file("cur.TRset");
    QVERIFY(writeFile(path, fullFile.arg("off").toUtf8()));
    MainWindow w;
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    prefill(w);
    const QStringList before = formState(w);

    QVERIFY(QFile::exists(path));
    if (kind == "deleted") {
        QVERIFY(QFile::remove(path));
    } else if (kind == "moved") {
        QVERIFY(QFile::rename(path, file("elsewhere.TRset")));
    } else if (kind == "folder") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "text") {
        QVERIFY(writeFile(path, "Dear engineer,\nthis is a letter.\n"));
    } else {
        QVERIFY(writeFile(path, "[General\nIP_ADRESS=3.3.3.3\n"));
    }
    log->clear();
    QVERIFY(run(w, "on_action_triggered", {Modals::press(QMessageBox::Ok)}));
    QCOMPARE(seen().at(1).kind, QString("box"));
    QCOMPARE(seen().at(1).title, boxError);
    QVERIFY2(seen().at(1).text.contains(path), qPrintable(seen().at(1).text));
    QCOMPARE(formState(w), before);
    QCOMPARE(trace(), QStringList());
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");
}

void tst_SettingsMenu::unreadableChosenFile()
{
    const QString path = file("letter.TRset");
    QVERIFY(writeFile(path, "Not settings at all\n"));
    MainWindow w;
    prefill(w);
    const QStringList before = formState(w);
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path), Modals::press(QMessageBox::Ok)}));
    QCOMPARE(seen().at(1).title, boxError);
    QVERIFY(seen().at(1).text.contains(path));
    QCOMPARE(formState(w), before);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");
}

void tst_SettingsMenu::fileLackingKeysLoads()
{
    const QString path = file("empty.TRset");
    QVERIFY(writeFile(path, ""));
    MainWindow w;
    prefill(w);
    child<QCheckBox>(w, "checkBox")->setChecked(true);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setEnabled(false);
    QVERIFY(run(w, "on_action_open_2_triggered", {Modals::chooseFile(path)}));
    for (const char *name : valueEdits)
        QVERIFY2(child<QLineEdit>(w, name)->text().isEmpty(), name);
    for (const char *name : choiceLists)
        QCOMPARE(index(w, name), 0);
    QVERIFY(!child<QCheckBox>(w, "checkBox")->isChecked());
    QVERIFY(child<QLineEdit>(w, "lineEdit_tcp_id")->isEnabled());
    QVERIFY(text(w, "lineEdit_tcp_id").isEmpty());
}

void tst_SettingsMenu::moduleDialogSlots()
{
    const QString path = file("m.TRset");
    QVERIFY(writeFile(path, fullFile.arg("off").toUtf8()));
    modals->steps << Modals::chooseFile(path) << Modals::cancel() << Modals::chooseFile(file("n.TRset"))
                  << Modals::cancel();
    {
        setting_module s;
        s.LoadNTSetting();
        QCOMPARE(s.fileName, path);
        QCOMPARE(s.ipAddress, QString("10.1.1.1"));
        QCOMPARE(s.tcpSlaveId, QString("off"));
    }
    {
        setting_module s;
        s.ipAddress = "keep";
        s.LoadNTSetting();
        QVERIFY(s.fileName.isEmpty());
        QVERIFY(s.ipAddress.isEmpty()); // a load from no file reads nothing
    }
    {
        setting_module s;
        s.ipAddress = "5.5.5.5";
        s.SaveNTSetting();
        QCOMPARE(s.fileName, file("n.TRset"));
        QCOMPARE(QSettings(s.fileName, QSettings::IniFormat).value("IP_ADRESS").toString(),
                 QString("5.5.5.5"));
    }
    {
        setting_module s;
        s.fileName = "old";
        s.SaveNTSetting();
        QVERIFY(s.fileName.isEmpty());
        QVERIFY(s.store == nullptr);
    }
    QVERIFY(modals->steps.isEmpty());
    for (const Seen &s : seen()) {
        QCOMPARE(s.title, dialogSettings);
        QVERIFY(!s.hasParent);
        QCOMPARE(s.filterShown, settingsFilter);
    }
}

QTEST_MAIN(tst_SettingsMenu)
#include "tst_settingsmenu.moc"
