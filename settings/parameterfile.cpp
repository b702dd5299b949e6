#include "parameterfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

#include "protocoltables.h"

namespace settingsfile {

namespace {

// The store key of a file row: "KEY", or "Section/KEY" outside General.
QString storeKey(proto::Param p)
{
    const proto::Parameter &row = proto::parameter(p);
    const QString key = QLatin1String(row.key);
    return row.section ? QLatin1String(row.section) + QLatin1Char('/') + key : key;
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

} // namespace

std::unique_ptr<QSettings> open(const QString &fileName)
{
    auto store = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    // Settings files are UTF-8 text, whichever Qt the program is built with
    // (Qt 6 reads and writes nothing else); values that Qt 5 wrote as escapes
    // read the same either way.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    store->setIniCodec("UTF-8");
#endif
    return store;
}

bool contains(const QSettings &store, proto::Param p)
{
    return store.contains(storeKey(p));
}

QVariant read(const QSettings &store, proto::Param p)
{
    const bool list = proto::kindOf(p) == proto::Kind::Choice;
    return store.value(storeKey(p), list ? QVariant(0) : QVariant(QLatin1String("")));
}

std::unique_ptr<QSettings> save(const QString &fileName, const std::function<QVariant(proto::Param)> &value)
{
    // A cancelled save dialog: nothing reaches the disk.
    if (fileName.isEmpty())
        return nullptr;
    // The store merges its values into an existing file and drops the lines
    // that it cannot parse; such a file is left alone and no store opened.
    if (QFileInfo(fileName).isFile() && check(fileName) == Check::Malformed)
        return nullptr;

    removeAbandonedLock(fileName);
    std::unique_ptr<QSettings> store = open(fileName);
    if (store->status() != QSettings::NoError)
        return store;
    for (const proto::Param p : proto::order::file)
        store->setValue(storeKey(p), value(p));
    // QSettings writes through a temporary file that it renames over the
    // target, so the file is either the old one or the complete new one.
    store->sync();
    return store;
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
    std::unique_ptr<QSettings> parsed = open(copy.fileName());
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

bool ParameterFile::load(const QString &fileName, QString *error)
{
    switch (settingsfile::check(fileName)) {
    case settingsfile::Check::Ok:
        break;
    case settingsfile::Check::Missing:
        *error = QCoreApplication::translate("ParameterFile", "no such file");
        return false;
    case settingsfile::Check::Unreadable:
        *error = QCoreApplication::translate("ParameterFile", "cannot be read");
        return false;
    case settingsfile::Check::Malformed:
        *error = QCoreApplication::translate("ParameterFile", "not a settings file (INI text)");
        return false;
    }
    const std::unique_ptr<QSettings> store = settingsfile::open(fileName);
    bool any = false;
    for (const proto::Param p : proto::order::file) {
        present[int(p)] = settingsfile::contains(*store, p);
        values[int(p)] = settingsfile::read(*store, p);
        any = any || present[int(p)];
    }
    if (store->status() != QSettings::NoError) {
        *error = QCoreApplication::translate("ParameterFile", "cannot be read");
        return false;
    }
    if (!any) {
        *error = QCoreApplication::translate("ParameterFile", "holds none of the module's keys");
        return false;
    }
    return true;
}

bool ParameterFile::save(const QString &fileName, QString *error) const
{
    const std::unique_ptr<QSettings> store =
        settingsfile::save(fileName, [this](proto::Param p) { return value(p); });
    if (store && store->status() == QSettings::NoError)
        return true;
    *error = store ? QCoreApplication::translate("ParameterFile", "cannot be written") : QCoreApplication::translate("ParameterFile", "exists and is not a settings file (INI text)");
    return false;
}
