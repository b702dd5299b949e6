#include "portpath.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

QString PortPath::device(const QString &name)
{
#ifdef Q_OS_WIN
    QString port = name.trimmed();
    if (port.startsWith(QLatin1String("\\\\.\\")))
        port.remove(0, 4);
    return port.toUpper();
#else
    const QString path = name.contains(QLatin1Char('/')) ? QDir::current().absoluteFilePath(name)
                                                         : QStringLiteral("/dev/") + name;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
#endif
}

bool PortPath::exists(const QString &name)
{
#ifdef Q_OS_WIN
    Q_UNUSED(name);
    return true; // the port's own open tells
#else
    return QFileInfo::exists(device(name));
#endif
}

bool PortPath::notADevice(const QString &name)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    if (::stat(QFile::encodeName(device(name)).constData(), &info) != 0)
        return false;
    return !S_ISCHR(info.st_mode);
#else
    Q_UNUSED(name);
    return false;
#endif
}
