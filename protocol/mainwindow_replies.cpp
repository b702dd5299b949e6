// MainWindow members: replies from the module.
#include <QComboBox>
#include <QLineEdit>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "captions.h"
#include "lines.h"
#include "logging.h"
#include "mainwindow.h"
#include "parameters.h"
#include "replyframer.h"
#include "styles.h"
#include "ui_mainwindowform.h"

namespace {
QString failText(proto::FailText text)
{
    return text == proto::FailText::LeadingBlank ? QStringLiteral("<FONT COLOR='#800000'> Ошибка записи </FONT>")
                                                 : QStringLiteral("<FONT COLOR='#800000'>Ошибка записи </FONT>");
}
} // namespace

void MainWindow::readData()
{
    replies->delivered();
}

void MainWindow::takeReply(const QByteArray &bytes)
{
    answer = proto::cleanReply(bytes);
    qCDebug(lcProtocol) << "data 2:" << answer;
    if (answer.isEmpty()) {
        QMessageBox::critical(this, tr("нет соединения с модуля"), boxtext::connectionError());
        return;
    }
    // Traced again once the reply is known not to be empty: the developer
    // trace shows every reply taken as one, each as it is handled.
    qCDebug(lcProtocol) << "data 2:" << answer;
    replyReceived = true;

    if (writeAllTimer->isActive()) {
        if (const proto::Parameter *row = proto::acknowledgedAt(proto::universalWrite, writeAllStep))
            handleWriteReply(*row, answer);
    } else if (scanAllTimer->isActive()) {
        if (const proto::Parameter *row = proto::queryAt(proto::universalScan, scanAllStep))
            handleScanReply(*row, answer);
    }
}

void MainWindow::handleScanReply(const proto::Parameter &row, const QString &reply)
{
    const QString value = proto::cutValue(reply, row);
    switch (row.kind) {
    case proto::Kind::Text: {
        QLineEdit *edit = lineEdit(row.param);
        const bool valid = !value.isEmpty();
        edit->setStyleSheet(valid ? style::ok : style::error);
        if (valid)
            edit->setText(value);
        break;
    }
    case proto::Kind::Choice: {
        QComboBox *combo = comboBox(row.param);
        const int index = proto::matchChoice(value, proto::replyChoices(row.param));
        combo->setStyleSheet(index >= 0 ? style::ok : style::error);
        if (index >= 0)
            combo->setCurrentIndex(index);
        break;
    }
    case proto::Kind::SlaveId:
        if (value.isEmpty()) {
            ui->lineEdit_tcp_id->setStyleSheet(style::inactive);
        } else {
            ui->lineEdit_tcp_id->setStyleSheet(style::ok);
            const bool off = value == QLatin1String(proto::SlaveIdOff);
            if (!off)
                ui->lineEdit_tcp_id->setText(value);
            setSlaveIdOff(off);
        }
        break;
    }
}

void MainWindow::handleWriteReply(const proto::Parameter &row, const QString &reply)
{
    if (reply == QLatin1String(proto::AckOk)) {
        fieldWidget(row.param)->setStyleSheet(style::ok);
        // An acknowledgement of either of the first two changes shows that
        // the module answers.
        if (writeAllStep <= proto::WriteCheckStep)
            moduleResponded = true;
    } else if (reply == QLatin1String(proto::AckRefused) || row.ack == proto::Ack::OkOnly) {
        writeFailed(row, row.failText);
    }
    // Any other word to the last changes is ignored and the write goes on.
}

void MainWindow::writeFailed(const proto::Parameter &row, proto::FailText text)
{
    fieldWidget(row.param)->setStyleSheet(style::error);
    // The step goes back to the start only in the first change's steps.
    if (writeAllStep < proto::changeStep(1))
        stopSequence(writeAllTimer, writeAllStep);
    else
        stopSequence(writeAllTimer);
    QMessageBox::critical(this, boxtext::error(), failText(text));
    ui->applyButton->setText(caption::write());
    styleclear();
}
