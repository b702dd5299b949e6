#pragma once

#include <QObject>
#include <QSet>
#include <QTimer>

#include "modbuscheck.h"
#include "modulevalues.h"
#include "options.h"

namespace cli {

// A frame of --verbose's trace: the time, HOST:PORT, > sent or < taken, its
// bytes in hexadecimal.
QString traceLine(const QString &where, bool sent, const QByteArray &frame);

// What gateway-cli prints of a network check. On a terminal it follows the
// check: the connection as it is made, each read's result as it comes (the
// read waiting shown until then), and with --repeat one line rewritten in
// place, the reads' summaries at the end. Anywhere else (a pipe, a file)
// the same text comes whole at the end; with --json nothing but the trace.
// --verbose traces each frame on stderr.
class CheckView : public QObject
{
    Q_OBJECT

public:
    CheckView(const ModbusCheck &check, const ModuleValues &module, const Common &common);

private:
    void onConnected();
    void onSent(int index);
    void onAnswered(int index);
    void onFinished();
    void drawRound();
    // Ends the line rewritten in place, if one is on the screen.
    void clearLive();

    const ModbusCheck &check;
    const ModuleValues module;
    const bool text;
    const bool live;
    bool connectionShown = false;
    bool lineShown = false; // a line without its end, to be rewritten
    int lastAnswered = -1;
    QSet<int> shown;
    QTimer redraw;
};

} // namespace cli
