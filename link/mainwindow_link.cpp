// MainWindow members: the serial link to the module (port listing,
// connection, port errors and the command writer).
#include <QMessageBox>
#include <QSerialPortInfo>
#include <QStatusBar>
#include <QTimer>

#include "captions.h"
#include "hangup.h"
#include "logging.h"
#include "mainwindow.h"
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
        ui->connect->setText(caption::disconnected());
        closeport();
        stopAllSequences();
    }
}

void MainWindow::openport()
{
    serial.setPortName(ui->serialPortInfoListBox->currentText());
    if (serial.open(QIODevice::ReadWrite)) {
        // A reboot sent in an earlier connection must not silence the loss
        // of this one.
        resetPending = false;
        ui->scan_parameters->setEnabled(true);
        ui->applyButton->setEnabled(true);
        ui->Reset->setEnabled(true);
        ui->reset_allparameters->setEnabled(true);
        ui->serialPortInfoListBox->setEnabled(false);
        ui->scanport->setEnabled(false);
        statusBar()->showMessage(tr("Connected"));
    } else {
        QMessageBox::critical(this, tr("Отказано в доступе"), QStringLiteral("Ошибка соединения"));
        statusBar()->showMessage(tr("Порт отказано в доступе"));
        scanTimer->stop();
        writeTimer->stop();
        ui->connect->setText(caption::disconnected());
    }
}

void MainWindow::closeport()
{
    if (!serial.isOpen())
        return;
    serial.close();
    replyGapTimer->stop();
    ui->scan_parameters->setEnabled(false);
    ui->applyButton->setEnabled(false);
    ui->Reset->setEnabled(false);
    ui->reset_allparameters->setEnabled(false);
    ui->serialPortInfoListBox->setEnabled(true);
    ui->scanport->setEnabled(true);
    statusBar()->showMessage(tr("Disconnected"));
    scanTimer->stop();
    scanStep = 0;
    writeTimer->stop();
    writeStep = 0;
}

void MainWindow::stopAllSequences()
{
    scanTimer->stop();
    writeTimer->stop();
    scanAllTimer->stop();
    writeAllTimer->stop();
    scanStep = 0;
    writeStep = 0;
    scanAllStep = 0;
    writeAllStep = 0;
    ui->scan_parameters->setText(caption::scan());
    ui->applyButton->setText(caption::write());
    updateProgress();
}

void MainWindow::handleError(QSerialPort::SerialPortError error)
{
    // A hung-up device shows up as failed reads or writes, on Windows with
    // whatever error the driver gives; it is lost all the same.
    if (error != QSerialPort::NoError && error != QSerialPort::ResourceError && serial.isOpen()
        && link::deviceHungUp(qintptr(serial.handle())))
        error = QSerialPort::ResourceError;
    if (error != QSerialPort::ResourceError)
        return;
    portLost();
}

void MainWindow::portLost()
{
    if (resetPending) {
        // The module restarts after a reboot command: the port goes quietly.
        closeport();
        stopAllSequences();
        ui->connect->setText(caption::disconnected());
        return;
    }
    const bool wasOpen = serial.isOpen();
    closeport();
    stopAllSequences();
    if (!wasOpen)
        return;
    QMessageBox::critical(this, tr("Critical Error"), QStringLiteral("Ошибка соединения"));
    ui->connect->setText(caption::disconnected());
    ui->applyButton->setText(caption::write());
    styleclear();
}

void MainWindow::writeCommand(const QByteArray &line)
{
    serial.write(line.constData(), line.size());
}
