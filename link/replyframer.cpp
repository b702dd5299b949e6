#include "replyframer.h"

ReplyFramer::ReplyFramer(QIODevice *device, QObject *parent)
    : QObject(parent)
    , device(device)
{
    // A coarse timer: the gap is a silence, not a pace.
    gap->setSingleShot(true);
    gap->setInterval(GapMs);
    connect(gap, &QTimer::timeout, this, &ReplyFramer::takeNow);
}

void ReplyFramer::delivered()
{
    const QByteArray pending = device->peek(qMin(device->bytesAvailable(), MaxReplyBytes));
    if (pending.size() >= MaxReplyBytes || pending.endsWith('\n'))
        takeNow();
    else
        gap->start();
}

void ReplyFramer::takeNow()
{
    gap->stop();
    if (!device->isOpen())
        return;
    const QByteArray bytes = device->readAll();
    if (!bytes.isEmpty())
        emit replied(bytes);
}
