#pragma once

#include <QCoreApplication>
#include <QString>
#include <string>

// A text for a person (a refusal, the usage) in the language gateway-sim
// speaks (language.h), as the UTF-8 bytes it writes; `source` is marked
// QT_TRANSLATE_NOOP("gateway-sim", ...) where it is written, for lupdate.
// The log is not: its lines are read by programs, in English.
inline std::string personText(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

inline std::string personText(const char *source)
{
    return personText(QCoreApplication::translate("gateway-sim", source));
}

// The same with its %1.
inline std::string personText(const char *source, const std::string &argument)
{
    return personText(QCoreApplication::translate("gateway-sim", source).arg(QString::fromStdString(argument)));
}
