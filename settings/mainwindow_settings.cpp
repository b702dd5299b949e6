// MainWindow members: the menu "Файл настройки".
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>

#include "logging.h"
#include "mainwindow.h"
#include "setting_module.h"
#include "styles.h"
#include "ui_mainwindowform.h"

namespace {

// A text field counts as empty only when it holds exactly nothing.
QString textOr(const QLineEdit *edit, const char *fallback)
{
    const QString text = edit->text();
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

// A list on its blank entry takes the default; any other position, -1 (no
// current entry) included, is copied unchanged.
int positionOr(const QComboBox *box, int fallback)
{
    const int index = box->currentIndex();
    return index == 0 ? fallback : index;
}

void noFileChosen(QWidget *parent)
{
    QMessageBox::critical(parent, QStringLiteral("Ошибка"), QStringLiteral("Файл конфигурации не выбран"),
                          QMessageBox::Ok);
}

void unreadable(QWidget *parent, const QString &fileName)
{
    QMessageBox::critical(parent, QStringLiteral("Ошибка"),
                          QStringLiteral("Не удалось прочитать файл настройки %1").arg(fileName), QMessageBox::Ok);
}

} // namespace

void MainWindow::OnSaveSetting_File()
{
    setting_module *s = new setting_module();

    s->ipAddress = textOr(ui->lineEdit_ip, "192.168.0.1");
    s->netMask = textOr(ui->lineEdit_mask, "255.255.255.0");
    s->gateway = textOr(ui->lineEdit_gateway, "0.0.0.0");
    s->tcpPort = textOr(ui->lineEdit_portTCP, "502");
    s->parity = positionOr(ui->comboBox, 1);
    s->rs485Speed = positionOr(ui->comboBox_speed, 4);
    s->tcpMode = positionOr(ui->comboBox_mode, 1);
    s->stopBits = positionOr(ui->comboBox_2, 1);
    s->responseTimeout = textOr(ui->lineEdit_timewait, "1000");
    s->serverIp = textOr(ui->lineEdit_ipservertcp, "192.168.0.10");
    s->tcpTimeout = textOr(ui->lineEdit_timeout, "180");
    s->rtuVirtualId = textOr(ui->lineEdit_rtu_virtual_id, "1");
    if (ui->checkBox->isChecked())
        s->tcpSlaveId = QStringLiteral("off");
    else
        s->tcpSlaveId = textOr(ui->lineEdit_tcp_id, "off");

    s->SaveNTSetting();

    // A cancelled dialog writes nothing and says nothing.
    if (!s->fileName.isEmpty() && (!s->store || s->store->status() != QSettings::NoError)) {
        QMessageBox::critical(this, QStringLiteral("Ошибка"),
                              QStringLiteral("Не удалось сохранить настройки в файл %1")
                                      .arg(s->fileName));
    }

    s->deleteLater();
}

void MainWindow::on_action_open_2_triggered()
{
    currentFile = settingsfile::getOpenFileName();
    ui->action->setText(QStringLiteral("Текущий файл (") + currentFile + QStringLiteral(")"));
    if (currentFile.isEmpty()) {
        noFileChosen(this);
        return;
    }
    loadCurrentFile(true);
}

void MainWindow::on_action_save_triggered()
{
    OnSaveSetting_File();
}

void MainWindow::on_action_triggered()
{
    if (currentFile.isEmpty()) {
        noFileChosen(this);
        return;
    }
    loadCurrentFile(false);
}

void MainWindow::loadCurrentFile(bool traceLists)
{
    // A file that was moved or deleted, cannot be read or is not an INI
    // text must not wipe the engineer's form.
    if (settingsfile::check(currentFile) != settingsfile::Check::Ok) {
        unreadable(this, currentFile);
        return;
    }

    setting_module *s = new setting_module();
    s->LoadNTSetting(currentFile);
    if (s->store->status() != QSettings::NoError) {
        // The file changed between the check and the load.
        unreadable(this, currentFile);
        s->deleteLater();
        return;
    }

    qCDebug(lcSettings) << s->moduleName << "modul_name";
    fillForm(*s, traceLists);
    s->deleteLater();
}

void MainWindow::fillForm(const setting_module &s, bool traceLists)
{
    ui->lineEdit_ip->setText(s.ipAddress);
    ui->lineEdit_mask->setText(s.netMask);
    ui->lineEdit_gateway->setText(s.gateway);
    ui->lineEdit_portTCP->setText(s.tcpPort);

    // A position outside a list leaves it with no current entry.
    ui->comboBox->setCurrentIndex(s.parity);
    ui->comboBox_speed->setCurrentIndex(s.rs485Speed);
    if (traceLists)
        qCDebug(lcSettings) << s.rs485Speed << "SPERD_RS485";
    ui->comboBox_2->setCurrentIndex(s.stopBits);
    ui->comboBox_mode->setCurrentIndex(s.tcpMode);
    if (traceLists)
        qCDebug(lcSettings) << s.tcpMode << "tcp -mode";

    ui->lineEdit_timewait->setText(s.responseTimeout);
    ui->lineEdit_ipservertcp->setText(s.serverIp);
    ui->lineEdit_timeout->setText(s.tcpTimeout);
    ui->lineEdit_rtu_virtual_id->setText(s.rtuVirtualId);

    const bool off = s.tcpSlaveId == QLatin1String(proto::SlaveIdOff);
    if (!off)
        ui->lineEdit_tcp_id->setText(s.tcpSlaveId);
    setSlaveIdOff(off);
    // Switched off by a file, the field has a lavender of its own.
    ui->lineEdit_tcp_id->setStyleSheet(off ? style::inactiveFile : style::none);

    ui->lineEdit_version->setStyleSheet(style::inactive);
    ui->lineEdit_MAC->setStyleSheet(style::inactiveFile);
}
