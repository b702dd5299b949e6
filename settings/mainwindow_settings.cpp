// MainWindow members: the menu "Файл настройки".
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>

#include "captions.h"
#include "logging.h"
#include "mainwindow.h"
#include "parameters.h"
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
    QMessageBox::critical(parent, boxtext::error(), QStringLiteral("Файл конфигурации не выбран"),
                          QMessageBox::Ok);
}

void unreadable(QWidget *parent, const QString &fileName)
{
    QMessageBox::critical(parent, boxtext::error(),
                          QStringLiteral("Не удалось прочитать файл настройки %1").arg(fileName), QMessageBox::Ok);
}

} // namespace

void MainWindow::OnSaveSetting_File()
{
    setting_module *s = new setting_module();

    // An empty field, or a list on its blank entry, is saved as the
    // module's factory value.
    for (const proto::Param p : proto::order::file) {
        const proto::Parameter &row = proto::parameter(p);
        if (row.kind == proto::Kind::Choice)
            s->setValue(p, positionOr(comboBox(p), proto::factoryIndex(p)));
        else if (row.kind == proto::Kind::SlaveId && ui->checkBox->isChecked())
            s->setValue(p, QLatin1String(proto::SlaveIdOff));
        else
            s->setValue(p, textOr(lineEdit(p), row.factory));
    }

    s->SaveNTSetting();

    // A cancelled dialog writes nothing and says nothing.
    if (!s->fileName.isEmpty() && (!s->store || s->store->status() != QSettings::NoError)) {
        QMessageBox::critical(this, boxtext::error(),
                              QStringLiteral("Не удалось сохранить настройки в файл %1")
                                      .arg(s->fileName));
    }

    s->deleteLater();
}

void MainWindow::on_action_open_2_triggered()
{
    currentFile = settingsfile::getOpenFileName();
    ui->action->setText(QStringLiteral("Текущий файл (") + currentFile + QStringLiteral(")"));
    loadCurrentFile(true);
}

void MainWindow::on_action_save_triggered()
{
    OnSaveSetting_File();
}

void MainWindow::on_action_triggered()
{
    loadCurrentFile(false);
}

void MainWindow::loadCurrentFile(bool traceLists)
{
    if (currentFile.isEmpty()) {
        noFileChosen(this);
        return;
    }
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
    for (const proto::Param p : proto::order::file) {
        switch (proto::kindOf(p)) {
        case proto::Kind::Text:
            lineEdit(p)->setText(s.value(p).toString());
            break;
        case proto::Kind::Choice:
            // A position outside a list leaves it with no current entry.
            comboBox(p)->setCurrentIndex(s.value(p).toInt());
            break;
        case proto::Kind::SlaveId:
            break; // below, with its box
        }
        // "SPERD" is the trace's own spelling: readers of the debug log search
        // for the words it has always written.
        if (traceLists && p == proto::Param::Speed)
            qCDebug(lcSettings) << s.rs485Speed << "SPERD_RS485";
        else if (traceLists && p == proto::Param::Mode)
            qCDebug(lcSettings) << s.tcpMode << "tcp -mode";
    }

    const bool off = s.tcpSlaveId == QLatin1String(proto::SlaveIdOff);
    if (!off)
        ui->lineEdit_tcp_id->setText(s.tcpSlaveId);
    setSlaveIdOff(off);
    // Switched off by a file, the field has a lavender of its own.
    ui->lineEdit_tcp_id->setStyleSheet(off ? style::inactiveFile : style::none);

    ui->lineEdit_version->setStyleSheet(style::inactive);
    ui->lineEdit_MAC->setStyleSheet(style::inactiveFile);
}
