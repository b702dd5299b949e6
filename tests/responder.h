#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>

#include "ptyhelper.h"

// A scripted module on a pseudo-terminal: takes each command line (what
// arrives before the line falls silent) and answers with the chunks that
// the script returns.
class Responder : public QObject
{
    Q_OBJECT
public:
    struct Chunk {
        int delayMs; // after the command, or after the previous chunk
        QByteArray bytes;
    };
    using Script = std::function<QList<Chunk>(const QByteArray &command)>;

    explicit Responder(Script script = {}, QObject *parent = nullptr);

    PtyDevice device;
    Script script;
    // Every command received.
    QByteArrayList commands;

    // The good module's reply value to each of its queries, in scan order.
    static const QList<QPair<QByteArray, QByteArray>> &values();
    // A module that answers every query with its values and every change
    // with "ok".
    static QList<Chunk> goodModule(const QByteArray &command);
    // A module that answers like the good one, except for a command that
    // starts with one of the keys of `replies`: it gets the chunks given
    // (none: no answer).
    static Script goodModuleExcept(const QList<QPair<QByteArray, QList<Chunk>>> &replies);

private:
    void poll();
    QTimer timer;
    QElapsedTimer clock;
    QByteArray pending;
    qint64 lastByteAt = 0;
};

class MainWindow;
namespace support {
// Connects the window to the scripted module.
bool connectTo(MainWindow &w, Responder &module);
} // namespace support
