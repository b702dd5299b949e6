// MainWindow members: construction and destruction, the slots that do
// nothing, and the progress shown in the status bar. mainwindow.h names the
// file of every other member.
#include "mainwindow.h"

#include <QComboBox>
#include <QIcon>
#include <QProgressBar>
#include <QSerialPortInfo>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include <memory>

#include "losswatch.h"
#include "portlog.h"
#include "replyframer.h"
#include "screenfit.h"
#include "ui_mainwindowform.h"

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindowForm)
    , serial()
{
    // Asking the system for its serial ports takes several milliseconds
    // (udev on Linux, the device manager on Windows): it is done on a thread
    // of its own while the form is built, and the list is filled with the
    // answer at its place below.
    QList<QSerialPortInfo> portsPresent;
    const std::unique_ptr<QThread> portQuery(
        QThread::create([&portsPresent] { portsPresent = QSerialPortInfo::availablePorts(); }));
    portQuery->start();

    ui->setupUi(this);
    findFields();

    // Each tick runs one step of its sequence (the per-variant timers' slots
    // are empty), then shows the progress of the step it reached.
    const auto sequenceTimer = [this](const char *name, const char *slot) {
        auto *timer = new QTimer(this);
        timer->setObjectName(QLatin1String(name));
        connect(timer, SIGNAL(timeout()), this, slot);
        connect(timer, &QTimer::timeout, this, &MainWindow::updateProgress);
        timer->setInterval(proto::PaceMs);
        return timer;
    };
    // The per-variant timers are tied to slots that do nothing: nothing starts
    // them, and the per-variant sequences run from no control.
    scanTimer = sequenceTimer("scanTimer", SLOT(timerforScan()));
    writeTimer = sequenceTimer("writeTimer", SLOT(change_parametersofmodbus()));
    scanAllTimer = sequenceTimer("scanAllTimer", SLOT(scan_pa_modbus_all()));
    writeAllTimer = sequenceTimer("writeAllTimer", SLOT(change_mode_TCP()));

    setWindowTitle(QStringLiteral("Конфигуратор Modbus TCP-RTU Version 2.0.1"));
    setWindowIcon(QIcon(QStringLiteral(":/images/TesmarRTUTCP.ico")));

    ui->scan_parameters->setEnabled(false);
    ui->applyButton->setEnabled(false);
    ui->Reset->setEnabled(false);
    ui->serialPortInfoListBox->setEnabled(true);
    ui->lineEdit_MAC->setEnabled(false);
    ui->lineEdit_version->setEnabled(false);
    ui->reset_allparameters->setEnabled(false);

    // Pseudo-terminals, /dev/serial/by-id links and other device paths are
    // not listed by the serial library, so a path can also be typed here.
    ui->serialPortInfoListBox->setEditable(true);
    ui->serialPortInfoListBox->setInsertPolicy(QComboBox::NoInsert);
    ui->serialPortInfoListBox->setToolTip(tr("Имя порта или путь к устройству"));

    portQuery->wait();
    if (!portQuery->isFinished()) // no thread could be started
        portsPresent = QSerialPortInfo::availablePorts();
    fillPortList(portsPresent);

    connect(&serial, &QSerialPort::readyRead, this, &MainWindow::readData);
    // The system's reason goes to the log before the window reacts to it.
    new PortErrorLog(&serial);
    connect(&serial, &QSerialPort::errorOccurred, this, &MainWindow::handleError);
    lossWatch = new LossWatch(&serial, this);
    connect(lossWatch, &LossWatch::lost, this, [this] { portLost(serial.isOpen()); });
    connect(lossWatch, &LossWatch::reopenDue, this, &MainWindow::reopenPort);

    // A module answers one command per second: keep the pace exact rather
    // than within the coarse timers' five per cent.
    for (QTimer *t : {scanTimer, writeTimer, scanAllTimer, writeAllTimer})
        t->setTimerType(Qt::PreciseTimer);

    replies = new ReplyFramer(&serial, this);
    connect(replies, &ReplyFramer::replied, this, &MainWindow::takeReply);

    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("sequenceProgress"));
    progress->setTextVisible(true);
    progress->setMinimumWidth(200);
    // The status bar reserves the height of its widgets, hidden ones too: no
    // taller than a line of its text, the bar takes no room from the form.
    progress->setMaximumHeight(progress->fontMetrics().height());
    progress->setVisible(false);
    statusBar()->addPermanentWidget(progress);

    screenFit = new ScreenFit(this);
}

MainWindow::~MainWindow()
{
    // Closing a port whose device is gone reports the loss (on Windows from
    // within close()); the form is deleted by then, so the window hears no
    // more of the port.
    serial.disconnect(this);
    delete ui;
    if (serial.isOpen()) {
        serial.close();
        scanTimer->stop();
        writeTimer->stop();
        writeAllTimer->stop();
    }
}

// The per-variant scan timer's slot: empty, as that timer has no sequence of
// its own to run.
void MainWindow::timerforScan()
{
}

// The per-variant write timer's slot: empty, as that timer has no sequence
// of its own to run.
void MainWindow::change_parametersofmodbus()
{
}

void MainWindow::on_action_show_triggered()
{
}

void MainWindow::updateProgress()
{
    int step = 0;
    int total = 0;
    QString what;
    if (writeAllTimer->isActive()) {
        step = writeAllStep;
        total = proto::WriteAllEndStep;
        what = tr("Запись");
    } else if (scanAllTimer->isActive()) {
        step = scanAllStep;
        total = proto::ScanAllEndStep;
        what = tr("Сканирование");
    }
    if (total == 0) {
        progress->setVisible(false);
        return;
    }
    progress->setRange(0, total);
    progress->setValue(qBound(0, step, total));
    progress->setFormat(what + QStringLiteral(" %v/%m"));
    progress->setVisible(true);
}
