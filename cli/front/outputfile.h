#pragma once

#include <QCoreApplication>
#include <QString>

// A file a command writes when it is done (a batch's report, a scan's
// settings file, a plan), proven writable before anything is sent: its
// folder exists and takes a new file, the path is no folder nor device, and an
// existing file is replaced only when the user says --overwrite.
class OutputFile
{
    Q_DECLARE_TR_FUNCTIONS(OutputFile)

public:
    // Why `path` cannot be written, or an empty text.
    static QString fault(const QString &path, bool overwrite);
    // Writes `bytes` whole or not at all (through a temporary file renamed
    // into place). False with the reason.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);
};
