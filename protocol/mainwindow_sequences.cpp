// MainWindow members: what the sequences share (the form field of each
// parameter, the change line built from the form, and the check for a
// silent module).
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
#include "parameters.h"
#include "ui_mainwindowform.h"

QWidget *MainWindow::fieldWidget(proto::Param param) const
{
    return fields[int(param)];
}

QByteArray MainWindow::changeLine(const proto::Change &change, proto::ChoiceList words) const
{
    QWidget *field = fieldWidget(change.param);
    if (proto::kindOf(change.param) == proto::Kind::Choice)
        return proto::changeLine(change, words, QString(), static_cast<QComboBox *>(field)->currentIndex(), false);
    return proto::changeLine(change, words, static_cast<QLineEdit *>(field)->text(), -1,
                             ui->checkBox->isChecked());
}

void MainWindow::traceChange(proto::Param param, const QByteArray &line, bool withServerAddress) const
{
    if (param == proto::Param::Ip)
        qCDebug(lcProtocol) << "change ip---" << line;
    else if (param == proto::Param::Mask)
        qCDebug(lcProtocol) << "change mask---" << line;
    else if (param == proto::Param::PortTcp || param == proto::Param::Speed
             || (param == proto::Param::IpServerTcp && withServerAddress))
        qCDebug(lcProtocol) << line;
}

void MainWindow::stopSequence(QTimer *timer, int &step)
{
    timer->stop();
    step = 0;
}

bool MainWindow::noConnection(bool silent, QTimer *timer, int &step, const QString &moduleKind)
{
    if (!silent)
        return false;
    // Nothing more goes out while the box is open.
    timer->stop();
    updateProgress();
    QMessageBox::critical(this, boxtext::connectionError(),
                          QStringLiteral("нет соединения с модулем ") + moduleKind);
    step = 0;
    closeport();
    ui->connect->setText(caption::disconnected());
    showIdleCaptions();
    return true;
}
