#pragma once
// The window as the tests drive it: its children by name, the getters of
// buttons, fields and timers, connecting, the sequences run at a test's
// pace, the filled form, and the state of the controls.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSerialPort>
#include <QTest>
#include <QTimer>

#include "expected.h"
#include "mainwindow.h"

namespace support {

class SimProcess;

// Fails the test: `parent` has no child `name` of class `className`.
void failNoChild(const QObject &parent, const QString &name, const char *className);

// The child `name` of `parent`. A missing one fails the test with its name
// and yields a stand-in of its class, so that the test goes on to its end
// without a crash.
template <typename T = QWidget>
T *child(const QObject &parent, const QString &name)
{
    if (T *c = parent.findChild<T *>(name))
        return c;
    failNoChild(parent, name, T::staticMetaObject.className());
    static T *const standIn = new T;
    return standIn;
}
inline QPushButton *button(MainWindow &w, const QString &name) { return child<QPushButton>(w, name); }
inline QTimer *timer(MainWindow &w, const QString &name) { return child<QTimer>(w, name); }
inline QString caption(MainWindow &w, const QString &name) { return button(w, name)->text(); }
inline QString text(MainWindow &w, const QString &name) { return child<QLineEdit>(w, name)->text(); }
inline int index(MainWindow &w, const QString &name) { return child<QComboBox>(w, name)->currentIndex(); }
inline QString styleOf(MainWindow &w, const QString &name) { return child(w, name)->styleSheet(); }

// Types a device path into the port box.
inline void typePort(MainWindow &w, const QString &path)
{
    child<QComboBox>(w, QStringLiteral("serialPortInfoListBox"))->setEditText(path);
}
// Types the device path and clicks the connect button.
inline bool connectTo(MainWindow &w, const QString &path)
{
    typePort(w, path);
    button(w, QStringLiteral("connect"))->click();
    return caption(w, QStringLiteral("connect")) == captionConnected;
}

// Fills the form with values that differ from the factory ones in every
// parameter and that the module accepts (params(), written).
void fillForm(MainWindow &w);

// Clicks a sequence's button and runs its timer at `pace` from then on;
// false when the timer did not start.
bool startSequence(MainWindow &w, const char *buttonName, const char *timerName, int pace);
// Starts the scan, or fills the form (fillForm) and starts the write, at
// `pace`; false when it did not start or its button does not offer to stop.
bool startScan(MainWindow &w, int pace);
bool startWrite(MainWindow &w, int pace);
// From its step `step` on, the first time it gets there, the scan or the
// write (the timer `timerName`) ticks every `ms`.
void paceAfterStep(MainWindow &w, const char *timerName, int step, int ms);
// The sequence timers that run, the scan's and the write's with their step
// ("scanAllTimer at step 7"); empty when none runs.
QString running(MainWindow &w);

// What a field shows: a line edit its text, a choice list its index as text.
QString shown(MainWindow &w, const QString &field);
// What a field shows after a scan of the module at its factory values.
QString factoryShown(const QString &field);
// What a field shows after the scan has cleared it.
QString clearedShown(const QString &field);

// Whether the form shows, for each parameter of params(), the written value
// (`written[i]`) or the factory one; returns a description of the first
// difference, or an empty text.
QString formDiffers(MainWindow &w, const QVector<bool> &written);

// The connection controls as one text: whether the port is open, the three
// captions, the enabled ones of the connection buttons, the port box and
// the search, and the sequences that run.
QString controls(MainWindow &w);
// What controls() reads at rest. Connected: the port open, the connection
// buttons enabled, the port box and the search disabled; disconnected the
// other way round. Every caption at rest, no sequence running.
QString atRest(bool connected);
enum : bool { Disconnected = false, Connected = true };

// Watches one run of a sequence, the timer `timerName`, up to its end
// (made after the window, so that it goes first): counts its ticks (the
// first after this is made is 1) and notes those that wrote to the port and
// how many bytes each wrote. So a test sees which tick sent each line,
// however late a tick comes on a busy machine.
//
// With paceByReplies(), a tick that sent a line is followed by the next one
// `ms` after the line's reply has been taken (at the latest `waitMs` after
// the tick), instead of at the timer's interval: a module that answers is
// heard within the step of its line however busy the machine, the order
// of the ticks and replies being what the sequence meets at its real pace.
// For the cases where the module answers; not where the time of a reply is
// what a case is about.
class SequenceWatch : public QObject
{
public:
    SequenceWatch(MainWindow &w, const char *timerName);

    int ticks = 0;
    // The ticks that wrote to the port, and the bytes each wrote.
    QList<QPair<int, qint64>> writes;

    // "tick: line" for the lines that the module received (`lines`, in
    // order), each paired with the tick that wrote as many bytes; where the
    // sizes differ, "tick: N bytes written, LINE received".
    QStringList sent(const QByteArrayList &lines) const;

    void paceByReplies(int ms, int waitMs = 10000);
    // After the tick `tick`, the next comes `ms` later, reply or not (the
    // last line before the module's device goes away: its loss is noticed
    // before the next step).
    void holdAfter(int tick, int ms) { holds.insert(tick, ms); }

private:
    void tick();
    void replyMayBeTaken();
    // The sequence has run and stopped: nothing more is counted or paced.
    bool ended() const { return ticks > 0 && !timer->isActive(); }

    QTimer *timer = nullptr;
    QSerialPort &port;
    bool over = false;
    qint64 flushed = 0;   // bytes the port has written out
    qint64 accounted = 0; // written out or waiting, as of the last tick
    int paceMs = 0;
    int waitMs = 0;
    bool awaitingReply = false;
    bool replyArrived = false;
    QTimer poll;
    QMap<int, int> holds;
};

// Connects to the simulated module `sim` and runs one scan at the real pace:
// its timer runs at 1000 ms, and the module receives the fifteen queries,
// each at its tick.
void connectAndScanAtRealPace(MainWindow &w, SimProcess &sim);

} // namespace support
