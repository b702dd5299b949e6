// MainWindow members: field highlighting.
#include "mainwindow.h"
#include "styles.h"
#include "ui_mainwindowform.h"

QVector<QWidget *> MainWindow::highlightedFields() const
{
    return {ui->lineEdit_ip,      ui->lineEdit_ipservertcp, ui->comboBox,         ui->comboBox_2,
            ui->comboBox_speed,   ui->lineEdit_mask,        ui->lineEdit_portTCP, ui->lineEdit_timeout,
            ui->lineEdit_MAC,     ui->lineEdit_gateway,     ui->comboBox_mode,    ui->lineEdit_rtu_virtual_id,
            ui->lineEdit_tcp_id,  ui->lineEdit_timewait};
}

void MainWindow::clearHighlights(int count)
{
    const QVector<QWidget *> fields = highlightedFields();
    for (int i = 0; i < count && i < fields.size(); ++i)
        fields[i]->setStyleSheet(style::none);
}

void MainWindow::styleclear()
{
    clearHighlights(highlightedFields().size());
}

void MainWindow::on_checkBox_clicked(bool)
{
    const bool off = ui->checkBox->isChecked();
    setSlaveIdOff(off);
    ui->lineEdit_tcp_id->setStyleSheet(off ? style::inactive : style::none);
}

void MainWindow::setSlaveIdOff(bool off)
{
    ui->checkBox->setChecked(off);
    ui->lineEdit_tcp_id->setEnabled(!off);
    if (off)
        ui->lineEdit_tcp_id->clear();
}
