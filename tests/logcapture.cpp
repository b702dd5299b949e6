#include "logcapture.h"

namespace {
LogCapture *current = nullptr;
}

LogCapture::LogCapture(const QString &quietCategory)
    : quiet(quietCategory)
    , outer(current)
{
    current = this;
    previous = qInstallMessageHandler(&LogCapture::handle);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(previous);
    current = outer;
}

void LogCapture::handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    LogCapture *self = current;
    const QString category = QString::fromLatin1(context.category);
    self->lines.append({type, category, text});
    if (self->previous && (self->quiet.isEmpty() || category != self->quiet))
        self->previous(type, context, text);
}

QStringList LogCapture::texts(const QString &category) const
{
    QStringList out;
    for (const Line &l : lines)
        if (l.category == category)
            out << l.text;
    return out;
}

QStringList LogCapture::texts(const QString &category, QtMsgType type) const
{
    QStringList out;
    for (const Line &l : lines)
        if (l.category == category && l.type == type)
            out << l.text;
    return out;
}
