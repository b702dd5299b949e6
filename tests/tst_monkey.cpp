// A seeded random user against the window and the gateway-sim program: it
// clicks the buttons, answers or cancels the boxes and file dialogs, types
// into the fields, switches the module views, makes the device vanish and
// come back, and after every action checks what must always hold:
//  - the connect caption is one of its two texts and tells whether the
//    port is open;
//  - the buttons that need a connection are enabled exactly while connected;
//  - at most one sequence timer runs; the step counters stay in range;
//  - no box or dialog is left open.
//
// GATEWAY_MONKEY_SEED and GATEWAY_MONKEY_ACTIONS choose the run; the seed is
// printed so that a failure can be replayed (scripts/monkey.sh).
#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <signal.h>

#include "modals.h"
#include "probe.h"
#include "simprocess.h"
#include "window.h"

using namespace support;

namespace {

quint32 envNumber(const char *name, quint32 fallback)
{
    bool ok = false;
    const quint32 v = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? v : fallback;
}

} // namespace

class tst_Monkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("gateway.*.debug=false")); }
    void run();

private:
    QRandomGenerator rng;
    QRandomGenerator dialogRng;
    QStringList trace;
    int actionIndex = 0;
    QString dir;

    void note(const QString &what)
    {
        trace << QStringLiteral("#%1 %2").arg(actionIndex).arg(what);
        if (trace.size() > 80)
            trace.removeFirst();
    }
    int pick(int n) { return int(rng.bounded(quint32(n))); }
    bool chance(int percent) { return pick(100) < percent; }

    // The answer to a modal box or dialog, the way a user might give it; or
    // none yet, so that the sequences tick under the window.
    Modals::Step answer(QWidget *modal);
    // The invariants; returns the first one broken, or an empty text.
    QString broken(MainWindow &w);
    QString randomText();
};

Modals::Step tst_Monkey::answer(QWidget *modal)
{
    // Some windows stay open for a while, so that the sequences tick under them.
    if (dialogRng.bounded(4) != 0)
        return {};
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        const QList<QAbstractButton *> buttons = box->buttons();
        trace << QStringLiteral("   box \"%1\": %2").arg(box->windowTitle(), box->text().left(60));
        if (buttons.isEmpty() || dialogRng.bounded(10) == 0)
            return Modals::cancel();
        QAbstractButton *b = buttons[int(dialogRng.bounded(quint32(buttons.size())))];
        trace << QStringLiteral("   pressed %1").arg(b->text());
        return [b](QWidget *) { QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection); };
    }
    if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        if (dialogRng.bounded(3) == 0) {
            trace << QStringLiteral("   dialog \"%1\" cancelled").arg(dialog->windowTitle());
            return Modals::cancel();
        }
        QString file;
        if (dialog->acceptMode() == QFileDialog::AcceptSave) {
            file = QStringLiteral("%1/saved-%2.TRset").arg(dir).arg(dialogRng.bounded(3));
        } else {
            const QStringList files = QDir(dir).entryList({QStringLiteral("*.TRset")}, QDir::Files);
            file = files.isEmpty() ? dir + QStringLiteral("/missing.TRset")
                                   : dir + QLatin1Char('/') + files[int(dialogRng.bounded(quint32(files.size())))];
        }
        trace << QStringLiteral("   dialog \"%1\" -> %2").arg(dialog->windowTitle(), QFileInfo(file).fileName());
        return [file](QWidget *w) {
            qobject_cast<QFileDialog *>(w)->selectFile(file);
            QMetaObject::invokeMethod(w, "accept", Qt::QueuedConnection);
        };
    }
    // Anything else modal is closed.
    trace << QStringLiteral("   other modal %1 closed").arg(QLatin1String(modal->metaObject()->className()));
    return [](QWidget *w) { QMetaObject::invokeMethod(w, "close", Qt::QueuedConnection); };
}

QString tst_Monkey::broken(MainWindow &w)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return QStringLiteral("a modal window is still open: %1").arg(modal->windowTitle());
    const bool open = MainWindowProbe(w).serial().isOpen();
    const QString connectText = caption(w, "connect");
    if (connectText != captionConnected && connectText != captionDisconnected)
        return QStringLiteral("connect caption \"%1\"").arg(connectText);
    if ((connectText == captionConnected) != open)
        return QStringLiteral("connect caption \"%1\" while the port is %2")
            .arg(connectText, open ? QStringLiteral("open") : QStringLiteral("closed"));
    for (const char *name : connectionButtons)
        if (button(w, name)->isEnabled() != open)
            return QStringLiteral("%1 %2 while the port is %3")
                .arg(QLatin1String(name), button(w, name)->isEnabled() ? QStringLiteral("enabled")
                                                                        : QStringLiteral("disabled"),
                     open ? QStringLiteral("open") : QStringLiteral("closed"));
    int running = 0;
    for (const char *name : sequenceTimers)
        running += timer(w, name)->isActive();
    if (running > 1)
        return QStringLiteral("%1 sequence timers run at once").arg(running);
    const int scanStep = MainWindowProbe(w).scanAllStep();
    const int writeStep = MainWindowProbe(w).writeAllStep();
    if (scanStep < 0 || scanStep > 16 || writeStep < 0 || writeStep > 27)
        return QStringLiteral("step counters out of range: scan %1, write %2").arg(scanStep).arg(writeStep);
    if (!timer(w, "scanAllTimer")->isActive() && scanStep != 0)
        return QStringLiteral("scan stopped at step %1").arg(scanStep);
    return QString();
}

QString tst_Monkey::randomText()
{
    static const QStringList samples = {"", "192.168.0.7", "10.0.0.1", "255.255.255.0", "502", "10000", "1",
                                        "off", "OFF", "247", "99999", "-1", " 5", "abc", "1.2.3.4.5",
                                        QStringLiteral("адрес"), QString(200, QLatin1Char('9'))};
    QString t = samples[pick(samples.size())];
    if (chance(20))
        t += QChar(ushort(32 + pick(0x500)));
    return t;
}

void tst_Monkey::run()
{
    const quint32 seed = envNumber("GATEWAY_MONKEY_SEED", QRandomGenerator::global()->bounded(1u << 30));
    const int actions = int(envNumber("GATEWAY_MONKEY_ACTIONS", 2500));
    qInfo("monkey: seed %u, %d actions (replay: scripts/monkey.sh %d %u)", seed, actions, actions, seed);
    rng.seed(seed);
    dialogRng.seed(seed ^ 0x5a5a5a5au);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    dir = tmp.path();
    {
        // A settings file that the store cannot parse, for the open dialog.
        QFile broken(dir + QStringLiteral("/broken.TRset"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("[IP_ADRESS\n\x01\x02=\n");
    }
    auto sim = std::make_unique<SimProcess>(dir);
    QVERIFY(sim->start({"--gap", "5"}, 50));
    bool simDown = false;

    Modals modals;
    modals.choose = [this](QWidget *modal) { return answer(modal); };

    MainWindow w;
    w.show();
    QElapsedTimer clock;
    clock.start();
    int sequencesStarted = 0, connects = 0, vanishes = 0;

    auto fastTimer = [&](const char *timerName) {
        QTimer *t = timer(w, timerName);
        if (t->isActive()) {
            static const int paces[] = {2, 5, 10, 25, 60};
            t->setInterval(paces[pick(5)]);
            ++sequencesStarted;
        }
    };
    auto clickIfUsable = [&](const char *name) {
        QPushButton *b = button(w, name);
        note(QStringLiteral("click %1%2").arg(QLatin1String(name),
                                              b->isEnabled() && b->isVisible() ? QString() : QStringLiteral(" (unusable)")));
        if (b->isEnabled() && b->isVisible())
            b->click();
    };

    for (actionIndex = 0; actionIndex < actions; ++actionIndex) {
        const int what = pick(100);
        if (what < 15) {
            // The port box: usually the simulator's link, sometimes nonsense.
            auto *ports = child<QComboBox>(w, QStringLiteral("serialPortInfoListBox"));
            if (ports->isEnabled() && chance(85)) {
                const QString path = chance(90) ? sim->link : QStringLiteral("/dev/no-such-device");
                ports->setEditText(path);
            }
            clickIfUsable("connect");
            connects += caption(w, "connect") == captionConnected;
        } else if (what < 17) {
            clickIfUsable("scanport");
        } else if (what < 29) {
            clickIfUsable("scan_parameters");
            fastTimer("scanAllTimer");
        } else if (what < 39) {
            clickIfUsable("applyButton");
            fastTimer("writeAllTimer");
        } else if (what < 42) {
            clickIfUsable("Reset");
        } else if (what < 45) {
            clickIfUsable("reset_allparameters");
        } else if (what < 48) {
            static const char *const actionNames[] = {"action_open_2", "action", "action_save"};
            const char *name = actionNames[pick(3)];
            note(QStringLiteral("menu %1").arg(QLatin1String(name)));
            if (QAction *a = child<QAction>(w, QLatin1String(name)))
                a->trigger();
        } else if (what < 62) {
            // A value field or the slave id.
            const int field = pick(int(std::size(valueEdits)) + 1);
            const QString name = field < int(std::size(valueEdits)) ? QLatin1String(valueEdits[field])
                                                                    : QStringLiteral("lineEdit_tcp_id");
            auto *edit = child<QLineEdit>(w, name);
            const QString t = randomText();
            note(QStringLiteral("type \"%1\" into %2").arg(t.left(20), name));
            if (edit->isEnabled() && edit->isVisible()) {
                edit->selectAll();
                if (t.isEmpty())
                    QTest::keyClick(edit, Qt::Key_Delete);
                else
                    for (const QChar c : t.left(30))
                        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        } else if (what < 70) {
            const char *name = choiceLists[pick(int(std::size(choiceLists)))];
            auto *combo = child<QComboBox>(w, QLatin1String(name));
            const int i = pick(combo->count());
            note(QStringLiteral("choose %1 in %2").arg(i).arg(QLatin1String(name)));
            if (combo->isEnabled() && combo->isVisible())
                combo->setCurrentIndex(i);
        } else if (what < 74) {
            auto *box = child<QCheckBox>(w, QStringLiteral("checkBox"));
            note(QStringLiteral("click off box"));
            if (box->isEnabled() && box->isVisible())
                box->click();
        } else if (what < 77) {
            const int v = chance(80) ? pick(3) : int(rng.generate());
            note(QStringLiteral("universal_show(%1)").arg(v));
            QVERIFY(QMetaObject::invokeMethod(&w, "universal_show", Q_ARG(int, v)));
        } else if (what < 80) {
            if (!simDown) {
                // The device goes: the simulator is killed, its pty hangs up.
                note(QStringLiteral("device vanishes"));
                ::kill(pid_t(sim->proc.processId()), SIGKILL);
                sim->proc.waitForFinished(2000);
                // The killed simulator leaves its link dangling; the pty
                // number may go to another program at once, so the link goes.
                QFile::remove(sim->link);
                simDown = true;
                ++vanishes;
            } else {
                note(QStringLiteral("device comes back"));
                sim = std::make_unique<SimProcess>(dir);
                QVERIFY(sim->start({"--gap", "5"}, 50));
                simDown = false;
            }
        } else {
            const int ms = pick(15);
            note(QStringLiteral("wait %1 ms").arg(ms));
            QTest::qWait(ms);
        }
        QTest::qWait(pick(4));
        const QString failure = broken(w);
        if (!failure.isEmpty()) {
            const QString message = QStringLiteral("seed %1, action %2: %3\nlast actions:\n%4")
                                        .arg(seed)
                                        .arg(actionIndex)
                                        .arg(failure, trace.join(QLatin1Char('\n')));
            QFAIL(qPrintable(message));
        }
    }
    int boxesAnswered = 0, dialogsAnswered = 0;
    for (const Modals::Seen &s : modals.seen) {
        boxesAnswered += s.kind == QLatin1String("box");
        dialogsAnswered += s.kind == QLatin1String("file");
    }
    qInfo("monkey: %d actions in %lld ms; %d connections, %d sequences, %d vanishes, %d boxes, %d dialogs answered",
          actions, clock.elapsed(), connects, sequencesStarted, vanishes, boxesAnswered, dialogsAnswered);
    // The run reached the interesting states at all.
    if (actions >= 1000) {
        QVERIFY(connects > 0);
        QVERIFY(sequencesStarted > 0);
        QVERIFY(boxesAnswered > 0);
    }
}

QTEST_MAIN(tst_Monkey)
#include "tst_monkey.moc"
