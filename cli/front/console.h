#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// The console: what the program prints, and Ctrl+C.
namespace console {

// Text on stdout and stderr, exactly as given (no line end added): UTF-8,
// whatever the locale; in a Windows console, the console's own wide text,
// so that "C:\Users\Инженер" reads right there and in a file alike. Once a
// write fails (the reader of a pipe has gone, the terminal was closed),
// nothing more is written there: the printing stops, never the work.
void out(const QString &text);
void err(const QString &text);
// The program's arguments: on Unix each byte that is not UTF-8 kept as the
// character U+DC00 + byte, so that a message can show it as it was
// (cli::shown()), not as a stand-in character.
QStringList arguments(int argc, char **argv);
// The file stdout writes to (a command's output redirected into it), or an
// empty text for a terminal, a pipe or what cannot be told.
QString outFile();
// Whether stdout, or stderr, is a terminal (a console on Windows).
bool outIsTerminal();
bool errIsTerminal();
// Whether the terminal of stdout, or stderr, moves its cursor on the ANSI
// sequences (switched on where Windows needs it); its width in columns.
bool canRewrite(bool err);
int width(bool err);

} // namespace console

// Ctrl+C, and whatever else ends a program from outside, as a signal in the
// event loop: on Unix SIGINT, SIGTERM and SIGHUP (the terminal closed); on
// Windows Ctrl+C, Ctrl+Break, the console closed, the user logging off and
// the system shutting down. The first one is the program's to act on; a
// second one ends the program at once, after its last words. SIGPIPE is
// ignored: a write to a pipe whose reader has gone fails instead (console
// stops printing there).
class Interrupts : public QObject
{
    Q_OBJECT

public:
    // The one object, catching the signals from its first use on.
    static Interrupts *instance();
    bool seen() const { return count > 0; }
    // What must still be done when a second interrupt ends the program at
    // once (a report written as it stands); called on the program's thread.
    void setLastWords(std::function<void()> words) { lastWords = std::move(words); }
    // The program has done everything it had to: on Windows the console's
    // closing, which ends the program once its handler returns, waits for
    // this (for as long as the system gives it).
    static void programEnds();

signals:
    void interrupted();

private:
    Interrupts();
    Q_INVOKABLE void arrived();
    int count = 0;
    std::function<void()> lastWords;
};
