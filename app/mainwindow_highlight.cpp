// MainWindow members: the form's parameter fields and their highlighting.
#include "mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "parameters.h"
#include "styles.h"
#include "ui_mainwindowform.h"

void MainWindow::findFields()
{
    for (const proto::Parameter &row : proto::parameters) {
        QWidget *field = findChild<QWidget *>(QLatin1String(row.field));
        Q_ASSERT_X(row.kind == proto::Kind::Choice ? qobject_cast<QComboBox *>(field) != nullptr
                                                   : qobject_cast<QLineEdit *>(field) != nullptr,
                   row.field, "the form has no field of this name and kind");
        fields[int(row.param)] = field;
    }
}

QWidget *MainWindow::fieldWidget(proto::Param param) const
{
    return fields[int(param)];
}

QLineEdit *MainWindow::lineEdit(proto::Param param) const
{
    Q_ASSERT(proto::kindOf(param) != proto::Kind::Choice);
    return static_cast<QLineEdit *>(fieldWidget(param));
}

QComboBox *MainWindow::comboBox(proto::Param param) const
{
    Q_ASSERT(proto::kindOf(param) == proto::Kind::Choice);
    return static_cast<QComboBox *>(fieldWidget(param));
}

void MainWindow::clearHighlights(proto::ParamList params)
{
    for (proto::Param p : params)
        fieldWidget(p)->setStyleSheet(style::none);
}

void MainWindow::styleclear()
{
    clearHighlights(proto::listOf(proto::order::highlight));
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
