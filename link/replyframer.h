#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QTimer>

// Takes the module's replies whole from a device it is handed, however the
// adapter splits them into deliveries: at the reply's line end, or once the
// line has been silent for the gap (the acknowledgements "ok" and "?" have
// no line end; lines.h). It never opens, closes or listens to the device:
// its owner tells it of each delivery.
class ReplyFramer : public QObject
{
    Q_OBJECT

public:
    explicit ReplyFramer(QIODevice *device, QObject *parent = nullptr);

    // Bytes were delivered: a whole reply is taken now, else when the gap ends.
    void delivered();
    // Whatever is pending is taken as the reply now, whole or not.
    void takeNow();
    // The gap forgotten: nothing is taken when it would have ended.
    void cancel() { gap->stop(); }

signals:
    // A reply, never empty; the device was open when it was read.
    void replied(const QByteArray &reply);

private:
    QIODevice *device = nullptr;
    // A child, so that the gap is found among its owner's timers.
    QTimer *gap = new QTimer(this);
};
