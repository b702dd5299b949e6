#include "console.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QSocketNotifier>
#include <csignal>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace console {

namespace {

#ifdef Q_OS_WIN
bool isConsole(HANDLE h)
{
    DWORD mode = 0;
    return h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode);
}

void write(DWORD which, FILE *stream, const QString &text)
{
    const HANDLE h = GetStdHandle(which);
    if (isConsole(h)) {
        std::fflush(stream);
        DWORD done = 0;
        WriteConsoleW(h, reinterpret_cast<const wchar_t *>(text.utf16()), DWORD(text.size()), &done, nullptr);
        return;
    }
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}
#else
void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}
#endif

} // namespace

void out(const QString &text)
{
#ifdef Q_OS_WIN
    write(STD_OUTPUT_HANDLE, stdout, text);
#else
    write(stdout, text);
#endif
}

void err(const QString &text)
{
#ifdef Q_OS_WIN
    write(STD_ERROR_HANDLE, stderr, text);
#else
    write(stderr, text);
#endif
}

bool outIsTerminal()
{
#ifdef Q_OS_WIN
    return isConsole(GetStdHandle(STD_OUTPUT_HANDLE));
#else
    return isatty(STDOUT_FILENO);
#endif
}

bool errIsTerminal()
{
#ifdef Q_OS_WIN
    return isConsole(GetStdHandle(STD_ERROR_HANDLE));
#else
    return isatty(STDERR_FILENO);
#endif
}

bool canRewrite(bool err)
{
#ifdef Q_OS_WIN
    const HANDLE h = GetStdHandle(err ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!isConsole(h) || !GetConsoleMode(h, &mode))
        return false;
    // ENABLE_VIRTUAL_TERMINAL_PROCESSING: consoles before Windows 10 refuse it.
    return SetConsoleMode(h, mode | 0x0004);
#else
    return err ? errIsTerminal() : outIsTerminal();
#endif
}

int width(bool err)
{
#ifdef Q_OS_WIN
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(err ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size = {};
    if (ioctl(err ? STDERR_FILENO : STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return 80;
}

} // namespace console

namespace {

#ifdef Q_OS_WIN
BOOL WINAPI consoleEvent(DWORD)
{
    // Called on a thread of the system's: the event loop hears of it.
    QMetaObject::invokeMethod(Interrupts::instance(), "arrived", Qt::QueuedConnection);
    return TRUE;
}
#else
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}
#endif

} // namespace

Interrupts *Interrupts::instance()
{
    static Interrupts *one = new Interrupts;
    return one;
}

Interrupts::Interrupts()
    : QObject(QCoreApplication::instance())
{
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(consoleEvent, TRUE);
#else
    // The handler only writes a byte; the loop reads it.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &Interrupts::arrived);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

void Interrupts::arrived()
{
#ifndef Q_OS_WIN
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
#endif
    if (++count > 1)
        std::_Exit(130);
    emit interrupted();
}
