#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Text files as the PCs in this field save them: spreadsheets on Windows in
// Russian write "CSV" as Windows-1251 and "Unicode text" as UTF-16 with a
// byte order mark; others write UTF-8, with or without one.
class TextBytes
{
    Q_DECLARE_TR_FUNCTIONS(TextBytes)

public:
    enum class Encoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Windows1251 };

    struct Decoded {
        QString text;
        Encoding encoding = Encoding::Utf8;
    };

    // The text of a file's bytes: UTF-16 or UTF-8 by a byte order mark;
    // without one, UTF-8 where every byte sequence is UTF-8, else
    // Windows-1251 (whose every byte is a character).
    static Decoded decode(const QByteArray &bytes);
    // Where the bytes stop being UTF-8 (an overlong form or a surrogate is
    // no UTF-8 either), or -1 when they are UTF-8 throughout.
    static int notUtf8At(const QByteArray &bytes);
    // The encoding's name for a person: "UTF-8", "UTF-16LE", "Windows-1251".
    static QString nameOf(Encoding encoding);
};
