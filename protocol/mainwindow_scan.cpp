// MainWindow members: reading the module's parameters into the form.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "captions.h"
#include "logging.h"
#include "mainwindow.h"
#include "parameters.h"
#include "styles.h"
#include "ui_mainwindowform.h"

void MainWindow::on_scan_parameters_clicked()
{
    const QString current = ui->scan_parameters->text();
    if (current == caption::scan()) {
        ui->scan_parameters->setText(caption::stopScan());
        ui->applyButton->setText(caption::write());
        stopSequence(writeAllTimer, writeAllStep);
        if (scanAllTimer->isActive()) {
            stopSequence(scanAllTimer, scanAllStep);
            updateProgress();
            return;
        }
        // The silent-module check judges this scan only.
        replyReceived = false;
        scanAllTimer->start(1000);
        for (const proto::Parameter &row : proto::parameters) {
            QWidget *field = fieldWidget(row.param);
            if (row.kind == proto::Kind::Choice)
                static_cast<QComboBox *>(field)->setCurrentIndex(0);
            else
                static_cast<QLineEdit *>(field)->clear();
            if (!row.scanKeepsStyle)
                field->setStyleSheet(style::none);
        }
        updateProgress();
    } else if (current == caption::stopScan()) {
        // Not stopAllSequences(): the write button keeps its caption here.
        ui->scan_parameters->setText(caption::scan());
        stopSequence(scanTimer, scanStep);
        stopSequence(writeTimer, writeStep);
        stopSequence(scanAllTimer, scanAllStep);
        stopSequence(writeAllTimer, writeAllStep);
        updateProgress();
    }
}

void MainWindow::scan_pa_modbus_all()
{
    ++scanAllStep;
    const int step = scanAllStep;
    if (step == proto::ScanCheckStep
        && noConnection(!replyReceived, scanAllTimer, scanAllStep, modulekind::universal()))
        return;

    if (const proto::Query *query = proto::scanAllQuery(step)) {
        writeCommand(QByteArray(query->command));
    } else if (step == proto::ScanAllEndStep) {
        stopSequence(scanAllTimer, scanAllStep);
        ui->scan_parameters->setText(caption::scan());
        // The marks of the replies go; the fields only the module fills,
        // and the switched-off TCP server address, turn lavender.
        for (QWidget *field : highlightedFields()) {
            const bool inactive = field == ui->lineEdit_MAC
                || (field == ui->lineEdit_tcp_id && ui->checkBox->isChecked());
            field->setStyleSheet(inactive ? style::inactive : style::none);
            if (field == ui->comboBox_mode)
                ui->lineEdit_version->setStyleSheet(style::inactive);
        }
    }
    updateProgress();
}

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
        scanTimer->stop(); // the step stays where it was
        qCDebug(lcProtocol) << "error connecting";
        return;
    }
    ++scanStep;
    const int step = scanStep;
    const proto::ParamList params = proto::variantScan(variant);
    if (step == 2) {
        if (variant == proto::Variant::TcpRtu)
            qCDebug(lcProtocol) << answer << "TCPRTU-2-ggggggggggggg";
        if (noConnection(answer.isEmpty(), scanTimer, scanStep, modulekind::of(variant)))
            return;
    }
    if (step >= 1 && step <= params.count)
        writeCommand(QByteArray(proto::queryFor(params.params[step - 1])->command));
    else if (step == params.count + 1)
        endVariantScan();
}

void MainWindow::endVariantScan()
{
    stopSequence(scanTimer, scanStep);
    ui->scan_parameters->setText(caption::scan());
    clearHighlights(10);
}
