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
    // The captions are the write's state: the window keeps no other, so a
    // write starts only while both buttons show their idle captions.
    const QString current = ui->applyButton->text();
    if (current == caption::write() && ui->scan_parameters->text() == caption::scan() && serial.isOpen()) {
        ui->applyButton->setText(caption::stopWrite());
        if (writeAllTimer->isActive()) {
            stopSequence(writeAllTimer, writeAllStep);
            return;
        }
        writeAllStep = 0;
        // The silent-module check judges this write.
        moduleResponded = false;
        startSequence(writeAllTimer);
    } else if (current == caption::stopWrite()) {
        ui->applyButton->setText(caption::write());
        // Only the timers: the steps stay where they were.
        stopSequence(scanTimer);
        stopSequence(writeTimer);
        stopSequence(writeAllTimer);
        styleclear();
    }
}

void MainWindow::change_mode_TCP()
{
    stopSequence(scanTimer, scanStep);
    stopSequence(writeTimer, writeStep);
    stopSequence(scanAllTimer, scanAllStep);

    const int step = ++writeAllStep;

    // After the connection check, a change that got no reply at all by the
    // end of its wait step fails the write: a module that stopped answering
    // must not end in a success box.
    const int previousChange = step - 2;
    if (previousChange > proto::WriteCheckStep && !replyReceived) {
        if (const proto::Parameter *unanswered = proto::changeAt(proto::universalWrite, previousChange)) {
            writeFailed(*unanswered, proto::FailText::LeadingBlank);
            return;
        }
    }

    if (step == proto::changeStep(0))
        qCDebug(lcProtocol) << answer << "case_1";
    else if (step == proto::changeStep(1))
        qCDebug(lcProtocol) << answer << "case_3";

    if (const proto::Parameter *row = proto::changeAt(proto::universalWrite, step)) {
        const QByteArray line = changeLine(*row, proto::universalWriteChoices(row->param));
        replyReceived = false;
        writeCommand(line);
        traceChange(row->param, line, false); // the universal write's trace leaves the server address out
    } else if (step == proto::WriteCheckStep) {
        qCDebug(lcProtocol) << answer << "case_2";
        noConnection(!moduleResponded, writeAllTimer, modulekind::universal());
    } else if (step == proto::WriteAllEndStep) {
        writeCommand(QByteArray(proto::RebootUniversal));
        stopSequence(writeAllTimer, writeAllStep);
        resetPending = true;
        ui->applyButton->setText(caption::write());
        QMessageBox::information(this, boxtext::writeResults(), successText(modulekind::universal()));
        styleclear();
    }
}

// No control reaches the per-variant writes: the window serves the universal
// kind, and carries the other two kinds' sequences as slots of their own.
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
    const int step = ++writeStep;
    const proto::ParamList changes = proto::variantWrite(variant);
    if (step == proto::WriteCheckStep) {
        noConnection(!moduleResponded, writeTimer, modulekind::of(variant));
        return;
    }
    if (const proto::Parameter *row = proto::changeAt(changes, step)) {
        const QByteArray line = changeLine(*row, proto::variantWriteChoices(row->param));
        writeCommand(line);
        traceChange(row->param, line, true);
    } else if (step == proto::writeEndStep(changes)) {
        writeCommand(QByteArray(proto::Reboot));
        endVariantWrite(variant);
    }
}

void MainWindow::endVariantWrite(proto::Variant variant)
{
    stopSequence(writeTimer, writeStep);
    resetPending = true;
    // Only the RTU-TCP write puts the write button's caption back.
    if (variant == proto::Variant::RtuTcp)
        ui->applyButton->setText(caption::write());
    QMessageBox::information(this, boxtext::writeResults(), successText(modulekind::of(variant)));
    clearHighlights(proto::variantHighlights);
}
