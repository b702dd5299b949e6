#pragma once

#include <QObject>
#include <QString>

// The console: what the program prints, and Ctrl+C.
namespace console {

// Text on stdout and stderr, exactly as given (no line end added): UTF-8,
// whatever the locale; in a Windows console, the console's own wide text,
// so that "C:\Users\Инженер" reads right there and in a file alike.
void out(const QString &text);
void err(const QString &text);
// Whether stdout, or stderr, is a terminal (a console on Windows).
bool outIsTerminal();
bool errIsTerminal();
// Whether the terminal of stdout, or stderr, moves its cursor on the ANSI
// sequences (switched on where Windows needs it); its width in columns.
bool canRewrite(bool err);
int width(bool err);

} // namespace console

// Ctrl+C (SIGINT or SIGTERM; Ctrl+C, Ctrl+Break or the console closed on
// Windows) as a signal in the event loop. The first one is the program's to
// act on; a second one ends the program at once.
class Interrupts : public QObject
{
    Q_OBJECT

public:
    // The one object, catching the signals from its first use on.
    static Interrupts *instance();
    bool seen() const { return count > 0; }

signals:
    void interrupted();

private:
    Interrupts();
    Q_INVOKABLE void arrived();
    int count = 0;
};
