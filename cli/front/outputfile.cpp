#include "outputfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include "systemwords.h"

QString OutputFile::fault(const QString &path, bool overwrite)
{
    const QFileInfo info(path);
    if (info.isDir())
        return tr("%1: a folder; name the file in it").arg(path);
    // A device or a link to one (/dev/null): the file put in its place
    // would replace the device's node, for root.
    if (info.exists() && !info.isFile())
        return tr("%1: not a file (a device?); name a file").arg(path);
    if (!info.absoluteDir().exists())
        return tr("%1: no such folder").arg(info.absolutePath());
    if (info.exists() && !overwrite)
        return tr("%1: the file exists (--overwrite replaces it)").arg(path);
    // Proven by making a file beside it: permission bits say yes to root
    // everywhere, and nothing of a read-only or full disk.
    QTemporaryFile probe(info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    if (!probe.open())
        return tr("%1: no file can be made in %2: %3")
            .arg(path, info.absolutePath(),
                 QFileInfo(info.absolutePath()).isWritable()
                     ? probe.errorString()
                     : language::failureText(language::Failure::NoAccess, probe.errorString()));
    return QString();
}

bool OutputFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
