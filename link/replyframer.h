#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QTimer>

// Takes the module's replies whole from a device it is handed, however the
// adapter splits them into deliveries. It never opens, closes or listens to
// the device: its owner tells it of each delivery.
//
// The module ends a reply to a query with its line end (LF or CR LF) and
// puts none inside it, so pending bytes that end with an LF are a whole
// reply; the acknowledgements ("ok", "?") have no line end and are whole
// once the line has been silent for GapMs, as is a reply that lost its line
// end. A device that never falls silent (noise on the line) must not grow a
// reply without end: MaxReplyBytes are taken at once.
class ReplyFramer : public QObject
{
    Q_OBJECT

public:
    static constexpr int GapMs = 50;
    static constexpr qint64 MaxReplyBytes = 64 * 1024;

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
