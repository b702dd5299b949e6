#pragma once

// What the tests of the scan and the write share: the window driven through
// its buttons against a scripted module on a pseudo-terminal. The sequence
// timers are sped up once started; the end-to-end tests against the
// simulated module run at the real pace.
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

namespace seqtest {
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
inline Responder::Script moduleWith(std::function<bool(const QByteArray &, QList<Responder::Chunk> &)> overrides)
{
    return [overrides](const QByteArray &command) {
        QList<Responder::Chunk> chunks;
        if (overrides(command, chunks))
            return chunks;
        return Responder::goodModule(command);
    };
}
} // namespace seqtest

using namespace seqtest;

class SequenceFixture : public QObject
{
protected:
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
};
