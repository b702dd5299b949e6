// The developer traces: on by default in their two categories, gone when a
// category is switched off, and the same texts either way.
#include <QtTest>

#include <QLoggingCategory>

#include <memory>

#include "boxwatcher.h"
#include "files.h"
#include "logcapture.h"
#include "modalscript.h"
#include "responder.h"
#include "window.h"

using namespace support;

class tst_Traces : public QObject
{
    Q_OBJECT

private:
    // A reply with no sequence running, then a settings file chosen through
    // the menu: one protocol trace pair and the settings traces.
    static void exercise(const QString &settingsFile)
    {
        Responder module([](const QByteArray &) { return QList<Responder::Chunk>{{5, "RESET done\r\n"}}; });
        BoxWatcher boxes;
        MainWindow w;
        QVERIFY(connectTo(w, module));
        button(w, "Reset")->click();
        QVERIFY(module.waitForCommands(1, 2000));
        QTest::qWait(200);
        ModalScript dialogs;
        dialogs.steps << ModalScript::chooseFile(settingsFile);
        QVERIFY(QMetaObject::invokeMethod(&w, "on_action_open_2_triggered"));
        QCOMPARE(dialogs.unexpected, 0);
        QCOMPARE(dialogs.seen.size(), 1);
        QCOMPARE(boxes.count(), 0);
    }

private slots:
    void init() { log = std::make_unique<LogCapture>(); }
    void cleanup()
    {
        log.reset();
        QLoggingCategory::setFilterRules(QString());
    }
    void onByDefault();
    void switchedOff_data();
    void switchedOff();

private:
    // The developer traces of a category.
    QStringList textsOf(const QString &category) const { return log->texts(category, QtDebugMsg); }
    std::unique_ptr<LogCapture> log;
};

static QString writeSettings(QTemporaryDir &dir)
{
    const QString path = dir.filePath("traces.TRset");
    writeFile(path, "[General]\nSPEED_RS485=4\nMODE_TCP=2\n");
    return path;
}

void tst_Traces::onByDefault()
{
    QTemporaryDir dir;
    exercise(writeSettings(dir));
    QCOMPARE(textsOf("gateway.protocol").filter("data 2:").size(), 2);
    QVERIFY(textsOf("gateway.protocol").filter("data 2:").first().contains("RESET done"));
    const QStringList settings = textsOf("gateway.settings");
    QCOMPARE(settings.filter("modul_name").size(), 1);
    QCOMPARE(settings.filter("SPERD_RS485").size(), 1);
    QVERIFY(settings.filter("SPERD_RS485").first().startsWith("4"));
    QCOMPARE(settings.filter("tcp -mode").size(), 1);
}

void tst_Traces::switchedOff_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<bool>("protocol");
    QTest::addColumn<bool>("settings");
    QTest::newRow("protocol off") << "gateway.protocol.debug=false" << false << true;
    QTest::newRow("settings off") << "gateway.settings.debug=false" << true << false;
    QTest::newRow("both off") << "gateway.*=false" << false << false;
}

void tst_Traces::switchedOff()
{
    QFETCH(QString, rules);
    QFETCH(bool, protocol);
    QFETCH(bool, settings);
    QLoggingCategory::setFilterRules(rules);
    QTemporaryDir dir;
    exercise(writeSettings(dir));
    QCOMPARE(!textsOf("gateway.protocol").isEmpty(), protocol);
    QCOMPARE(!textsOf("gateway.settings").isEmpty(), settings);
}

QTEST_MAIN(tst_Traces)
#include "tst_traces.moc"
