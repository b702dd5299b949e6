#include "checkview.h"

#include <QTime>

#include "checkreport.h"
#include "console.h"

namespace cli {

namespace {

// Clears the cursor's line from its start.
const QString clearLine = QStringLiteral("\r\x1b[K");

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

QString traceLine(const QString &where, bool sent, const QByteArray &frame)
{
    return QStringLiteral("%1 %2 %3 %4\n")
        .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")), where, QLatin1String(sent ? ">" : "<"),
             hexBytes(frame));
}

CheckView::CheckView(const ModbusCheck &check, const ModuleValues &module, const Common &common)
    : check(check)
    , module(module)
    , text(!common.json)
    , live(!common.json && console::canRewrite(false))
{
    if (common.verbose) {
        const QString where = QStringLiteral("%1:%2").arg(check.host()).arg(check.port());
        connect(&check, &ModbusCheck::traffic, this,
                [where](bool sent, const QByteArray &frame) { console::err(traceLine(where, sent, frame)); });
    }
    connect(&check, &ModbusCheck::finished, this, &CheckView::onFinished);
    if (!live)
        return;
    connect(&check, &ModbusCheck::connected, this, &CheckView::onConnected);
    connect(&check, &ModbusCheck::sent, this, &CheckView::onSent);
    connect(&check, &ModbusCheck::answered, this, &CheckView::onAnswered);
    // With --repeat a round may take a fraction of a millisecond: the line
    // is drawn at most ten times a second.
    redraw.setSingleShot(true);
    redraw.setInterval(100);
    connect(&redraw, &QTimer::timeout, this, &CheckView::drawRound);
}

void CheckView::onConnected()
{
    connectionShown = true;
    console::out(checkreport::connectionText(check, module));
}

void CheckView::onSent(int index)
{
    if (check.repeat() > 1 || shown.contains(index))
        return;
    const checkargs::Read &read = check.result().answers[index].read;
    console::out(cli::tr("unit %1 %2: waiting for the reply...").arg(read.unit).arg(checkargs::readText(read)));
    lineShown = true;
}

void CheckView::onAnswered(int index)
{
    if (check.repeat() > 1) {
        lastAnswered = index;
        if (!redraw.isActive())
            redraw.start();
        return;
    }
    clearLive();
    shown.insert(index);
    console::out(checkreport::answerText(check, index, module));
}

void CheckView::drawRound()
{
    if (lastAnswered < 0)
        return;
    console::out(clearLine + checkreport::roundText(check, lastAnswered).left(console::width(false) - 1));
    lineShown = true;
}

void CheckView::clearLive()
{
    if (lineShown)
        console::out(clearLine);
    lineShown = false;
}

void CheckView::onFinished()
{
    redraw.stop();
    if (!text)
        return;
    clearLive();
    QString out;
    if (!connectionShown)
        out += checkreport::connectionText(check, module);
    if (check.result().connected)
        for (int i = 0; i < check.result().answers.size(); ++i)
            if (!shown.contains(i))
                out += checkreport::answerText(check, i, module);
    console::out(out + checkreport::endText(check));
}

} // namespace cli
