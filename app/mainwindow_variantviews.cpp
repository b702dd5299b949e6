// MainWindow members: the views of the three module kinds.
#include "mainwindow.h"
#include "ui_mainwindowform.h"

void MainWindow::universal_show(int index)
{
    switch (index) {
    case 0: // Modbus TCP-RTU
        ui->lineEdit_ipservertcp->setVisible(false);
        ui->lineEdit_timeout->setVisible(false);
        ui->label_ipserver->setVisible(false);
        ui->label_timeout->setVisible(false);
        ui->comboBox_mode->setVisible(false);
        ui->label_modeTcp->setVisible(false);
        ui->lineEdit_version->setVisible(false);
        ui->label_version->setVisible(false);
        ui->groupBox_client->setVisible(false);
        ui->label_timewait->setVisible(false);
        ui->lineEdit_timewait->setVisible(false);
        ui->reset_allparameters->setVisible(false);
        setFixedSize(550, 500);
        break;
    case 1: // Modbus RTU-TCP
        ui->lineEdit_ipservertcp->setVisible(true);
        ui->lineEdit_timeout->setVisible(true);
        ui->label_ipserver->setVisible(true);
        ui->label_timeout->setVisible(true);
        ui->comboBox_mode->setVisible(false);
        ui->label_modeTcp->setVisible(false);
        ui->groupBox_client->setVisible(true);
        ui->label_idtcp->setVisible(false);
        ui->label_id_rtu->setVisible(false);
        ui->lineEdit_rtu_virtual_id->setVisible(false);
        ui->lineEdit_tcp_id->setVisible(false);
        ui->checkBox->setVisible(false);
        ui->lineEdit_version->setVisible(false);
        ui->label_version->setVisible(false);
        ui->label_timewait->setVisible(false);
        ui->lineEdit_timewait->setVisible(false);
        ui->reset_allparameters->setVisible(false);
        setFixedSize(550, 600);
        break;
    case 2: // Modbus universal
        ui->comboBox_mode->setVisible(true);
        ui->label_modeTcp->setVisible(true);
        ui->groupBox_client->setVisible(true);
        ui->lineEdit_rtu_virtual_id->setVisible(true);
        ui->lineEdit_tcp_id->setVisible(true);
        ui->checkBox->setVisible(true);
        ui->lineEdit_version->setVisible(true);
        ui->label_version->setVisible(true);
        ui->label_id_rtu->setVisible(true);
        ui->label_idtcp->setVisible(true);
        ui->label_ipserver->setVisible(true);
        ui->label_timeout->setVisible(true);
        ui->lineEdit_timeout->setVisible(true);
        ui->lineEdit_ipservertcp->setVisible(true);
        ui->label_timewait->setVisible(true);
        ui->lineEdit_timewait->setVisible(true);
        ui->reset_allparameters->setVisible(true);
        setFixedSize(550, 785);
        break;
    default:
        break;
    }
}
