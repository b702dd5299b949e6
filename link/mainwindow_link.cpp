// MainWindow members: the serial link to the module (port listing,
// connection, port errors and the command writer).
#include <QMessageBox>
#include <QSerialPortInfo>
#include <QStatusBar>
#include <QTimer>

#include "captions.h"
#include "logging.h"
#include "losswatch.h"
#include "mainwindow.h"
#include "replyframer.h"
#include "ui_mainwindowform.h"

void MainWindow::checkCustomDevicePathPolicy()
{
    fillPortList(QSerialPortInfo::availablePorts());
}

void MainWindow::fillPortList(const QList<QSerialPortInfo> &ports)
{
    ui->serialPortInfoListBox->clear();
    for (const QSerialPortInfo &info : ports)
        ui->serialPortInfoListBox->addItem(info.portName());
}

void MainWindow::on_scanport_clicked()
{
    checkCustomDevicePathPolicy();
}

void MainWindow::on_connect_clicked()
{
    const QString current = ui->connect->text();
    if (current == caption::disconnected()) {
        openport();
        if (serial.isOpen())
            ui->connect->setText(caption::connected());
    } else if (current == caption::connected()) {
        showDisconnected();
    }
}

void MainWindow::openport()
{
    serial.setPortName(ui->serialPortInfoListBox->currentText());
    if (serial.open(QIODevice::ReadWrite)) {
        // A reboot sent in an earlier connection must not silence the loss
        // of this one.
        resetPending = false;
        showConnectionState(true);
    } else {
        QMessageBox::critical(this, tr("Отказано в доступе"), boxtext::connectionError());
        statusBar()->showMessage(tr("Порт отказано в доступе"));
        // Not showDisconnected(): a failed open stops only the per-variant
        // timers and leaves every step where it was.
        stopSequence(scanTimer);
        stopSequence(writeTimer);
        ui->connect->setText(caption::disconnected());
    }
}

void MainWindow::closeport()
{
    if (!serial.isOpen())
        return;
    serial.close();
    replies->cancel();
    showConnectionState(false);
    // The per-variant sequences only; callers that end the universal ones
    // too stop them themselves.
    stopSequence(scanTimer, scanStep);
    stopSequence(writeTimer, writeStep);
}

void MainWindow::showConnectionState(bool connected)
{
    ui->scan_parameters->setEnabled(connected);
    ui->applyButton->setEnabled(connected);
    ui->Reset->setEnabled(connected);
    ui->reset_allparameters->setEnabled(connected);
    ui->serialPortInfoListBox->setEnabled(!connected);
    ui->scanport->setEnabled(!connected);
    statusBar()->showMessage(connected ? tr("Connected") : tr("Disconnected"));
}

void MainWindow::stopAllSequences()
{
    stopSequence(scanTimer, scanStep);
    stopSequence(writeTimer, writeStep);
    stopSequence(scanAllTimer, scanAllStep);
    stopSequence(writeAllTimer, writeAllStep);
    showIdleCaptions();
}

void MainWindow::showDisconnected()
{
    closeport();
    stopAllSequences();
    ui->connect->setText(caption::disconnected());
}

void MainWindow::showIdleCaptions()
{
    ui->scan_parameters->setText(caption::scan());
    ui->applyButton->setText(caption::write());
}

void MainWindow::handleError(QSerialPort::SerialPortError error)
{
    lossWatch->judge(error);
}

void MainWindow::reopenPort()
{
    // Not closeport()/openport(): the link stays up for the user (no status,
    // no box, the sequences run on), only the port's handle is renewed.
    serial.close();
    if (serial.open(QIODevice::ReadWrite))
        return;
    // The device did not take the port back: the link is lost after all.
    replies->cancel();
    showConnectionState(false);
    portLost(true);
}

void MainWindow::portLost(bool wasOpen)
{
    // The module restarts after a reboot command: the port goes quietly.
    if (resetPending) {
        showDisconnected();
        return;
    }
    closeport();
    stopAllSequences();
    if (!wasOpen)
        return;
    QMessageBox::critical(this, tr("Critical Error"), boxtext::connectionError());
    // The connect button says "disconnected" once the box is closed.
    showDisconnected();
    styleclear();
}

void MainWindow::writeCommand(const QByteArray &line)
{
    serial.write(line.constData(), line.size());
}
