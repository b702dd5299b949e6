#include "systemwords.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "language.h"

namespace language {

namespace {

// The program's own words for each failure, for a person.
const struct {
    Failure failure;
    const char *words;
} ownWords[] = {
    {Failure::NoSuchPort, QT_TRANSLATE_NOOP("systemwords", "no such port")},
    {Failure::NotSerial, QT_TRANSLATE_NOOP("systemwords", "not a serial port")},
    {Failure::PortBusy,
     QT_TRANSLATE_NOOP("systemwords", "the port is busy with another program, or there is no access to it")},
    {Failure::NoSuchFile, QT_TRANSLATE_NOOP("systemwords", "no such file")},
    {Failure::Folder, QT_TRANSLATE_NOOP("systemwords", "a folder, not a file")},
    {Failure::NoAccess, QT_TRANSLATE_NOOP("systemwords", "no access")},
    {Failure::ConnectionRefused, QT_TRANSLATE_NOOP("systemwords", "connection refused")},
    {Failure::HostNotFound, QT_TRANSLATE_NOOP("systemwords", "host not found")},
    {Failure::ConnectionTimedOut, QT_TRANSLATE_NOOP("systemwords", "no answer within the time-out")},
    {Failure::AddressInUse, QT_TRANSLATE_NOOP("systemwords", "the port is taken by another program")},
    {Failure::AddressNotAvailable, QT_TRANSLATE_NOOP("systemwords", "the address is not one of this PC's")},
    {Failure::AddressProtected,
     QT_TRANSLATE_NOOP("systemwords", "no right to this port (ports below 1024 need the administrator's)")},
};

} // namespace

QString failureText(Failure failure, const QString &system)
{
    if (english())
        return system;
    for (const auto &own : ownWords)
        if (own.failure == failure)
            return QCoreApplication::translate("systemwords", own.words);
    return system;
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
