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
#include "styles.h"
#include "ui_mainwindowform.h"

namespace {
// A device that never falls silent (noise on the line) must not grow the
// reply without end: past this size the collected bytes are taken at once.
constexpr qint64 MaxReplyBytes = 64 * 1024;

QString failText(proto::FailText text)
{
    return text == proto::FailText::LeadingBlank ? QStringLiteral("<FONT COLOR='#800000'> Ошибка записи </FONT>")
                                                 : QStringLiteral("<FONT COLOR='#800000'>Ошибка записи </FONT>");
}
} // namespace

void MainWindow::readData()
{
    // Adapters deliver one reply in several chunks. The module ends a reply
    // to a query with its line end (LF or CR LF) and puts none inside it, so
    // bytes that end with an LF are a whole reply and are taken at once; a
    // CR alone waits for its LF. The acknowledgements ("ok", "?") have no
    // line end: they are taken once the line has been silent for a short
    // gap, as are replies that lost theirs.
    const qint64 available = serial.bytesAvailable();
    if (available >= MaxReplyBytes || (available > 0 && serial.peek(available).endsWith('\n')))
        takeReply();
    else
        replyGapTimer->start();
}

void MainWindow::takeReply()
{
    replyGapTimer->stop();
    if (!serial.isOpen())
        return;
    const QByteArray bytes = serial.readAll();
    if (bytes.isEmpty())
        return;

    answer = proto::cleanReply(bytes);
    qCDebug(lcProtocol) << "data 2:" << answer;
    if (answer.isEmpty()) {
        QMessageBox::critical(this, tr("нет соединения с модуля"), boxtext::connectionError());
        return;
    }
    // Traced a second time on purpose; held by tst_traces::categories.
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
