#include "console.h"

#include "textbytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>

#include <iterator>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QSocketNotifier>
#include <csignal>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace console {

namespace {

// Whether a write to stdout, or stderr, has failed: nothing more is written there.
bool outClosed = false;
bool errClosed = false;

#ifdef Q_OS_WIN
bool isConsole(HANDLE h)
{
    DWORD mode = 0;
    return h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode);
}

// False when the text could not be written.
bool write(DWORD which, FILE *stream, const QString &text)
{
    const HANDLE h = GetStdHandle(which);
    if (isConsole(h)) {
        std::fflush(stream);
        DWORD done = 0;
        return WriteConsoleW(h, reinterpret_cast<const wchar_t *>(text.utf16()), DWORD(text.size()), &done, nullptr);
    }
    const QByteArray bytes = text.toUtf8();
    const std::size_t n = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    return std::fflush(stream) == 0 && n == std::size_t(bytes.size());
}
#else
bool write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const std::size_t n = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    return std::fflush(stream) == 0 && n == std::size_t(bytes.size());
}
#endif

} // namespace

void out(const QString &text)
{
    if (outClosed || text.isEmpty())
        return;
#ifdef Q_OS_WIN
    outClosed = !write(STD_OUTPUT_HANDLE, stdout, text);
#else
    outClosed = !write(stdout, text);
#endif
}

void err(const QString &text)
{
    if (errClosed || text.isEmpty())
        return;
#ifdef Q_OS_WIN
    errClosed = !write(STD_ERROR_HANDLE, stderr, text);
#else
    errClosed = !write(stderr, text);
#endif
}

QStringList arguments(int argc, char **argv)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return QCoreApplication::arguments(); // wide text from the system
#else
    QStringList list;
    for (int i = 0; i < argc; ++i) {
        QByteArray rest(argv[i]);
        QString text;
        for (int bad = TextBytes::notUtf8At(rest); bad >= 0; bad = TextBytes::notUtf8At(rest)) {
            text += QString::fromUtf8(rest.left(bad)) + QChar(ushort(0xdc00 | uchar(rest[bad])));
            rest.remove(0, bad + 1);
        }
        list << text + QString::fromUtf8(rest);
    }
    return list;
#endif
}

QString outFile()
{
#ifdef Q_OS_WIN
    const HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
    if (h == INVALID_HANDLE_VALUE || h == nullptr || GetFileType(h) != FILE_TYPE_DISK)
        return QString();
    wchar_t path[MAX_PATH * 2];
    const DWORD n = GetFinalPathNameByHandleW(h, path, DWORD(std::size(path)), FILE_NAME_NORMALIZED);
    if (n == 0 || n >= std::size(path))
        return QString();
    QString name = QString::fromWCharArray(path, int(n));
    if (name.startsWith(QLatin1String("\\\\?\\")))
        name.remove(0, 4);
    return QDir::fromNativeSeparators(name);
#else
    struct stat info = {};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !S_ISREG(info.st_mode))
        return QString();
    return QFileInfo(QStringLiteral("/proc/self/fd/1")).symLinkTarget();
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
// Set once the program has done all it had to (Interrupts::programEnds()).
HANDLE programDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);

BOOL WINAPI consoleEvent(DWORD event)
{
    // Called on a thread of the system's: the event loop hears of it.
    QMetaObject::invokeMethod(Interrupts::instance(), "arrived", Qt::QueuedConnection);
    // The console closed, the user logging off, the system shutting down:
    // the system ends the program once this returns, so it returns only
    // once the program has stopped its ports and written its report (the
    // system's own time, a few seconds, ends the wait if that takes longer).
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(programDone, 20000);
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
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

void Interrupts::arrived()
{
#ifndef Q_OS_WIN
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
#endif
    if (++count > 1) {
        if (lastWords)
            lastWords();
        programEnds();
        std::_Exit(130);
    }
    emit interrupted();
}

void Interrupts::programEnds()
{
#ifdef Q_OS_WIN
    SetEvent(programDone);
#endif
}
