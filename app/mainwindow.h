#pragma once

#include <QMainWindow>
#include <QSerialPort>
#include <QSize>
#include <QString>

#include "protocoltables.h"

class QComboBox;
class QLineEdit;
class ScreenFit;
class QProgressBar;
class QSerialPortInfo;
class QTimer;
class QWidget;

namespace Ui {
class MainWindowForm;
}

class LossWatch;
class ReplyFramer;

// The configurator's window and its single controller: the form, the serial
// port to the module, the timer-driven scan and write sequences and the
// settings-file commands.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);       // app/mainwindow.cpp
    ~MainWindow();
    // The fixed size the program starts with: that of the universal view.
    static QSize startSize();                             // app/mainwindow_variantviews.cpp

private slots:
    // In this order (the order of the meta-object table); each in the file named.
    void universal_show(int index);                       // app/mainwindow_variantviews.cpp
    void on_scanport_clicked();                           // link/mainwindow_link.cpp
    void on_applyButton_clicked();                        // protocol/mainwindow_write.cpp
    void on_Reset_clicked();                              // protocol/mainwindow_reset.cpp
    void on_scan_parameters_clicked();                    // protocol/mainwindow_scan.cpp
    void readData();                                      // protocol/mainwindow_replies.cpp
    void openport();                                      // link/mainwindow_link.cpp
    void closeport();                                     // link/mainwindow_link.cpp
    void timerforScan();                                  // app/mainwindow.cpp (empty)
    void Reset_Default();                                 // protocol/mainwindow_reset.cpp
    void change_mode_TCP();                               // protocol/mainwindow_write.cpp
    void scan_pa_modbus_RTU_TCP();                        // protocol/mainwindow_scan.cpp
    void scan_pa_modbus_TCP_RTU();                        // protocol/mainwindow_scan.cpp
    void scan_pa_modbus_all();                            // protocol/mainwindow_scan.cpp
    void change_pa_modbus_RTU_TCP();                      // protocol/mainwindow_write.cpp
    void change_pa_modbus_TCP_RTU();                      // protocol/mainwindow_write.cpp
    void change_parametersofmodbus();                     // app/mainwindow.cpp (empty)
    void checkCustomDevicePathPolicy();                   // link/mainwindow_link.cpp
    void handleError(QSerialPort::SerialPortError error); // link/mainwindow_link.cpp
    void on_reset_allparameters_clicked();                // protocol/mainwindow_reset.cpp
    void on_checkBox_clicked(bool checked);               // app/mainwindow_highlight.cpp
    void on_connect_clicked();                            // link/mainwindow_link.cpp
    void styleclear();                                    // app/mainwindow_highlight.cpp
    void OnSaveSetting_File();                            // settings/mainwindow_settings.cpp
    void on_action_open_2_triggered();                    // settings/mainwindow_settings.cpp
    void on_action_show_triggered();                      // app/mainwindow.cpp (empty)
    void on_action_save_triggered();                      // settings/mainwindow_settings.cpp
    void on_action_triggered();                           // settings/mainwindow_settings.cpp

private:
    // Lets the test suite look at the controller's state.
    friend class MainWindowProbe;

    Ui::MainWindowForm *ui = nullptr;
    QSerialPort serial;
    QString answer;
    QTimer *scanTimer = nullptr;
    QTimer *writeTimer = nullptr;
    QTimer *scanAllTimer = nullptr;
    QTimer *writeAllTimer = nullptr;
    int writeStep = 0;
    int scanAllStep = 0;
    int scanStep = 0;
    int writeAllStep = 0;
    bool resetPending = false;
    QString currentFile;
    bool moduleResponded = false;

    // ---- the form's parameter fields and their highlighting: app/mainwindow_highlight.cpp ----
    // The form field of each parameter, found by its name in the parameter
    // table when the window is built.
    QWidget *fields[proto::ParamCount] = {};
    void findFields();
    QWidget *fieldWidget(proto::Param param) const;
    // The field of a Text or SlaveId parameter, and of a Choice one.
    QLineEdit *lineEdit(proto::Param param) const;
    QComboBox *comboBox(proto::Param param) const;
    // Clears the highlights of these fields.
    void clearHighlights(proto::ParamList params);
    // The TCP slave id switched off (the box ticked, the field empty and
    // disabled) or on; its style is the caller's.
    void setSlaveIdOff(bool off);

    // ---- serial link: link/mainwindow_link.cpp ----
    // Replaces the port list with the names of `ports`, in their order.
    void fillPortList(const QList<QSerialPortInfo> &ports);
    // Writes one command line whole, in a single write, with no terminator.
    void writeCommand(const QByteArray &line);
    // Tells from the port's errors that its device is gone, and when to
    // take it up (handleError hands it each error).
    LossWatch *lossWatch = nullptr;
    // The port is gone: the quiet path after a reboot command, the error box
    // otherwise (when it was open).
    void portLost(bool wasOpen);
    // Closes and opens the port again after a failed transfer (Windows).
    void reopenPort();
    // Every sequence stopped and back at its start, the buttons' captions at rest.
    void stopAllSequences();
    // The scan and write buttons' captions while nothing runs.
    void showIdleCaptions();
    // The enabled controls and the status text of a connection state.
    void showConnectionState(bool connected);
    // The form disconnected: the port closed, every sequence stopped, the
    // captions at rest.
    void showDisconnected();

    // ---- reply handling: protocol/mainwindow_replies.cpp ----
    // Takes each reply whole (readData hands it each delivery): at its line
    // end, or once the line falls silent.
    ReplyFramer *replies = nullptr;
    // The module sent a reply since the flag was last cleared: at the start
    // of a scan, and whenever a write sends a change.
    bool replyReceived = false;
    void takeReply(const QByteArray &bytes);
    void handleScanReply(const proto::Parameter &row, const QString &reply);
    void handleWriteReply(const proto::Parameter &row, const QString &reply);
    void writeFailed(const proto::Parameter &row, proto::FailText text);

    // ---- what the sequences share: protocol/mainwindow_sequences.cpp ----
    // A sequence's timer started at its one-second pace, or stopped with its
    // step back at the start (or, without the step, where it was); the
    // progress in the status bar follows.
    void startSequence(QTimer *timer);
    void stopSequence(QTimer *timer, int &step);
    void stopSequence(QTimer *timer);
    QByteArray changeLine(const proto::Parameter &row, proto::ChoiceList words) const;
    // The debug trace of a change line sent: the IP address and the mask with
    // a label, the TCP port and the speed bare, and the TCP server address
    // bare when `withServerAddress`.
    void traceChange(proto::Param param, const QByteArray &line, bool withServerAddress) const;
    // At a sequence's check step: when the module is silent, the box, then
    // the form disconnected; true when it was.
    bool noConnection(bool silent, QTimer *timer, const QString &moduleKind);

    // ---- the per-variant scan: protocol/mainwindow_scan.cpp ----
    void scanVariantStep(proto::Variant variant);
    void endVariantScan();

    // ---- the per-variant write: protocol/mainwindow_write.cpp ----
    void writeVariantStep(proto::Variant variant);
    void endVariantWrite(proto::Variant variant);

    // ---- the window's size on its screen: app/mainwindow_variantviews.cpp ----
    ScreenFit *screenFit = nullptr;

    // ---- progress of a running sequence in the status bar: app/mainwindow.cpp ----
    QProgressBar *progress = nullptr;
    void updateProgress();

    // ---- settings files: settings/mainwindow_settings.cpp ----
    // Fills the form from a loaded settings object; with
    // `traceLists` it writes the speed and mode debug lines.
    void fillForm(const class setting_module &s, bool traceLists);
    // Loads `currentFile` into the form. With no file chosen, or one that
    // cannot be read, it says so in a box and leaves the form as it is.
    void loadCurrentFile(bool traceLists);
};
