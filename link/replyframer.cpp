#include "replyframer.h"

#include "lines.h"

ReplyFramer::ReplyFramer(QIODevice *device, QObject *parent)
    : QObject(parent)
    , device(device)
{
    // A coarse timer: the gap is a silence, not a pace.
    gap->setSingleShot(true);
    gap->setInterval(proto::ReplyGapMs);
    connect(gap, &QTimer::timeout, this, &ReplyFramer::takeNow);
}

void ReplyFramer::delivered()
{
    if (proto::replyComplete(device->peek(qMin(device->bytesAvailable(), proto::MaxReplyBytes))))
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
