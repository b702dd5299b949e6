// Field highlighting.
#include "mainwindow.h"
#include "styles.h"
#include "ui_mainwindowform.h"

void MainWindow::styleclear()
{
    ui->lineEdit_ip->setStyleSheet(style::none);
    ui->lineEdit_ipservertcp->setStyleSheet(style::none);
    ui->comboBox->setStyleSheet(style::none);
    ui->comboBox_2->setStyleSheet(style::none);
    ui->comboBox_speed->setStyleSheet(style::none);
    ui->lineEdit_mask->setStyleSheet(style::none);
    ui->lineEdit_portTCP->setStyleSheet(style::none);
    ui->lineEdit_timeout->setStyleSheet(style::none);
    ui->lineEdit_MAC->setStyleSheet(style::none);
    ui->lineEdit_gateway->setStyleSheet(style::none);
    ui->comboBox_mode->setStyleSheet(style::none);
    ui->lineEdit_rtu_virtual_id->setStyleSheet(style::none);
    ui->lineEdit_tcp_id->setStyleSheet(style::none);
    ui->lineEdit_timewait->setStyleSheet(style::none);
}

void MainWindow::on_checkBox_clicked(bool)
{
    if (ui->checkBox->isChecked()) {
        ui->lineEdit_tcp_id->setEnabled(false);
        ui->lineEdit_tcp_id->setStyleSheet(style::inactive);
        ui->lineEdit_tcp_id->clear();
    } else {
        ui->lineEdit_tcp_id->setEnabled(true);
        ui->lineEdit_tcp_id->setStyleSheet(style::none);
    }
}
