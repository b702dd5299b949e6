// The menu "Файл настройки".
#include "mainwindow.h"
#include "ui_mainwindowform.h"

void MainWindow::OnSaveSetting_File()
{
}

void MainWindow::on_action_open_2_triggered()
{
}

void MainWindow::on_action_save_triggered()
{
    OnSaveSetting_File();
}

void MainWindow::on_action_triggered()
{
}
