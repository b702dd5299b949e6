#pragma once
// The window as the tests drive it: its children by name, the getters of
// buttons, fields and timers, connecting, the sequences run at a test's
// pace, the filled form, and the checks of the states at rest.
//
// The small helpers are inline; the checks are in window.cpp.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "expected.h"
#include "mainwindow.h"

namespace support {

// The child `name` of `parent`; a missing one is reported.
template <typename T = QWidget>
T *child(const QObject &parent, const QString &name)
{
    T *c = parent.findChild<T *>(name);
    if (!c)
        qWarning("no child %s", qPrintable(name));
    return c;
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

inline bool waitIdle(MainWindow &w, const char *timerName, int ms)
{
    return QTest::qWaitFor([&] { return !timer(w, timerName)->isActive(); }, ms);
}

// Fills the form with values that differ from the factory ones in every
// parameter and that the module accepts (params(), written).
inline void fillForm(MainWindow &w)
{
    for (const Param &p : params()) {
        const QString field = QLatin1String(p.field);
        if (p.choice) {
            child<QComboBox>(w, field)->setCurrentIndex(p.writtenIndex);
            continue;
        }
        if (field == QLatin1String("lineEdit_tcp_id")) {
            auto *box = child<QCheckBox>(w, QStringLiteral("checkBox"));
            if (box->isChecked())
                box->click();
        }
        child<QLineEdit>(w, field)->setText(p.written);
    }
}

// Clicks a sequence's button and runs its timer at `pace` from then on.
void startSequence(MainWindow &w, const char *buttonName, const char *timerName, int pace);
bool anySequenceTimerActive(MainWindow &w);

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

// The form disconnected: the port closed, every caption at rest, the
// connection buttons disabled, the port box and the search enabled, no
// sequence running.
void verifyDisconnected(MainWindow &w);
// The form connected and idle: the port open, every caption at rest, the
// connection buttons enabled, the port box and the search disabled, no
// sequence running.
void verifyConnectedIdle(MainWindow &w);

// Connects to `port` and runs one scan at the real pace: sixteen ticks of
// one second, done in at least 15990 ms and less than `atMostMs`.
void connectAndScanAtRealPace(MainWindow &w, const QString &port, qint64 atMostMs);

} // namespace support
