// A settings save cut short by the death of the program must leave either
// the old file or the complete new one. A child process (this program with
// --saver) saves a large configuration again and again through
// setting_module::SaveNTSetting, switching between two value sets; the test
// kills it with SIGKILL at random moments and checks the file each time.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>

#include <signal.h>

#include "files.h"
#include "setting_module.h"

namespace {

constexpr int ValueLength = 20000; // characters in each text value

// Value set `k` (0 or 1): every text value is one repeated letter, every
// number k + 1, so a file mixing two sets is told apart from either.
void fill(setting_module &s, int k)
{
    auto text = [k](char base) { return QString(ValueLength, QLatin1Char(char(base + k))); };
    s.ipAddress = text('a');
    s.netMask = text('c');
    s.gateway = text('e');
    s.tcpPort = text('g');
    s.rs485Speed = k + 1;
    s.stopBits = k + 1;
    s.parity = k + 1;
    s.tcpMode = k + 1;
    s.responseTimeout = text('i');
    s.serverIp = text('k');
    s.tcpTimeout = text('m');
    s.rtuVirtualId = text('o');
    s.tcpSlaveId = text('q');
}

// Which set the file holds completely: 0 or 1, or -1 with `why` set.
int setInFile(const QString &path, QString *why)
{
    // A private copy, so that no cached parse of the file is used.
    const QString copy = path + QStringLiteral(".check");
    QFile::remove(copy);
    if (!QFile::copy(path, copy)) {
        *why = QStringLiteral("the file is missing");
        return -1;
    }
    setting_module loaded;
    loaded.LoadNTSetting(copy);
    const QSettings::Status status = loaded.store->status();
    delete loaded.store;
    loaded.store = nullptr;
    QFile::remove(copy);
    if (status != QSettings::NoError) {
        *why = QStringLiteral("the file does not parse (status %1)").arg(int(status));
        return -1;
    }
    for (int k = 0; k < 2; ++k) {
        setting_module expected;
        fill(expected, k);
        if (support::valuesOf(loaded) == support::valuesOf(expected))
            return k;
    }
    *why = QStringLiteral("the file holds neither value set whole (IP %1 characters, speed %2)")
               .arg(loaded.ipAddress.size())
               .arg(loaded.rs485Speed);
    return -1;
}

// The child: saves set `first`, then the other, and so on, until killed.
// "saved" goes to stdout after each save.
int saver(const QString &path, int first, bool once)
{
    for (int i = 0;; ++i) {
        setting_module s;
        fill(s, (first + i) % 2);
        s.SaveNTSetting(path);
        if (!s.store || s.store->status() != QSettings::NoError)
            return 1;
        std::fputs("saved\n", stdout);
        std::fflush(stdout);
        if (once)
            return 0;
    }
}

} // namespace

class tst_SaveCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedDuringSave();
};

void tst_SaveCrash::killedDuringSave()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("big.TRset"));
    const QString self = QCoreApplication::applicationFilePath();

    // The children's temporary directory, to see what they leave there too.
    const QString childTmp = dir.filePath(QStringLiteral("tmp"));
    QVERIFY(QDir().mkpath(childTmp));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), childTmp);

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(self, {QStringLiteral("--saver"), path, QStringLiteral("0"), QStringLiteral("once")});
    QVERIFY(first.waitForFinished(30000));
    QCOMPARE(first.exitCode(), 0);
    QString why;
    QCOMPARE(setInFile(path, &why), 0);
    const qint64 size = QFileInfo(path).size();
    QVERIFY2(size > 9 * ValueLength, qPrintable(QString::number(size)));

    const int kills = int(qEnvironmentVariableIntValue("GATEWAY_SAVECRASH_KILLS")) > 0
        ? qEnvironmentVariableIntValue("GATEWAY_SAVECRASH_KILLS")
        : 40;
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("savecrash: seed %u, %d kills", seed, kills);
    QRandomGenerator rng(seed);
    int holds[2] = {0, 0};
    int savesSeen = 0;
    qint64 slowest = 0; // the longest wait for a child's first save
    for (int i = 0; i < kills; ++i) {
        QString before;
        const int old = setInFile(path, &before);
        QVERIFY2(old >= 0, qPrintable(before));
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(self, {QStringLiteral("--saver"), path, QString::number(1 - old)});
        QVERIFY(child.waitForStarted(5000));
        // Past the start-up of the child and its first whole save, however
        // long they take, then somewhere inside its later saves.
        QElapsedTimer firstSave;
        firstSave.start();
        QVERIFY2(child.waitForReadyRead(60000), "the child saved nothing");
        slowest = qMax(slowest, firstSave.elapsed());
        QTest::qWait(int(rng.bounded(1, 60)));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(5000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        savesSeen += child.readAllStandardOutput().count("saved\n");
        const int now = setInFile(path, &why);
        QVERIFY2(now >= 0, qPrintable(QStringLiteral("kill %1: %2").arg(i).arg(why)));
        ++holds[now];
    }
    qInfo("savecrash: %d saves completed by the children; the file held set 0 %d times, set 1 %d times",
          savesSeen, holds[0], holds[1]);
    // A save killed while it held the store's lock can leave a lock file
    // that holds up the next save of the same file.
    qInfo("savecrash: the longest wait for a child's first save: %lld ms", slowest);

    // What the killed saves left beside the file.
    QStringList strays = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    strays.removeAll(QStringLiteral("big.TRset"));
    qInfo("savecrash: %d files left beside the settings file after %d kills%s%s", int(strays.size()), kills,
          strays.isEmpty() ? "" : ", e.g. ", strays.isEmpty() ? "" : qPrintable(strays.first()));
    for (const QString &s : strays)
        QVERIFY2(s.startsWith(QStringLiteral("big.TRset")), qPrintable(s));
    const QStringList tmpStrays = QDir(childTmp).entryList(QDir::Files | QDir::Hidden);
    qInfo("savecrash: %d files left in the children's temporary directory%s%s", int(tmpStrays.size()),
          tmpStrays.isEmpty() ? "" : ", e.g. ", tmpStrays.isEmpty() ? "" : qPrintable(tmpStrays.first()));
}

int main(int argc, char *argv[])
{
    if (argc >= 4 && qstrcmp(argv[1], "--saver") == 0) {
        QCoreApplication app(argc, argv);
        return saver(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt(), argc >= 5);
    }
    QCoreApplication app(argc, argv);
    tst_SaveCrash test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savecrash.moc"
