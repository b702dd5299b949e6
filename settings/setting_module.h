#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include "parameterfile.h"
#include "protocoltables.h"

class QSettings;
class QWidget;

// One set of the thirteen module parameters of a settings file,
// held in memory and moved between memory and a `.TRset` file through
// QSettings in INI format. It knows nothing of the form.
class setting_module : public QObject
{
    Q_OBJECT

public:
    explicit setting_module(QObject *parent = nullptr);
    ~setting_module() override;

    QString moduleName;
    QString ipAddress;
    QString netMask;
    QString gateway;
    QString tcpPort;
    int rs485Speed;
    int stopBits;
    int parity;
    int tcpMode;
    QString responseTimeout;
    QString serverIp;
    QString tcpTimeout;
    QString rtuVirtualId;
    QString tcpSlaveId;
    QString fileName;
    QSettings *store;

    // The member that keeps one of the thirteen values: its text, or for
    // the four lists the position as an int.
    QVariant value(proto::Param p) const;
    void setValue(proto::Param p, const QVariant &value);

public slots:
    // The open dialog, then a load from the chosen file.
    void LoadNTSetting();
    // The save dialog, then a save to the chosen file; a cancelled dialog
    // writes nothing.
    void SaveNTSetting();
    void LoadNTSetting(QString FileName);
    // Sets the thirteen keys and synchronises the store at once. The file
    // was written when `store` is set and its status() is NoError. Nothing
    // is written and `store` stays null for an empty name (a cancelled
    // dialog) and for an existing file that the store cannot parse, which is
    // left as it is.
    void SaveNTSetting(QString FileName);
};

// The file dialogs of the settings commands (the file itself: parameterfile.h).
namespace settingsfile {

// Caption and filter of both dialogs.
QString dialogCaption();
QString filterText();

// The modal open and save dialogs of the settings menu: no parent, caption
// "Настройки", the filter "TCP_RTU settings (*.TRset);" shown as it reads
// with the pattern *.TRset in effect. The save dialog asks before replacing
// a file and adds ".TRset" to a name typed without an extension. Both
// return the chosen path, or the empty text when cancelled.
QString getOpenFileName();
QString getSaveFileName();

} // namespace settingsfile
