// MainWindow members: what the sequences share (starting and stopping them,
// the change line built from the form, its trace, and the check for a
// silent module).
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "captions.h"
#include "lines.h"
#include "logging.h"
#include "mainwindow.h"
#include "ui_mainwindowform.h"

void MainWindow::startSequence(QTimer *timer)
{
    timer->start(proto::PaceMs);
    updateProgress();
}

void MainWindow::stopSequence(QTimer *timer, int &step)
{
    step = 0;
    stopSequence(timer);
}

void MainWindow::stopSequence(QTimer *timer)
{
    timer->stop();
    updateProgress();
}

QByteArray MainWindow::changeLine(const proto::Parameter &row, proto::ChoiceList words) const
{
    if (row.kind == proto::Kind::Choice)
        return proto::changeLine(row, words, QString(), comboBox(row.param)->currentIndex(), false);
    return proto::changeLine(row, words, lineEdit(row.param)->text(), -1, ui->checkBox->isChecked());
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

bool MainWindow::noConnection(bool silent, QTimer *timer, const QString &moduleKind)
{
    if (!silent)
        return false;
    // Nothing more goes out while the box is open.
    stopSequence(timer);
    QMessageBox::critical(this, boxtext::connectionError(),
                          QStringLiteral("нет соединения с модулем ") + moduleKind);
    showDisconnected();
    return true;
}
