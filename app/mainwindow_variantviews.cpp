// MainWindow members: the views of the three module kinds.
#include "mainwindow.h"
#include "screenfit.h"
#include "ui_mainwindowform.h"

#include <initializer_list>

namespace {

void setShown(std::initializer_list<QWidget *> widgets, bool shown)
{
    for (QWidget *widget : widgets)
        widget->setVisible(shown);
}

// The window's height in the view of each module kind, by index; the width stays.
constexpr int viewWidth = 550;
constexpr int viewHeights[] = {500, 600, 785};

} // namespace

QSize MainWindow::startSize()
{
    return {viewWidth, viewHeights[2]};
}

// 0: Modbus TCP-RTU, 1: Modbus RTU-TCP, 2: Modbus universal; any other index
// leaves the view as it is.
// No control reaches the views: the window serves the universal kind, and
// carries the switch for the other two as slots nothing connects.
void MainWindow::universal_show(int index)
{
    if (index < 0 || index > 2)
        return;
    const bool client = index != 0; // the kinds that talk to a TCP server
    const bool universal = index == 2;
    setShown({ui->label_ipserver, ui->lineEdit_ipservertcp, ui->label_timeout, ui->lineEdit_timeout,
              ui->groupBox_client},
             client);
    setShown({ui->label_modeTcp, ui->comboBox_mode, ui->label_version, ui->lineEdit_version, ui->label_timewait,
              ui->lineEdit_timewait, ui->reset_allparameters},
             universal);
    // The TCP-RTU view hides the whole client group and leaves these in it as they are.
    if (client)
        setShown({ui->label_id_rtu, ui->lineEdit_rtu_virtual_id, ui->label_idtcp, ui->lineEdit_tcp_id, ui->checkBox},
                 universal);
    // Fixed at the view's size, or at what a small screen holds of it.
    screenFit->setDesignedSize({viewWidth, viewHeights[index]});
}
