// The serial link: the port list, connecting and disconnecting, an open
// failure, a lost device and the command writer, against real
// pseudo-terminals.
#include <QtTest>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStatusBar>

#include "logcapture.h"
#include "modals.h"
#include "probe.h"
#include "ptyhelper.h"
#include "window.h"

using namespace support;

class tst_SerialLink : public QObject
{
    Q_OBJECT

private slots:
    void listing();
    void connectAndDisconnect();
    void openFailure();
    void portReasonLogged();
    void emptyListFailure();
    void foreignCaptionDoesNothing();
    void commandWrittenWhole();
    void deviceVanishes();
    void quietLossAfterReboot();
    void lossStopsRunningSequence_data();
    void lossStopsRunningSequence();
    void otherErrorsIgnored_data();
    void otherErrorsIgnored();
    void closingWindowClosesPort();
    void closingWindowWithDeviceGone();
};

void tst_SerialLink::listing()
{
    MainWindow w;
    auto *list = child<QComboBox>(w, "serialPortInfoListBox");
    QStringList expected;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        expected << info.portName();
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->itemText(i);
    QCOMPARE(shown, expected);
    // "Поиск" refills the whole list: a typed path does not stay as an entry.
    list->setEditText(QStringLiteral("/dev/does-not-exist"));
    button(w, "scanport")->click();
    QCOMPARE(list->count(), expected.size());
    QCOMPARE(list->currentIndex(), expected.isEmpty() ? -1 : 0);
    QVERIFY(list->isEditable());
}

void tst_SerialLink::connectAndDisconnect()
{
    PtyDevice dev;
    QVERIFY(dev.isOpen());
    MainWindow w;
    w.show();
    QVERIFY(connectTo(w, dev.slavePath()));
    QCOMPARE(w.statusBar()->currentMessage(), statusConnected);
    QCOMPARE(controls(w), atRest(Connected));

    button(w, "connect")->click();
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(w.statusBar()->currentMessage(), statusDisconnected);
    // Closing a closed port leaves the status bar alone.
    w.statusBar()->showMessage("mark");
    QVERIFY(QMetaObject::invokeMethod(&w, "closeport"));
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("mark"));
    // And the port can be opened again.
    QVERIFY(connectTo(w, dev.slavePath()));
}

void tst_SerialLink::openFailure()
{
    Modals boxes;
    MainWindow w;
    w.show();
    QVERIFY(!connectTo(w, QStringLiteral("/dev/no-such-serial-device")));
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen[0].title, boxAccessDenied);
    QCOMPARE(boxes.seen[0].text, boxConnectionError);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    QCOMPARE(boxes.seen[0].buttons, QStringList{"OK"});
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Порт отказано в доступе"));
    QCOMPARE(controls(w), atRest(Disconnected));
}

// The system's reason for a failed open goes to the log once; a port that
// fails again and again adds no line but a count.
void tst_SerialLink::portReasonLogged()
{
    LogCapture log;
    const QString missing = QStringLiteral("/dev/no-such-serial-device");
    {
        Modals boxes;
        MainWindow w;
        w.show();
        for (int i = 0; i < 3; ++i)
            QVERIFY(!connectTo(w, missing));
        QCOMPARE(boxes.count(), 3);
        const QStringList lines = log.texts(QStringLiteral("gateway.link"), QtWarningMsg);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains(missing) && lines[0].contains(QStringLiteral("No such file or directory")),
                 qPrintable(lines[0]));
    }
    const QStringList lines = log.texts(QStringLiteral("gateway.link"), QtWarningMsg);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[1].endsWith(QStringLiteral("(2 more times)")), qPrintable(lines[1]));
}

void tst_SerialLink::emptyListFailure()
{
    Modals boxes;
    MainWindow w;
    auto *list = child<QComboBox>(w, "serialPortInfoListBox");
    list->clear();
    list->setEditText(QString());
    button(w, "connect")->click();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen[0].title, boxAccessDenied);
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Порт отказано в доступе"));
    QCOMPARE(controls(w), atRest(Disconnected));
}

void tst_SerialLink::foreignCaptionDoesNothing()
{
    PtyDevice dev;
    Modals boxes;
    MainWindow w;
    typePort(w, dev.slavePath());
    // A caption whose first letter is the Cyrillic С matches neither state.
    button(w, "connect")->setText(QStringLiteral("Соединиться"));
    button(w, "connect")->click();
    QCOMPARE(button(w, "connect")->text(), QStringLiteral("Соединиться"));
    QVERIFY(!button(w, "scan_parameters")->isEnabled());
    QCOMPARE(boxes.count(), 0);
}

void tst_SerialLink::commandWrittenWhole()
{
    PtyDevice dev;
    MainWindow w;
    QVERIFY(connectTo(w, dev.slavePath()));
    button(w, "Reset")->click();
    // Exactly the five bytes, nothing after them.
    QCOMPARE(dev.receive(5), QByteArray("RESET"));
    QTest::qWait(100);
    QCOMPARE(dev.drain(), QByteArray());
}

void tst_SerialLink::deviceVanishes()
{
    LogCapture log;
    PtyDevice dev;
    Modals boxes;
    MainWindow w;
    w.show();
    QVERIFY(connectTo(w, dev.slavePath()));
    child(w, "lineEdit_ip")->setStyleSheet(styleError);
    // The serial library reports a hung-up pseudo-terminal as endless read
    // errors; the window must take it as a lost device at once: the first
    // report closes the port (the window hears each report before this
    // test does), and none comes after it.
    int errors = 0;
    int errorsAtClose = -1;
    QSerialPort &port = MainWindowProbe(w).serial();
    connect(&port, &QSerialPort::errorOccurred,
            [&](QSerialPort::SerialPortError e) { errors += e != QSerialPort::NoError; });
    connect(&port, &QIODevice::aboutToClose, [&] { errorsAtClose = errors; });
    dev.hangUp();
    QTRY_COMPARE(boxes.count(), 1);
    QCOMPARE(errorsAtClose, 0);
    QCOMPARE(errors, 1);
    QCOMPARE(boxes.seen[0].title, boxLost);
    QCOMPARE(boxes.seen[0].text, boxConnectionError);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(w.statusBar()->currentMessage(), statusDisconnected);
    QVERIFY(styleOf(w, "lineEdit_ip").isEmpty());
    QTest::qWait(100);
    QCOMPARE(boxes.count(), 1);
    // The loss is logged with the system's reason, once.
    const QStringList reasons = log.texts(QStringLiteral("gateway.link"), QtWarningMsg);
    QVERIFY2(reasons.size() == 1, qPrintable(reasons.join(QLatin1Char('\n'))));
}

// After a reboot command the loss of the device is quiet; a reboot in an
// earlier connection does not silence the loss in a later one.
void tst_SerialLink::quietLossAfterReboot()
{
    Modals boxes;
    MainWindow w;
    {
        PtyDevice first;
        QVERIFY(connectTo(w, first.slavePath()));
        button(w, "Reset")->click();
        QCOMPARE(first.receive(5), QByteArray("RESET"));
        first.hangUp();
        QTRY_COMPARE(caption(w, "connect"), captionDisconnected);
        QCOMPARE(controls(w), atRest(Disconnected));
        QTest::qWait(100);
        QCOMPARE(boxes.count(), 0);
    }
    PtyDevice second;
    QVERIFY(connectTo(w, second.slavePath()));
    second.hangUp();
    QTRY_COMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen[0].title, boxLost);
}

void tst_SerialLink::lossStopsRunningSequence_data()
{
    QTest::addColumn<bool>("afterReboot");
    QTest::addColumn<QString>("sequenceButton");
    QTest::newRow("scan, error box") << false << "scan_parameters";
    QTest::newRow("scan, quiet") << true << "scan_parameters";
    QTest::newRow("write, error box") << false << "applyButton";
    QTest::newRow("write, quiet") << true << "applyButton";
}

void tst_SerialLink::lossStopsRunningSequence()
{
    QFETCH(bool, afterReboot);
    QFETCH(QString, sequenceButton);
    PtyDevice dev;
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, dev.slavePath()));
    if (afterReboot)
        button(w, "Reset")->click();
    button(w, sequenceButton)->click();
    QVERIFY(timer(w, sequenceButton == "applyButton" ? "writeAllTimer" : "scanAllTimer")->isActive());
    auto *progress = child<QProgressBar>(w, "sequenceProgress");
    QVERIFY(!progress->isHidden());
    dev.hangUp();
    QTRY_COMPARE(caption(w, "connect"), captionDisconnected);
    QTRY_COMPARE(boxes.count(), afterReboot ? 0 : 1);
    QCOMPARE(controls(w), atRest(Disconnected));
    QVERIFY(progress->isHidden());
    // Nothing more happens: no success box, no further boxes.
    QTest::qWait(300);
    QCOMPARE(boxes.count(), afterReboot ? 0 : 1);
}

void tst_SerialLink::otherErrorsIgnored_data()
{
    QTest::addColumn<int>("code");
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Deprecated in Qt 5, gone in Qt 6.
    QTest::newRow("parity") << int(QSerialPort::ParityError);
    QTest::newRow("framing") << int(QSerialPort::FramingError);
#endif
    QTest::newRow("write") << int(QSerialPort::WriteError);
    QTest::newRow("read") << int(QSerialPort::ReadError);
    QTest::newRow("timeout") << int(QSerialPort::TimeoutError);
    QTest::newRow("unknown") << int(QSerialPort::UnknownError);
}

void tst_SerialLink::otherErrorsIgnored()
{
    QFETCH(int, code);
    PtyDevice dev;
    Modals boxes;
    MainWindow w;
    QVERIFY(connectTo(w, dev.slavePath()));
    QVERIFY(QMetaObject::invokeMethod(&w, "handleError",
                                      Q_ARG(QSerialPort::SerialPortError, QSerialPort::SerialPortError(code))));
    QTest::qWait(50);
    QCOMPARE(button(w, "connect")->text(), captionConnected);
    QVERIFY(button(w, "scan_parameters")->isEnabled());
    QCOMPARE(boxes.count(), 0);
    // The port still works.
    button(w, "Reset")->click();
    QCOMPARE(dev.receive(5), QByteArray("RESET"));
}

void tst_SerialLink::closingWindowClosesPort()
{
    PtyDevice dev;
    QString path = dev.slavePath();
    {
        MainWindow w;
        QVERIFY(connectTo(w, path));
    }
    // The device is free again: another open succeeds.
    QSerialPort again;
    again.setPortName(path);
    QVERIFY(again.open(QIODevice::ReadWrite));
}

void tst_SerialLink::closingWindowWithDeviceGone()
{
    // The window is closed after the device went away but before the port
    // said so. On Windows, closing the port then reports the lost device
    // from within close(); here the port is made to say it at the same
    // moment. None of it may reach the window being destroyed.
    PtyDevice dev;
    Modals boxes;
    int reports = 0;
    {
        MainWindow w;
        QSerialPort &port = MainWindowProbe(w).serial();
        QVERIFY(connectTo(w, dev.slavePath()));
        connect(&port, &QSerialPort::errorOccurred, [&](QSerialPort::SerialPortError e) {
            if (e == QSerialPort::ResourceError)
                ++reports;
        });
        connect(&port, &QIODevice::aboutToClose, [&] { emit port.errorOccurred(QSerialPort::ResourceError); });
        dev.hangUp();
    }
    QCOMPARE(reports, 1);
    QTest::qWait(50);
    QCOMPARE(boxes.count(), 0);
}

QTEST_MAIN(tst_SerialLink)
#include "tst_seriallink.moc"
