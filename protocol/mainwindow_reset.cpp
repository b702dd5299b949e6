// MainWindow members: reboot and factory reset of the module.
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include "logging.h"
#include "mainwindow.h"

void MainWindow::on_Reset_clicked()
{
    writeCommand(QByteArray(proto::Reboot));
    resetPending = true;
}

void MainWindow::on_reset_allparameters_clicked()
{
    Reset_Default();
}

void MainWindow::Reset_Default()
{
    QMessageBox box;
    QAbstractButton *yes = box.addButton(tr("Да"), QMessageBox::YesRole);
    box.addButton(tr("Нет"), QMessageBox::NoRole);
    box.setWindowTitle(QStringLiteral("Сброс"));
    box.setWindowIcon(windowIcon()); // the box has no parent to take it from
    box.setText(tr("Вы действительно хотите cбросить к заводским настройкам?"));
    box.exec();
    if (box.clickedButton() == yes) {
        writeCommand(QByteArray(proto::FactoryReset));
        resetPending = true;
        qCDebug(lcProtocol) << "сброс параметры " << answer;
    }
}
