// setting_module alone: the thirteen keys of a settings file, through real files.
#include <QtTest>

#include <QFile>
#include <QMetaMethod>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

#include "files.h"
#include "setting_module.h"

using namespace support;

namespace {

// The settings store ends its lines as the platform does.
#ifdef Q_OS_WIN
const QString eol = QStringLiteral("\r\n");
#else
const QString eol = QStringLiteral("\n");
#endif

// Every value set to something that differs from the read defaults.
void fill(setting_module &s)
{
    s.ipAddress = "10.0.0.5";
    s.netMask = "255.255.0.0";
    s.gateway = "10.0.0.1";
    s.tcpPort = "10502";
    s.rs485Speed = 8;
    s.stopBits = 2;
    s.parity = 3;
    s.tcpMode = 2;
    s.responseTimeout = "2500";
    s.serverIp = "10.0.0.99";
    s.tcpTimeout = "60";
    s.rtuVirtualId = "17";
    s.tcpSlaveId = "9";
}

} // namespace

class tst_SettingsModule : public QObject
{
    Q_OBJECT

private slots:
    void metaObject();
    void saveWritesKeysAndSections();
    void roundTrip();
    void missingFileReadsEmpty();
    void missingKeysReadDefaults();
    void misspelledKeyReadsEmpty();
    void listValues_data();
    void listValues();
    void specialCharacters_data();
    void specialCharacters();
    void utf8Files_data();
    void utf8Files();
    void saveFailures_data();
    void saveFailures();
    void malformedFileLeftIntact();
    void emptyNameWritesNothing();
    void abandonedLock_data();
    void abandonedLock();
    void check_data();
    void check();
};

void tst_SettingsModule::metaObject()
{
    const QMetaObject &mo = setting_module::staticMetaObject;
    QCOMPARE(QByteArray(mo.className()), QByteArray("setting_module"));
    QCOMPARE(mo.superClass(), &QObject::staticMetaObject);
    QStringList methods;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
        const QMetaMethod m = mo.method(i);
        QCOMPARE(m.methodType(), QMetaMethod::Slot);
        QCOMPARE(m.access(), QMetaMethod::Public);
        methods << QString::fromLatin1(m.methodSignature());
    }
    QCOMPARE(methods, QStringList({"LoadNTSetting()", "SaveNTSetting()", "LoadNTSetting(QString)",
                                   "SaveNTSetting(QString)"}));
}

void tst_SettingsModule::saveWritesKeysAndSections()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("all.TRset");
    {
        setting_module s;
        fill(s);
        s.SaveNTSetting(path);
        QVERIFY(s.store);
        QCOMPARE(s.store->status(), QSettings::NoError);
        QVERIFY(s.fileName.isEmpty()); // the name form leaves fileName alone
        // Synchronised at once: on disk before the object goes.
        QVERIFY(QFile::exists(path));
    }
    const QString text = QString::fromUtf8(readFile(path));
    const int general = text.indexOf("[General]");
    const int client = text.indexOf("[Client_TCP]");
    QVERIFY(general == 0);
    QVERIFY(client > general);
    const QString gen = text.mid(general, client - general);
    const QString cli = text.mid(client);
    for (const char *line : {"IP_ADRESS=10.0.0.5", "MASK=255.255.0.0", "GATEWAY=10.0.0.1",
                             "PORT_TCP=10502", "SPEED_RS485=8", "STOP_BIT=2", "PARITY=3",
                             "MODE_TCP=2", "TIMEOUT_RESPONSE=2500"})
        QVERIFY2(gen.contains(eol + line + eol), line);
    for (const char *line : {"IP_SERVER_TCP=10.0.0.99", "TIMEOUT_TCP=60", "RTU_VIRTUAL_ID=17",
                             "TCP_SLAVE_ID=9"})
        QVERIFY2(cli.contains(eol + line + eol), line);
    // Thirteen key lines, two section headers, nothing else.
    const QStringList lines = text.split(eol, Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 15);

    QSettings back(path, QSettings::IniFormat);
    QCOMPARE(back.childGroups(), QStringList{"Client_TCP"});
    QCOMPARE(back.childKeys().size(), 9);
    // The list positions are plain integers, not variant blobs.
    QCOMPARE(back.value("SPEED_RS485").toString(), QString("8"));
}

void tst_SettingsModule::roundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("rt.TRset");
    setting_module out;
    fill(out);
    out.SaveNTSetting(path);
    setting_module in;
    in.LoadNTSetting(path);
    QVERIFY(in.store);
    QCOMPARE(valuesOf(in), valuesOf(out));
    QVERIFY(in.moduleName.isNull());
    QVERIFY(in.fileName.isEmpty());
}

void tst_SettingsModule::missingFileReadsEmpty()
{
    QTemporaryDir dir;
    setting_module s;
    fill(s);
    s.LoadNTSetting(dir.filePath("nothere.TRset"));
    QCOMPARE(valuesOf(s), QStringList({"", "", "", "", "0", "0", "0", "0", "", "", "", "", ""}));
    QVERIFY(!QFile::exists(dir.filePath("nothere.TRset")));
}

void tst_SettingsModule::missingKeysReadDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("client.TRset");
    QVERIFY(writeFile(path, "[Client_TCP]\nTCP_SLAVE_ID=off\nTIMEOUT_TCP=30\n"));
    setting_module s;
    fill(s);
    s.LoadNTSetting(path);
    QCOMPARE(s.store->status(), QSettings::NoError);
    QCOMPARE(valuesOf(s), QStringList({"", "", "", "", "0", "0", "0", "0", "", "", "30", "", "off"}));
    QVERIFY(!s.ipAddress.isNull());
}

void tst_SettingsModule::misspelledKeyReadsEmpty()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dd.TRset");
    QVERIFY(writeFile(path, "[General]\nIP_ADDRESS=1.2.3.4\nMASK=255.0.0.0\n"));
    setting_module s;
    s.LoadNTSetting(path);
    QVERIFY(s.ipAddress.isEmpty());
    QCOMPARE(s.netMask, QString("255.0.0.0"));
}

void tst_SettingsModule::listValues_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("4") << QByteArray("4") << 4;
    QTest::newRow("15") << QByteArray("15") << 15;
    QTest::newRow("-1") << QByteArray("-1") << -1;
    QTest::newRow("0") << QByteArray("0") << 0;
    QTest::newRow("word") << QByteArray("fast") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
}

void tst_SettingsModule::listValues()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QTemporaryDir dir;
    const QString path = dir.filePath("l.TRset");
    QVERIFY(writeFile(path, "[General]\nSPEED_RS485=" + text + "\nPARITY=" + text + "\nSTOP_BIT=" + text
                      + "\nMODE_TCP=" + text + "\n"));
    setting_module s;
    s.LoadNTSetting(path);
    QCOMPARE(s.rs485Speed, value);
    QCOMPARE(s.parity, value);
    QCOMPARE(s.stopBits, value);
    QCOMPARE(s.tcpMode, value);
}

void tst_SettingsModule::specialCharacters_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("equals") << QString("a=b");
    QTest::newRow("semicolon") << QString("a;b");
    QTest::newRow("comma") << QString("1,2,3");
    QTest::newRow("quotes") << QString("\"quoted\" 'single'");
    QTest::newRow("leading blanks") << QString("   7");
    QTest::newRow("trailing blanks") << QString("7   ");
    QTest::newRow("only blanks") << QString("  ");
    QTest::newRow("cyrillic") << QString::fromUtf8("Привет, шлюз");
    QTest::newRow("backslash") << QString("C:\\dir\\f");
    QTest::newRow("brackets") << QString("[General]");
    QTest::newRow("at") << QString("@Variant(x)");
    QTest::newRow("hash") << QString("#1");
}

void tst_SettingsModule::specialCharacters()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath("sp.TRset");
    {
        setting_module s;
        fill(s);
        s.ipAddress = value;
        s.tcpSlaveId = value;
        s.SaveNTSetting(path);
        QCOMPARE(s.store->status(), QSettings::NoError);
    }
    setting_module in;
    in.LoadNTSetting(path);
    QCOMPARE(in.ipAddress, value);
    QCOMPARE(in.tcpSlaveId, value);
    QCOMPARE(in.netMask, QString("255.255.0.0")); // the neighbours are unharmed
    QCOMPARE(in.tcpTimeout, QString("60"));
}

void tst_SettingsModule::saveFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("path is a directory") << QString("dir");
    QTest::newRow("under a regular file") << QString("underfile");
    QTest::newRow("under /proc") << QString("proc");
}

void tst_SettingsModule::saveFailures()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path;
    if (kind == "dir") {
        path = dir.filePath("folder.TRset");
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "underfile") {
        QVERIFY(writeFile(dir.filePath("plain"), "x"));
        path = dir.filePath("plain/inner.TRset");
    } else {
        path = "/proc/gateway-configurator-test.TRset";
    }
    setting_module s;
    fill(s);
    s.SaveNTSetting(path);
    QVERIFY(s.store);
    QVERIFY(s.store->status() != QSettings::NoError);
    if (kind == "dir")
        QVERIFY(QFileInfo(path).isDir());
    else
        QVERIFY(!QFile::exists(path));
    QCOMPARE(readFile(dir.filePath("plain")), kind == "underfile" ? QByteArray("x") : QByteArray());
}

void tst_SettingsModule::malformedFileLeftIntact()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("text.TRset");
    const QByteArray content = "This is not a settings file.\n[broken\nIP_ADRESS=1.2.3.4\n";
    QVERIFY(writeFile(path, content));
    // A store that has seen the file already is shared by the next one.
    {
        QSettings peek(path, QSettings::IniFormat);
        peek.allKeys();
    }
    for (int i = 0; i < 2; ++i) {
        setting_module s;
        fill(s);
        s.SaveNTSetting(path);
        QVERIFY(s.store == nullptr);
        QCOMPARE(readFile(path), content);
    }
}

void tst_SettingsModule::emptyNameWritesNothing()
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    setting_module s;
    fill(s);
    s.SaveNTSetting(QString());
    QVERIFY(s.store == nullptr);
    QDir::setCurrent(before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void tst_SettingsModule::abandonedLock_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("removed");
    // A save killed right after creating its lock leaves it empty; the
    // store would wait half a minute for it to grow stale.
    QTest::newRow("empty, 10 s old") << QByteArray() << 10 << true;
    // A save that has just begun, and a lock that names its owner: the
    // store's own business.
    QTest::newRow("empty, fresh") << QByteArray() << 0 << false;
    QTest::newRow("an owner named, 10 s old") << QByteArray("4242\ngateway-configurator\nanother-host\n") << 10
                                              << false;
}

void tst_SettingsModule::abandonedLock()
{
    QFETCH(QByteArray, content);
    QFETCH(int, ageSeconds);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.TRset");
    const QString lockPath = path + ".lock";
    QVERIFY(writeFile(lockPath, content));
    QFile lock(lockPath);
    QVERIFY(lock.open(QIODevice::ReadWrite));
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                             QFileDevice::FileModificationTime));
    lock.close();
    // The save runs on a thread of its own: a lock left in place holds it.
    std::atomic<int> status{-1};
    std::thread saver([&] {
        setting_module s;
        fill(s);
        s.SaveNTSetting(path);
        status = s.store ? int(s.store->status()) : -2;
    });
    const auto release = qScopeGuard([&] {
        QFile::remove(lockPath);
        saver.join();
    });
    if (!removed) {
        QTest::qWait(1000);
        QVERIFY2(QFile::exists(lockPath), "the lock was removed");
        QCOMPARE(status.load(), -1);
        QVERIFY(QFile::remove(lockPath));
    }
    QTRY_COMPARE_WITH_TIMEOUT(status.load(), int(QSettings::NoError), 5000);
    // Neither a lock nor a temporary file is left beside the file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"locked.TRset"});
}

void tst_SettingsModule::utf8Files_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain UTF-8") << QByteArray("GATEWAY=\xd1\x88\xd0\xbb\xd1\x8e\xd0\xb7") << QString::fromUtf8("шлюз");
    QTest::newRow("escaped") << QByteArray("GATEWAY=\\x448\\x43b\\x44e\\x437") << QString::fromUtf8("шлюз");
    QTest::newRow("ascii") << QByteArray("GATEWAY=10.0.0.1") << QStringLiteral("10.0.0.1");
}

void tst_SettingsModule::utf8Files()
{
    // Whatever Qt the program is built with, a settings file is UTF-8 text
    // and reads the same.
    QFETCH(QByteArray, line);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath("utf8.TRset");
    QVERIFY(writeFile(path, "[General]\n" + line + "\n"));
    setting_module s;
    s.LoadNTSetting(path);
    QCOMPARE(s.gateway, value);
    // Saved again, the value is written as UTF-8 and comes back the same.
    const QString copy = dir.filePath("copy.TRset");
    s.SaveNTSetting(copy);
    delete s.store;
    s.store = nullptr;
    QVERIFY(readFile(copy).contains("GATEWAY=" + value.toUtf8()));
    setting_module back;
    back.LoadNTSetting(copy);
    QCOMPARE(back.gateway, value);
}

void tst_SettingsModule::check_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("expected");
    QTest::newRow("good") << "good" << int(settingsfile::Check::Ok);
    QTest::newRow("empty file") << "empty" << int(settingsfile::Check::Ok);
    QTest::newRow("missing") << "missing" << int(settingsfile::Check::Missing);
    QTest::newRow("empty name") << "noname" << int(settingsfile::Check::Missing);
    QTest::newRow("directory") << "dir" << int(settingsfile::Check::Unreadable);
    QTest::newRow("text") << "text" << int(settingsfile::Check::Malformed);
    QTest::newRow("broken section") << "section" << int(settingsfile::Check::Malformed);
}

void tst_SettingsModule::check()
{
    QFETCH(QString, kind);
    QFETCH(int, expected);
    QTemporaryDir dir;
    QString path = dir.filePath("f.TRset");
    if (kind == "good")
        QVERIFY(writeFile(path, "[General]\nIP_ADRESS=1\n"));
    else if (kind == "empty")
        QVERIFY(writeFile(path, ""));
    else if (kind == "dir")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "text")
        QVERIFY(writeFile(path, "hello world\n"));
    else if (kind == "section")
        QVERIFY(writeFile(path, "[General\nIP_ADRESS=1\n"));
    else if (kind == "noname")
        path.clear();
    // Twice: the second look must not be fooled by QSettings' file cache.
    QCOMPARE(int(settingsfile::check(path)), expected);
    if (!path.isEmpty()) {
        QSettings peek(path, QSettings::IniFormat);
        peek.allKeys();
    }
    QCOMPARE(int(settingsfile::check(path)), expected);
}

QTEST_GUILESS_MAIN(tst_SettingsModule)
#include "tst_settingsmodule.moc"
