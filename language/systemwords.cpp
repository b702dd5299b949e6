#include "systemwords.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "language.h"

namespace language {

namespace {

const char *ownWords(Failure failure)
{
    switch (failure) {
    case Failure::NoSuchPort:
        return QT_TRANSLATE_NOOP("systemwords", "no such port");
    case Failure::NotSerial:
        return QT_TRANSLATE_NOOP("systemwords", "not a serial port");
    case Failure::PortBusy:
        return QT_TRANSLATE_NOOP("systemwords", "the port is busy with another program, or there is no access to it");
    case Failure::NoSuchFile:
        return QT_TRANSLATE_NOOP("systemwords", "no such file");
    case Failure::Folder:
        return QT_TRANSLATE_NOOP("systemwords", "a folder, not a file");
    case Failure::NoAccess:
        return QT_TRANSLATE_NOOP("systemwords", "no access");
    case Failure::ConnectionRefused:
        return QT_TRANSLATE_NOOP("systemwords", "connection refused");
    case Failure::HostNotFound:
        return QT_TRANSLATE_NOOP("systemwords", "host not found");
    case Failure::ConnectionTimedOut:
        return QT_TRANSLATE_NOOP("systemwords", "no answer within the time-out");
    case Failure::AddressInUse:
        return QT_TRANSLATE_NOOP("systemwords", "the port is taken by another program");
    case Failure::AddressNotAvailable:
        return QT_TRANSLATE_NOOP("systemwords", "the address is not one of this PC's");
    case Failure::AddressProtected:
        return QT_TRANSLATE_NOOP("systemwords", "no right to this port (ports below 1024 need the administrator's)");
    }
    return nullptr;
}

} // namespace

QString failureText(Failure failure, const QString &system)
{
    const char *own = ownWords(failure);
    if (english() || !own)
        return system;
    return QCoreApplication::translate("systemwords", own);
}

QString fileFailureText(const QString &path, const QString &system)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failureText(Failure::NoSuchFile, system);
    if (info.isDir())
        return failureText(Failure::Folder, system);
    if (!info.isReadable())
        return failureText(Failure::NoAccess, system);
    return system;
}

} // namespace language
