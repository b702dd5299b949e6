#include "setting_module.h"

#include "protocoltables.h"

#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>
#include <QVariant>

#include <memory>

namespace {

// Where each value of a settings file lives in the object: a text member,
// or for the four lists a position member; the parameter table names it.
struct Member {
    QString setting_module::*text = nullptr;
    int setting_module::*position = nullptr;
};
Member bind(QString setting_module::*text) { return {text, nullptr}; }
Member bind(int setting_module::*position) { return {nullptr, position}; }

Member memberOf(proto::Param p)
{
    switch (p) {
#define GATEWAY_FILE_MEMBER(name, member, ...)                                                                        \
    case proto::Param::name:                                                                                          \
        return bind(&setting_module::member);
#define GATEWAY_NO_MEMBER(name, ...)                                                                                  \
    case proto::Param::name:                                                                                          \
        break;
        GATEWAY_PARAMETERS(GATEWAY_FILE_MEMBER, GATEWAY_NO_MEMBER)
#undef GATEWAY_FILE_MEMBER
#undef GATEWAY_NO_MEMBER
    }
    Q_UNREACHABLE(); // a parameter that only the module supplies is kept in no file
    return {};
}

// The store key of a file row: "KEY", or "Section/KEY" outside General.
QString storeKey(const proto::Parameter &row)
{
    const QString key = QLatin1String(row.key);
    return row.section ? QLatin1String(row.section) + QLatin1Char('/') + key : key;
}

// The filter as Qt's own dialog can parse it: the pattern is taken only from
// a filter text that ends with the closing parenthesis.
const QString parsableFilter = QStringLiteral("TCP_RTU settings (*.TRset)");

void prepareDialog(QFileDialog &dialog)
{
    dialog.setNameFilter(settingsfile::filterText());
    // Qt's own dialog (as opposed to a platform dialog, which reads the
    // pattern inside the parentheses itself) finds no pattern in the filter
    // text because of its trailing ';' and would show only files named
    // "TCP_RTU", "settings" or "(*.TRset);". It filters with the parsable
    // text and shows the filter as the program spells it.
    if (auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
        dialog.setNameFilter(parsableFilter);
        if (combo->count() == 1)
            combo->setItemText(0, settingsfile::filterText());
    }
}

// A save killed at the wrong moment can leave an empty lock file beside the
// settings file; the store would wait for it for half a minute before taking
// it for stale. The store writes its process id into the lock as soon as it
// creates it, so an empty lock that is a few seconds old is abandoned.
void removeAbandonedLock(const QString &fileName)
{
    const QString lockName = QFileInfo(fileName).absoluteFilePath() + QStringLiteral(".lock");
    const QFileInfo lock(lockName);
    if (lock.isFile() && lock.size() == 0
        && lock.lastModified().msecsTo(QDateTime::currentDateTime()) > 2000)
        QFile::remove(lockName);
}

// Settings files are UTF-8 text, whichever Qt the program is built with
// (Qt 6 reads and writes nothing else); values that Qt 5 wrote as escapes
// read the same either way.
QSettings *openStore(const QString &fileName)
{
    auto *store = new QSettings(fileName, QSettings::IniFormat);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    store->setIniCodec("UTF-8");
#endif
    return store;
}

QString runDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

} // namespace

setting_module::setting_module(QObject *parent)
    : QObject(parent)
    , moduleName()
    , ipAddress(QLatin1String(""))
    , netMask(QLatin1String(""))
    , gateway(QLatin1String(""))
    , tcpPort(QLatin1String(""))
    , rs485Speed(0)
    , stopBits(0)
    , parity(0)
    , tcpMode(0)
    , responseTimeout(QLatin1String(""))
    , serverIp(QLatin1String(""))
    , tcpTimeout(QLatin1String(""))
    , rtuVirtualId(QLatin1String(""))
    , tcpSlaveId(QLatin1String(""))
    , fileName(QLatin1String(""))
    , store(nullptr)
{
}

setting_module::~setting_module()
{
    delete store;
}

void setting_module::LoadNTSetting()
{
    fileName = settingsfile::getOpenFileName();
    LoadNTSetting(fileName);
}

void setting_module::SaveNTSetting()
{
    fileName = settingsfile::getSaveFileName();
    SaveNTSetting(fileName);
}

void setting_module::LoadNTSetting(QString FileName)
{
    delete store;
    store = openStore(FileName);

    for (const proto::Param p : proto::order::file) {
        const bool list = proto::kindOf(p) == proto::Kind::Choice;
        setValue(p, store->value(storeKey(proto::parameter(p)), list ? QVariant(0) : QVariant(QLatin1String(""))));
    }
}

void setting_module::SaveNTSetting(QString FileName)
{
    delete store;
    store = nullptr;
    // A cancelled save dialog: nothing reaches the disk.
    if (FileName.isEmpty())
        return;

    // The store merges its values into an existing file and drops the lines
    // that it cannot parse; such a file is left alone and no store opened.
    if (QFileInfo(FileName).isFile()
            && settingsfile::check(FileName) == settingsfile::Check::Malformed)
        return;

    removeAbandonedLock(FileName);
    store = openStore(FileName);
    if (store->status() != QSettings::NoError)
        return;

    for (const proto::Param p : proto::order::file)
        store->setValue(storeKey(proto::parameter(p)), value(p));
    // QSettings writes through a temporary file that it renames over the
    // target, so the file is either the old one or the complete new one.
    store->sync();
}

QVariant setting_module::value(proto::Param p) const
{
    const Member &m = memberOf(p);
    return m.text ? QVariant(this->*m.text) : QVariant(this->*m.position);
}

void setting_module::setValue(proto::Param p, const QVariant &value)
{
    const Member &m = memberOf(p);
    if (m.text)
        this->*m.text = value.toString();
    else
        this->*m.position = value.toInt();
}

namespace settingsfile {

QString dialogCaption()
{
    return QStringLiteral("Настройки");
}

QString filterText()
{
    return parsableFilter + QLatin1Char(';');
}

QString getOpenFileName()
{
    QFileDialog dialog(nullptr, dialogCaption(), QString());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    prepareDialog(dialog);
    return runDialog(dialog);
}

QString getSaveFileName()
{
    QFileDialog dialog(nullptr, dialogCaption(), QString());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("TRset"));
    prepareDialog(dialog);
    return runDialog(dialog);
}

Check check(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return Check::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return Check::Unreadable;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Check::Unreadable;

    // QSettings shares parsed files between its objects and does not parse
    // an unchanged file again, so its status for the file itself may not
    // report a format error. A private copy is parsed afresh, completely.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(data) != data.size() || !copy.flush())
        return Check::Unreadable;
    copy.close();
    std::unique_ptr<QSettings> parsed(openStore(copy.fileName()));
    parsed->allKeys();
    switch (parsed->status()) {
    case QSettings::NoError:
        return Check::Ok;
    case QSettings::FormatError:
        return Check::Malformed;
    default:
        return Check::Unreadable;
    }
}

} // namespace settingsfile
