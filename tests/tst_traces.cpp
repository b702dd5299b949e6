// The developer traces: on by default in their two categories, gone when a
// category is switched off, and the same texts either way.
#include <QtTest>

#include <QLoggingCategory>

#include "files.h"
#include "logcapture.h"
#include "modals.h"
#include "probe.h"
#include "responder.h"
#include "window.h"

using namespace support;

class tst_Traces : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLoggingCategory::setFilterRules(QString()); }
    void categories_data();
    void categories();
};

void tst_Traces::categories_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<bool>("protocol");
    QTest::addColumn<bool>("settings");
    QTest::newRow("on by default") << QString() << true << true;
    QTest::newRow("protocol off") << "gateway.protocol.debug=false" << false << true;
    QTest::newRow("settings off") << "gateway.settings.debug=false" << true << false;
    QTest::newRow("both off") << "gateway.*=false" << false << false;
}

void tst_Traces::categories()
{
    QFETCH(QString, rules);
    QFETCH(bool, protocol);
    QFETCH(bool, settings);
    QLoggingCategory::setFilterRules(rules);
    QTemporaryDir dir;
    const QString path = dir.filePath("traces.TRset");
    QVERIFY(writeFile(path, "[General]\nSPEED_RS485=4\nMODE_TCP=2\n"));
    LogCapture log;
    // A reply with no sequence running, then a settings file chosen through
    // the menu: one protocol trace pair and the settings traces.
    Responder module([](const QByteArray &) { return QList<Responder::Chunk>{{5, "RESET done\r\n"}}; });
    Modals modals(Modals::Scripted);
    MainWindow w;
    QVERIFY(connectTo(w, module));
    button(w, "Reset")->click();
    QTRY_COMPARE_WITH_TIMEOUT(MainWindowProbe(w).answer(), QStringLiteral("RESET done"), 2000);
    modals.steps << Modals::chooseFile(path);
    QVERIFY(QMetaObject::invokeMethod(&w, "on_action_open_2_triggered"));
    QVERIFY(modals.steps.isEmpty());

    const QStringList protocolTexts = log.texts("gateway.protocol", QtDebugMsg);
    const QStringList settingsTexts = log.texts("gateway.settings", QtDebugMsg);
    QCOMPARE(!protocolTexts.isEmpty(), protocol);
    QCOMPARE(!settingsTexts.isEmpty(), settings);
    if (protocol) {
        QCOMPARE(protocolTexts.filter("data 2:").size(), 2);
        QVERIFY(protocolTexts.filter("data 2:").first().contains("RESET done"));
    }
    if (settings) {
        QCOMPARE(settingsTexts.filter("modul_name").size(), 1);
        QCOMPARE(settingsTexts.filter("SPERD_RS485").size(), 1);
        QVERIFY(settingsTexts.filter("SPERD_RS485").first().startsWith("4"));
        QCOMPARE(settingsTexts.filter("tcp -mode").size(), 1);
    }
}

QTEST_MAIN(tst_Traces)
#include "tst_traces.moc"
