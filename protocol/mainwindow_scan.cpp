// MainWindow members: reading the module's parameters into the form.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "captions.h"
#include "logging.h"
#include "mainwindow.h"
#include "styles.h"
#include "ui_mainwindowform.h"

void MainWindow::on_scan_parameters_clicked()
{
    // The caption is the scan's state: the window keeps no other, so the
    // caption alone decides between starting and stopping.
    const QString current = ui->scan_parameters->text();
    if (current == caption::scan()) {
        ui->scan_parameters->setText(caption::stopScan());
        ui->applyButton->setText(caption::write());
        stopSequence(writeAllTimer, writeAllStep);
        if (scanAllTimer->isActive()) {
            stopSequence(scanAllTimer, scanAllStep);
            return;
        }
        // The silent-module check judges this scan only.
        replyReceived = false;
        startSequence(scanAllTimer);
        for (const proto::Parameter &row : proto::parameters) {
            if (row.kind == proto::Kind::Choice)
                comboBox(row.param)->setCurrentIndex(0);
            else
                lineEdit(row.param)->clear();
            if (!row.scanKeepsStyle)
                fieldWidget(row.param)->setStyleSheet(style::none);
        }
    } else if (current == caption::stopScan()) {
        // Not stopAllSequences(): the write button keeps its caption here.
        ui->scan_parameters->setText(caption::scan());
        stopSequence(scanTimer, scanStep);
        stopSequence(writeTimer, writeStep);
        stopSequence(scanAllTimer, scanAllStep);
        stopSequence(writeAllTimer, writeAllStep);
    }
}

void MainWindow::scan_pa_modbus_all()
{
    const int step = ++scanAllStep;
    if (step == proto::ScanCheckStep && noConnection(!replyReceived, scanAllTimer, modulekind::universal()))
        return;

    if (const proto::Parameter *row = proto::queryAt(proto::universalScan, step)) {
        writeCommand(QByteArray(row->query));
    } else if (step == proto::ScanAllEndStep) {
        stopSequence(scanAllTimer, scanAllStep);
        ui->scan_parameters->setText(caption::scan());
        // The marks of the replies go; the fields only the module fills, and
        // the switched-off TCP server address, turn lavender.
        styleclear();
        ui->lineEdit_MAC->setStyleSheet(style::inactive);
        ui->lineEdit_version->setStyleSheet(style::inactive);
        if (ui->checkBox->isChecked())
            ui->lineEdit_tcp_id->setStyleSheet(style::inactive);
    }
}

// No control reaches the per-variant scans: the window serves the universal
// kind, and carries the other two kinds' sequences as slots of their own.
void MainWindow::scan_pa_modbus_RTU_TCP()
{
    scanVariantStep(proto::Variant::RtuTcp);
}

void MainWindow::scan_pa_modbus_TCP_RTU()
{
    scanVariantStep(proto::Variant::TcpRtu);
}

void MainWindow::scanVariantStep(proto::Variant variant)
{
    if (!serial.isOpen()) {
        stopSequence(scanTimer); // the step stays where it was
        qCDebug(lcProtocol) << "error connecting";
        return;
    }
    const int step = ++scanStep;
    const proto::ParamList queries = proto::variantScan(variant);
    if (step == proto::ScanCheckStep) {
        if (variant == proto::Variant::TcpRtu)
            qCDebug(lcProtocol) << answer << "TCPRTU-2-ggggggggggggg";
        if (noConnection(answer.isEmpty(), scanTimer, modulekind::of(variant)))
            return;
    }
    if (const proto::Parameter *row = proto::queryAt(queries, step))
        writeCommand(QByteArray(row->query));
    else if (step == proto::scanEndStep(queries))
        endVariantScan();
}

void MainWindow::endVariantScan()
{
    stopSequence(scanTimer, scanStep);
    ui->scan_parameters->setText(caption::scan());
    clearHighlights(proto::variantHighlights);
}
