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
#include "modalscript.h"
#include "setting_module.h"
#include "window.h"

using namespace support;

namespace {

using Seen = ModalScript::Seen;

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
        state << QString::number(child<QComboBox>(w, name)->currentIndex());
    state << QString::number(child<QCheckBox>(w, "checkBox")->isChecked())
          << child<QLineEdit>(w, "lineEdit_tcp_id")->text()
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

private:
    void invoke(MainWindow &w, const char *slot)
    {
        QVERIFY(QMetaObject::invokeMethod(&w, slot));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void initTestCase();
    void cleanupTestCase();

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
};

void tst_SettingsMenu::initTestCase()
{
    log = std::make_unique<LogCapture>(QStringLiteral("gateway.settings"));
}

void tst_SettingsMenu::cleanupTestCase()
{
    log.reset();
}

void tst_SettingsMenu::saveUntouchedFormWritesDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("defaults.TRset");
    MainWindow w;
    const QStringList before = formState(w);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_save_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 1);

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
    QTemporaryDir dir;
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::chooseFile(dir.filePath("x.TRset"));
    invoke(w, "on_action_save_triggered");
    QCOMPARE(a.seen.size(), 1);
    const Seen &s = a.seen.first();
    QCOMPARE(s.kind, QString("file"));
    QCOMPARE(s.title, dialogSettings);
    QVERIFY(!s.hasParent);
    QCOMPARE(s.acceptMode, int(QFileDialog::AcceptSave));
    QCOMPARE(s.filterShown, settingsFilter);
    QCOMPARE(s.defaultSuffix, QString("TRset"));
    QVERIFY(s.confirmsOverwrite);
    QVERIFY(QFile::exists(dir.filePath("x.TRset")));
}

void tst_SettingsMenu::typedNameGetsExtension()
{
    QTemporaryDir dir;
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::typeName(dir.path(), "typed");
    invoke(w, "on_action_save_triggered");
    QCOMPARE(a.unexpected, 0);
    QVERIFY(QFile::exists(dir.filePath("typed.TRset")));
    QVERIFY(!QFile::exists(dir.filePath("typed")));
    // A name with an extension of its own is used as typed.
    a.steps << ModalScript::typeName(dir.path(), "other.ini");
    invoke(w, "on_action_save_triggered");
    QVERIFY(QFile::exists(dir.filePath("other.ini")));
}

void tst_SettingsMenu::openDialogShowsOnlySettingsFiles()
{
    QTemporaryDir dir;
    // "settings" and "TCP_RTU" are what the raw filter text would match.
    for (const char *name : {"a.TRset", "b.TRset", "notes.txt", "settings", "TCP_RTU", "a.TRset.bak"})
        writeFile(dir.filePath(name), "[General]\n");
    QVERIFY(QDir().mkdir(dir.filePath("sub")));
    MainWindow w;
    ModalScript a;
    QStringList listed;
    a.steps << ModalScript::listFolder(dir.path(), {"a.TRset", "b.TRset", "sub"}, &listed)
            << ModalScript::press(QMessageBox::Ok);
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 2);
    const Seen &s = a.seen.at(0);
    QCOMPARE(s.title, dialogSettings);
    QVERIFY(!s.hasParent);
    QCOMPARE(s.acceptMode, int(QFileDialog::AcceptOpen));
    QCOMPARE(s.fileMode, int(QFileDialog::ExistingFile));
    QCOMPARE(s.filterShown, settingsFilter);
    QCOMPARE(listed, (QStringList{"a.TRset", "b.TRset", "sub"}));
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
    QTemporaryDir dir;
    const QString path = dir.filePath("off.TRset");
    MainWindow w;
    child<QCheckBox>(w, "checkBox")->setChecked(ticked);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setText(address);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_save_triggered");
    QSettings back(path, QSettings::IniFormat);
    QCOMPARE(back.value("Client_TCP/TCP_SLAVE_ID").toString(), written);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_tcp_id")->text(), address);
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
    QTemporaryDir dir;
    const QString path = dir.filePath("id.TRset");
    writeFile(path, fullFile.arg(value).toUtf8());
    MainWindow w;
    // Start from the opposite state.
    child<QCheckBox>(w, "checkBox")->setChecked(!ticked);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setEnabled(ticked);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setText("99");
    child<QLineEdit>(w, "lineEdit_tcp_id")->setStyleSheet(styleOk);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(child<QCheckBox>(w, "checkBox")->isChecked(), ticked);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_tcp_id")->text(), field);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_tcp_id")->isEnabled(), enabled);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_tcp_id")->styleSheet(), style);

    // And back out: saving writes "off" again for "off" and for the empty
    // address, the address otherwise.
    const QString again = dir.filePath("again.TRset");
    a.steps << ModalScript::chooseFile(again);
    invoke(w, "on_action_save_triggered");
    QSettings back(again, QSettings::IniFormat);
    QCOMPARE(back.value("Client_TCP/TCP_SLAVE_ID").toString(), value.isEmpty() ? QString("off") : value);
}

void tst_SettingsMenu::loadFillsFormAndLavender()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("full.TRset");
    writeFile(path, fullFile.arg("off").toUtf8());
    MainWindow w;
    prefill(w);
    child<QLineEdit>(w, "lineEdit_ip")->setStyleSheet(styleOk);
    child<QComboBox>(w, "comboBox_speed")->setStyleSheet(styleError);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 1);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");

    QCOMPARE(child<QLineEdit>(w, "lineEdit_ip")->text(), QString("10.1.1.1"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_mask")->text(), QString("255.255.255.128"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_gateway")->text(), QString("10.1.1.254"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_portTCP")->text(), QString("10502"));
    QCOMPARE(child<QComboBox>(w, "comboBox_speed")->currentIndex(), 6);
    QCOMPARE(child<QComboBox>(w, "comboBox_2")->currentIndex(), 2);
    QCOMPARE(child<QComboBox>(w, "comboBox")->currentIndex(), 3);
    QCOMPARE(child<QComboBox>(w, "comboBox_mode")->currentIndex(), 2);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_timewait")->text(), QString("300"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_ipservertcp")->text(), QString("10.1.1.2"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_timeout")->text(), QString("20"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_rtu_virtual_id")->text(), QString("5"));

    // The two spellings of the lavender; MAC and version keep their texts.
    QCOMPARE(child<QLineEdit>(w, "lineEdit_version")->styleSheet(), styleInactive);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_MAC")->styleSheet(), styleInactiveFile);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_tcp_id")->styleSheet(), styleInactiveFile);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_MAC")->text(), QString("AA:BB:CC:DD:EE:FF"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_version")->text(), QString("1.7"));
    // No other style sheet is touched.
    QCOMPARE(child<QLineEdit>(w, "lineEdit_ip")->styleSheet(), styleOk);
    QCOMPARE(child<QComboBox>(w, "comboBox_speed")->styleSheet(), styleError);

    // "Текущий файл" reloads the same values after the form changed.
    prefill(w);
    invoke(w, "on_action_triggered");
    QCOMPARE(a.seen.size(), 1); // no dialog
    QCOMPARE(child<QLineEdit>(w, "lineEdit_ip")->text(), QString("10.1.1.1"));
    QCOMPARE(child<QComboBox>(w, "comboBox_speed")->currentIndex(), 6);
    QVERIFY(child<QCheckBox>(w, "checkBox")->isChecked());
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");
}

void tst_SettingsMenu::loadTraces()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.TRset");
    writeFile(path, fullFile.arg("3").toUtf8());
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    log->clear();
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(trace(), (QStringList{"\"\" modul_name", "6 SPERD_RS485", "2 tcp -mode"}));
    log->clear();
    invoke(w, "on_action_triggered");
    QCOMPARE(trace(), QStringList{"\"\" modul_name"});
}

void tst_SettingsMenu::listValueLoadedAndSaved_data()
{
    QTest::addColumn<QByteArray>("file");
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
    QFETCH(QByteArray, file);
    QFETCH(QString, list);
    QFETCH(int, loaded);
    QFETCH(QString, key);
    QFETCH(QString, saved);
    QFETCH(QString, otherKey);
    QFETCH(QString, otherSaved);
    QTemporaryDir dir;
    const QString path = dir.filePath("l.TRset");
    writeFile(path, file);
    MainWindow w;
    child<QComboBox>(w, list)->setCurrentIndex(3);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path) << ModalScript::chooseFile(dir.filePath("out.TRset"));
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(child<QComboBox>(w, list)->currentIndex(), loaded);
    invoke(w, "on_action_save_triggered");
    QSettings back(dir.filePath("out.TRset"), QSettings::IniFormat);
    QCOMPARE(back.value(key).toString(), saved);
    QCOMPARE(back.value(otherKey).toString(), otherSaved);
}

void tst_SettingsMenu::clientOnlyFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("c.TRset");
    writeFile(path, "[Client_TCP]\nIP_SERVER_TCP=10.9.9.9\nTIMEOUT_TCP=15\nRTU_VIRTUAL_ID=3\n"
                    "TCP_SLAVE_ID=off\n");
    MainWindow w;
    prefill(w);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(a.unexpected, 0);
    for (const char *name : {"lineEdit_ip", "lineEdit_mask", "lineEdit_gateway", "lineEdit_portTCP",
                             "lineEdit_timewait"})
        QVERIFY2(child<QLineEdit>(w, name)->text().isEmpty(), name);
    for (const char *name : choiceLists)
        QCOMPARE(child<QComboBox>(w, name)->currentIndex(), 0);
    QCOMPARE(child<QLineEdit>(w, "lineEdit_ipservertcp")->text(), QString("10.9.9.9"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_timeout")->text(), QString("15"));
    QCOMPARE(child<QLineEdit>(w, "lineEdit_rtu_virtual_id")->text(), QString("3"));
    QVERIFY(child<QCheckBox>(w, "checkBox")->isChecked());
}

// A second save to one file, through the menu and setting_module: every key
// and section once, with the values of the second.
void tst_SettingsMenu::saveTwiceToOneFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("twice.TRset");
    MainWindow w;
    child<QLineEdit>(w, "lineEdit_ip")->setText("1.1.1.1");
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_save_triggered");
    child<QLineEdit>(w, "lineEdit_ip")->setText("2.2.2.2");
    child<QComboBox>(w, "comboBox_speed")->setCurrentIndex(8);
    // The dialog asks before replacing the file.
    a.steps << ModalScript::chooseFile(path) << ModalScript::press(QMessageBox::Yes);
    invoke(w, "on_action_save_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 3);
    QCOMPARE(a.seen.at(2).kind, QString("box"));
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
    QTemporaryDir dir;
    const QString path = dir.filePath("f.TRset");
    writeFile(path, "[General]\nCOMMENT=site A\nIP_ADRESS=9.9.9.9\n\n[Client_TCP]\nX=1\n\n[Site]\nROOM=12\n");
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::chooseFile(path) << ModalScript::press(QMessageBox::Yes);
    invoke(w, "on_action_save_triggered");
    QCOMPARE(a.unexpected, 0);
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
    QTemporaryDir dir;
    const QString path = dir.filePath("sp.TRset");
    MainWindow w;
    child<QLineEdit>(w, "lineEdit_ip")->setText(value);
    child<QLineEdit>(w, "lineEdit_rtu_virtual_id")->setText(value);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setText(value);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_save_triggered");
    MainWindow w2;
    a.steps << ModalScript::chooseFile(path);
    invoke(w2, "on_action_open_2_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(child<QLineEdit>(w2, "lineEdit_ip")->text(), value);
    QCOMPARE(child<QLineEdit>(w2, "lineEdit_rtu_virtual_id")->text(), value);
    QCOMPARE(child<QLineEdit>(w2, "lineEdit_tcp_id")->text(), value);
    QCOMPARE(child<QLineEdit>(w2, "lineEdit_mask")->text(), QString("255.255.255.0"));
}

void tst_SettingsMenu::currentFileBeforeChoice()
{
    MainWindow w;
    prefill(w);
    const QStringList before = formState(w);
    ModalScript a;
    a.steps << ModalScript::press(QMessageBox::Ok);
    invoke(w, "on_action_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 1);
    QCOMPARE(a.seen.at(0).kind, QString("box"));
    QCOMPARE(a.seen.at(0).title, boxError);
    QCOMPARE(a.seen.at(0).text, boxNoFile);
    QVERIFY(a.seen.at(0).hasParent);
    QCOMPARE(formState(w), before);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile);
}

void tst_SettingsMenu::cancelledChoice()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("first.TRset");
    writeFile(path, fullFile.arg("4").toUtf8());
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");
    prefill(w);
    const QStringList before = formState(w);

    a.steps << ModalScript::cancel() << ModalScript::press(QMessageBox::Ok);
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(a.seen.size(), 3);
    QCOMPARE(a.seen.at(2).title, boxError);
    QCOMPARE(a.seen.at(2).text, boxNoFile);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " ()");
    QCOMPARE(formState(w), before);

    // "Текущий файл" does not go back to the first file.
    a.steps << ModalScript::press(QMessageBox::Ok);
    invoke(w, "on_action_triggered");
    QCOMPARE(a.seen.size(), 4);
    QCOMPARE(a.seen.at(3).text, boxNoFile);
    QCOMPARE(formState(w), before);
    QCOMPARE(a.unexpected, 0);
}

void tst_SettingsMenu::currentFileReloadsAfterSavingElsewhere()
{
    QTemporaryDir dir;
    const QString first = dir.filePath("first.TRset");
    writeFile(first, fullFile.arg("off").toUtf8());
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::chooseFile(first) << ModalScript::chooseFile(dir.filePath("second.TRset"));
    invoke(w, "on_action_open_2_triggered");
    child<QLineEdit>(w, "lineEdit_ip")->setText("7.7.7.7");
    invoke(w, "on_action_save_triggered");
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + first + ")");
    invoke(w, "on_action_triggered");
    QCOMPARE(child<QLineEdit>(w, "lineEdit_ip")->text(), QString("10.1.1.1"));
    QCOMPARE(QSettings(dir.filePath("second.TRset"), QSettings::IniFormat).value("IP_ADRESS").toString(),
             QString("7.7.7.7"));
    QCOMPARE(a.unexpected, 0);
}

void tst_SettingsMenu::cancelledSaveWritesNothing()
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::cancel();
    invoke(w, "on_action_save_triggered");
    QDir::setCurrent(before);
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 1); // the dialog, no box
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
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
    QTemporaryDir dir;
    QString path;
    if (kind == "underfile") {
        writeFile(dir.filePath("plain"), "keep");
        path = dir.filePath("plain/s.TRset");
    } else {
        path = "/proc/gateway-configurator-menu-test.TRset";
    }
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::chooseFile(path) << ModalScript::press(QMessageBox::Ok);
    invoke(w, "on_action_save_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 2);
    QCOMPARE(a.seen.at(1).kind, QString("box"));
    QCOMPARE(a.seen.at(1).title, boxError);
    QVERIFY2(a.seen.at(1).text.contains(path), qPrintable(a.seen.at(1).text));
    QVERIFY(a.seen.at(1).hasParent);
    QVERIFY(!QFile::exists(path));
    if (kind == "underfile")
        QCOMPARE(readFile(dir.filePath("plain")), QByteArray("keep"));
}

void tst_SettingsMenu::malformedTargetLeftIntact()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.TRset");
    const QByteArray content = "Shopping list\nmilk\n";
    writeFile(path, content);
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::chooseFile(path) << ModalScript::press(QMessageBox::Yes)
            << ModalScript::press(QMessageBox::Ok);
    invoke(w, "on_action_save_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 3);
    QCOMPARE(a.seen.at(2).title, boxError);
    QVERIFY(a.seen.at(2).text.contains(path));
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
    QTemporaryDir dir;
    const QString path = dir.filePath("cur.TRset");
    writeFile(path, fullFile.arg("off").toUtf8());
    MainWindow w;
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_open_2_triggered");
    prefill(w);
    const QStringList before = formState(w);

    QVERIFY(QFile::exists(path));
    if (kind == "deleted") {
        QVERIFY(QFile::remove(path));
    } else if (kind == "moved") {
        QVERIFY(QFile::rename(path, dir.filePath("elsewhere.TRset")));
    } else if (kind == "folder") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "text") {
        writeFile(path, "Dear engineer,\nthis is a letter.\n");
    } else {
        writeFile(path, "[General\nIP_ADRESS=3.3.3.3\n");
    }
    a.steps << ModalScript::press(QMessageBox::Ok);
    log->clear();
    invoke(w, "on_action_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 2);
    QCOMPARE(a.seen.at(1).kind, QString("box"));
    QCOMPARE(a.seen.at(1).title, boxError);
    QVERIFY2(a.seen.at(1).text.contains(path), qPrintable(a.seen.at(1).text));
    QCOMPARE(formState(w), before);
    QCOMPARE(trace(), QStringList());
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");
}

void tst_SettingsMenu::unreadableChosenFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("letter.TRset");
    writeFile(path, "Not settings at all\n");
    MainWindow w;
    prefill(w);
    const QStringList before = formState(w);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path) << ModalScript::press(QMessageBox::Ok);
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 2);
    QCOMPARE(a.seen.at(1).title, boxError);
    QVERIFY(a.seen.at(1).text.contains(path));
    QCOMPARE(formState(w), before);
    QCOMPARE(child<QAction>(w, "action")->text(), actionCurrentFile + " (" + path + ")");
}

void tst_SettingsMenu::fileLackingKeysLoads()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.TRset");
    writeFile(path, "");
    MainWindow w;
    prefill(w);
    child<QCheckBox>(w, "checkBox")->setChecked(true);
    child<QLineEdit>(w, "lineEdit_tcp_id")->setEnabled(false);
    ModalScript a;
    a.steps << ModalScript::chooseFile(path);
    invoke(w, "on_action_open_2_triggered");
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 1);
    for (const char *name : valueEdits)
        QVERIFY2(child<QLineEdit>(w, name)->text().isEmpty(), name);
    for (const char *name : choiceLists)
        QCOMPARE(child<QComboBox>(w, name)->currentIndex(), 0);
    QVERIFY(!child<QCheckBox>(w, "checkBox")->isChecked());
    QVERIFY(child<QLineEdit>(w, "lineEdit_tcp_id")->isEnabled());
    QVERIFY(child<QLineEdit>(w, "lineEdit_tcp_id")->text().isEmpty());
}

void tst_SettingsMenu::moduleDialogSlots()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("m.TRset");
    writeFile(path, fullFile.arg("off").toUtf8());
    ModalScript a;
    {
        setting_module s;
        a.steps << ModalScript::chooseFile(path);
        s.LoadNTSetting();
        QCOMPARE(s.fileName, path);
        QCOMPARE(s.ipAddress, QString("10.1.1.1"));
        QCOMPARE(s.tcpSlaveId, QString("off"));
    }
    {
        setting_module s;
        s.ipAddress = "keep";
        a.steps << ModalScript::cancel();
        s.LoadNTSetting();
        QVERIFY(s.fileName.isEmpty());
        QVERIFY(s.ipAddress.isEmpty()); // a load from no file reads nothing
    }
    {
        setting_module s;
        s.ipAddress = "5.5.5.5";
        a.steps << ModalScript::chooseFile(dir.filePath("n.TRset"));
        s.SaveNTSetting();
        QCOMPARE(s.fileName, dir.filePath("n.TRset"));
        QCOMPARE(QSettings(s.fileName, QSettings::IniFormat).value("IP_ADRESS").toString(),
                 QString("5.5.5.5"));
    }
    {
        setting_module s;
        s.fileName = "old";
        a.steps << ModalScript::cancel();
        s.SaveNTSetting();
        QVERIFY(s.fileName.isEmpty());
        QVERIFY(s.store == nullptr);
    }
    QCOMPARE(a.unexpected, 0);
    QCOMPARE(a.seen.size(), 4);
    for (const Seen &s : a.seen) {
        QCOMPARE(s.title, dialogSettings);
        QVERIFY(!s.hasParent);
        QCOMPARE(s.filterShown, settingsFilter);
    }
}

QTEST_MAIN(tst_SettingsMenu)
#include "tst_settingsmenu.moc"
