// MainWindow members: field highlighting.
#include "mainwindow.h"
#include "parameters.h"
#include "styles.h"
#include "ui_mainwindowform.h"

QVector<QWidget *> MainWindow::highlightedFields() const
{
    QVector<QWidget *> list(proto::ParamCount - 1);
    for (const proto::Parameter &row : proto::parameters)
        if (row.highlight >= 0)
            list[row.highlight] = fieldWidget(row.param);
    return list;
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
