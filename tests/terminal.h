#pragma once
// What the tests of the network side share: the simulated module's TCP
// port from its log, a free port, and gateway-cli run on a terminal with
// the screen it leaves.
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTcpServer>

#include <sys/ioctl.h>

#include "cliprocess.h"
#include "ptyhelper.h"
#include "simprocess.h"

namespace support {

// The port of the simulated module's network side, from the last line of
// its log that names it (the port changes with each restart).
inline int tcpPort(const SimProcess &sim, const QString &kind = QStringLiteral("TCP-LISTEN"))
{
    int port = 0;
    static const QRegularExpression where(QStringLiteral("^127\\.0\\.0\\.1:(\\d+)"));
    for (const LogEvent &e : sim.events())
        if (e.kind == kind)
            port = where.match(e.rest).captured(1).toInt();
    return port;
}

// What a terminal shows after `bytes`: the lines as the cursor left them
// (carriage return, line feed, erase to the line's end, cursor up).
inline QStringList screenOf(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QStringList lines{QString()};
    int row = 0, col = 0;
    static const QRegularExpression escape(QStringLiteral("^\\x1b\\[(\\d*)([A-Za-z])"));
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\x1b')) {
            const QRegularExpressionMatch m = escape.match(text.mid(i));
            if (!m.hasMatch())
                continue;
            if (m.captured(2) == QLatin1String("K"))
                lines[row].truncate(col);
            else if (m.captured(2) == QLatin1String("A"))
                row = qMax(0, row - qMax(1, m.captured(1).toInt()));
            i += m.capturedLength() - 1;
        } else if (c == QLatin1Char('\r')) {
            col = 0;
        } else if (c == QLatin1Char('\n')) {
            col = 0;
            if (++row == lines.size())
                lines << QString();
        } else {
            QString &line = lines[row];
            if (line.size() <= col)
                line += QString(col - line.size() + 1, QLatin1Char(' '));
            line[col++] = c;
        }
    }
    return lines;
}

// gateway-cli with stdout and stderr on a terminal 200 columns wide: what
// it wrote there, and its exit status.
inline CliRun runCliOnTerminal(const QStringList &args)
{
    CliRun run;
    PtyDevice terminal;
    winsize size{};
    size.ws_col = 200;
    size.ws_row = 50;
    if (!terminal.isOpen() || ::ioctl(terminal.handle(), TIOCSWINSZ, &size) != 0)
        return run;
    QProcess p;
    p.setProgram(QStringLiteral(GATEWAY_CLI_PATH));
    p.setArguments(args);
    p.setStandardOutputFile(terminal.slavePath());
    p.setStandardErrorFile(terminal.slavePath());
    p.start();
    if (!p.waitForStarted(10000))
        return run;
    // Read as it goes, so that a full terminal never holds the program.
    for (int waited = 0; p.state() != QProcess::NotRunning && waited < 1200; ++waited) {
        p.waitForFinished(100);
        run.out += terminal.drain();
    }
    run.out += terminal.drain();
    if (p.state() == QProcess::NotRunning && p.exitStatus() == QProcess::NormalExit)
        run.status = p.exitCode();
    return run;
}

// A port that nothing listens at (the system's pick, let go at once).
inline int freePort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
}

} // namespace support
