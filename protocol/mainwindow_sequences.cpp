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
#include "mainwindow.h"
#include "ui_mainwindowform.h"

QWidget *MainWindow::fieldWidget(proto::Param param) const
{
    switch (param) {
    case proto::Param::Mode: return ui->comboBox_mode;
    case proto::Param::Version: return ui->lineEdit_version;
    case proto::Param::Mac: return ui->lineEdit_MAC;
    case proto::Param::Ip: return ui->lineEdit_ip;
    case proto::Param::Mask: return ui->lineEdit_mask;
    case proto::Param::Gateway: return ui->lineEdit_gateway;
    case proto::Param::PortTcp: return ui->lineEdit_portTCP;
    case proto::Param::Parity: return ui->comboBox;
    case proto::Param::Speed: return ui->comboBox_speed;
    case proto::Param::StopBits: return ui->comboBox_2;
    case proto::Param::TimeoutResponse: return ui->lineEdit_timewait;
    case proto::Param::IpServerTcp: return ui->lineEdit_ipservertcp;
    case proto::Param::TimeoutTcp: return ui->lineEdit_timeout;
    case proto::Param::RtuVirtualId: return ui->lineEdit_rtu_virtual_id;
    case proto::Param::TcpSlaveId: return ui->lineEdit_tcp_id;
    }
    return nullptr;
}

QByteArray MainWindow::changeLine(const proto::Change &change, proto::ChoiceList words) const
{
    QWidget *field = fieldWidget(change.param);
    if (change.kind == proto::Kind::Choice)
        return proto::changeLine(change, words, QString(), static_cast<QComboBox *>(field)->currentIndex(), false);
    return proto::changeLine(change, words, static_cast<QLineEdit *>(field)->text(), -1,
                             ui->checkBox->isChecked());
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
    QMessageBox::critical(this, tr("Ошибка соединения"),
                          QStringLiteral("нет соединения с модулем ") + moduleKind);
    step = 0;
    closeport();
    ui->connect->setText(caption::disconnected());
    showIdleCaptions();
    return true;
}
