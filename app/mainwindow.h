#pragma once

#include <QMainWindow>
#include <QSerialPort>
#include <QString>
#include <QVector>

#include "protocoltables.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QSerialPortInfo;
class QTimer;
class QWidget;

namespace Ui {
class MainWindowForm;
}

// The configurator's window and its single controller: the form, the serial
// port to the module, the timer-driven scan and write sequences and the
// settings-file commands.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow();

private slots:
    void universal_show(int index);
    void on_scanport_clicked();
    void on_applyButton_clicked();
    void on_Reset_clicked();
    void on_scan_parameters_clicked();
    void readData();
    void openport();
    void closeport();
    void timerforScan();
    void Reset_Default();
    void change_mode_TCP();
    void scan_pa_modbus_RTU_TCP();
    void scan_pa_modbus_TCP_RTU();
    void scan_pa_modbus_all();
    void change_pa_modbus_RTU_TCP();
    void change_pa_modbus_TCP_RTU();
    void change_parametersofmodbus();
    void checkCustomDevicePathPolicy();
    void handleError(QSerialPort::SerialPortError error);
    void on_reset_allparameters_clicked();
    void on_checkBox_clicked(bool checked);
    void on_connect_clicked();
    void styleclear();
    void OnSaveSetting_File();
    void on_action_open_2_triggered();
    void on_action_show_triggered();
    void on_action_save_triggered();
    void on_action_triggered();

private:
    // Lets the test suite look at the controller's state.
    friend class MainWindowProbe;

    Ui::MainWindowForm *ui;
    QSerialPort serial;
    QString answer;
    QTimer *scanTimer;
    QTimer *writeTimer;
    QTimer *scanAllTimer;
    QTimer *writeAllTimer;
    int writeStep;
    int scanAllStep;
    int scanStep;
    int writeAllStep;
    bool resetPending;
    QString currentFile;
    bool moduleResponded;

    // ---- highlighting ----
    // The fourteen parameter fields, in the order their highlights are
    // cleared.
    QVector<QWidget *> highlightedFields() const;
    // Clears the first `count` of them.
    void clearHighlights(int count);

    // ---- serial link ----
    // Replaces the port list with the names of `ports`, in their order.
    void fillPortList(const QList<QSerialPortInfo> &ports);
    // Writes one command line whole, in a single write, with no terminator.
    void writeCommand(const QByteArray &line);
    // The port is gone: the quiet path after a reboot command, the error box
    // otherwise.
    void portLost();
    void stopAllSequences();

    // ---- reply handling ----
    // Bytes of one reply are collected until their line end, or until the
    // line falls silent.
    QTimer *replyGapTimer;
    // The module sent a reply since the flag was last cleared: at the start
    // of a scan, and whenever a write sends a change.
    bool replyReceived = false;
    void takeReply();
    void handleScanReply(const proto::Query &query, const QString &reply);
    void handleWriteReply(const proto::Change &change, const QString &reply);
    void writeFailed(const proto::Change &change, proto::FailText text);

    // ---- sequences ----
    QWidget *fieldWidget(proto::Param param) const;
    QByteArray changeLine(const proto::Change &change, proto::ChoiceList words) const;
    bool noConnection(bool silent, QTimer *timer, int &step, const QString &moduleKind);
    void scanVariantStep(proto::Variant variant, const QString &moduleKind);
    void writeVariantStep(proto::Variant variant, const QString &moduleKind);
    void endVariantScan();
    void endVariantWrite(proto::Variant variant, const QString &moduleKind);

    // ---- progress of a running sequence in the status bar ----
    QProgressBar *progress;
    void updateProgress();

    // ---- settings files ----
    // Fills the form from a loaded settings object; with
    // `traceLists` it writes the speed and mode debug lines.
    void fillForm(const class setting_module &s, bool traceLists);
    // Loads `currentFile` into the form, or shows the error box naming the
    // file and leaves the form as it is when the file cannot be read.
    void loadCurrentFile(bool traceLists);
};
