// MainWindow members: writing the form's parameters to the module.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "captions.h"
#include "lines.h"
#include "logging.h"
#include "mainwindow.h"
#include "styles.h"
#include "ui_mainwindowform.h"

namespace {

QString successText(const QString &moduleKind)
{
    return QStringLiteral("<FONT COLOR='#008000'>Изменение параметров ") + moduleKind
        + QStringLiteral(" было успешно</FONT>");
}
} // namespace

void MainWindow::on_applyButton_clicked()
{
    const QString current = ui->applyButton->text();
    if (current == caption::write() && ui->scan_parameters->text() == caption::scan() && serial.isOpen()) {
        ui->applyButton->setText(caption::stopWrite());
        if (writeAllTimer->isActive()) {
            stopSequence(writeAllTimer, writeAllStep);
            updateProgress();
            return;
        }
        writeAllStep = 0;
        // The silent-module check at the fourth step judges this write.
        moduleResponded = false;
        writeAllTimer->start(1000);
        updateProgress();
    } else if (current == caption::stopWrite()) {
        ui->applyButton->setText(caption::write());
        // Only the timers: the steps stay where they were.
        scanTimer->stop();
        writeTimer->stop();
        writeAllTimer->stop();
        updateProgress();
        styleclear();
    }
}

void MainWindow::change_mode_TCP()
{
    stopSequence(scanTimer, scanStep);
    stopSequence(writeTimer, writeStep);
    stopSequence(scanAllTimer, scanAllStep);

    ++writeAllStep;
    const int step = writeAllStep;

    // From the mask on, a change that got no reply at all by the end of its
    // wait step fails the write: a module that stopped answering must not
    // end in a success box.
    if (step > proto::WriteCheckStep + 1 && step % 2 == 1 && step <= proto::WriteAllEndStep && !replyReceived) {
        writeFailed(*proto::writeAllChange(step - 2), proto::FailText::A);
        return;
    }

    if (step == 1)
        qCDebug(lcProtocol) << answer << "case_1";
    else if (step == 3)
        qCDebug(lcProtocol) << answer << "case_3";

    if (const proto::Change *change = proto::writeAllChange(step)) {
        const QByteArray line = changeLine(*change, proto::universalWriteChoices(change->param));
        replyReceived = false;
        writeCommand(line);
        traceChange(change->param, line, false); // the universal write's trace leaves the server address out
    } else if (step == proto::WriteCheckStep) {
        qCDebug(lcProtocol) << answer << "case_2";
        if (noConnection(!moduleResponded, writeAllTimer, writeAllStep, modulekind::universal()))
            return;
    } else if (step == proto::WriteAllEndStep) {
        writeCommand(QByteArray(proto::RebootUniversal));
        stopSequence(writeAllTimer, writeAllStep);
        resetPending = true;
        ui->applyButton->setText(caption::write());
        updateProgress();
        QMessageBox::information(this, boxtext::writeResults(), successText(modulekind::universal()));
        styleclear();
        return;
    }
    updateProgress();
}

void MainWindow::change_pa_modbus_RTU_TCP()
{
    writeVariantStep(proto::Variant::RtuTcp);
}

void MainWindow::change_pa_modbus_TCP_RTU()
{
    writeVariantStep(proto::Variant::TcpRtu);
}

void MainWindow::writeVariantStep(proto::Variant variant)
{
    ++writeStep;
    const int step = writeStep;
    const proto::ParamList params = proto::variantWrite(variant);
    if (step == 4) {
        noConnection(!moduleResponded, writeTimer, writeStep, modulekind::of(variant));
        return;
    }
    if (step % 2 == 1 && (step - 1) / 2 < params.count) {
        const proto::Param param = params.params[(step - 1) / 2];
        const QByteArray line = changeLine(*proto::changeFor(param), proto::variantWriteChoices(param));
        writeCommand(line);
        traceChange(param, line, true);
    } else if (step == 2 * params.count + 1) {
        writeCommand(QByteArray(proto::Reboot));
        endVariantWrite(variant);
    }
}

void MainWindow::endVariantWrite(proto::Variant variant)
{
    stopSequence(writeTimer, writeStep);
    resetPending = true;
    if (variant == proto::Variant::RtuTcp)
        ui->applyButton->setText(caption::write());
    QMessageBox::information(this, boxtext::writeResults(), successText(modulekind::of(variant)));
    clearHighlights(10);
}
