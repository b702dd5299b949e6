// One start-up for the benchmark: the program is started with the parent's
// CLOCK_MONOTONIC reading taken just before the start, shows its window, and
// once the event loop has run idle once prints the time since that reading
// (ns) and its peak memory (VmHWM, kB), then quits.
//
// Built three times: with BENCH_APP it starts the configurator as the
// program's main() does; with BENCH_FORM, the program's own generated
// form (setupUi with its style sheet) on a plain QMainWindow and nothing
// else, at the same fixed size: the floor that the configurator's start-up
// is held to; without either, an empty QMainWindow (the bare Qt Widgets
// program).
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <ctime>

#if defined(BENCH_APP)
#include "mainwindow.h"
#include "startup.h"
#elif defined(BENCH_FORM)
#include "ui_mainwindowform.h"
#endif

namespace {
long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

long long vmHwmKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Once the event loop has run idle, prints the time since t0 and the peak
// memory and quits. A zero timer runs once every event queued so far has
// been handled.
void reportWhenIdle(long long t0)
{
    QTimer::singleShot(0, qApp, [t0] {
        QTimer::singleShot(0, qApp, [t0] {
            std::printf("%lld %lld\n", nowNs() - t0, vmHwmKb());
            std::fflush(stdout);
            qApp->quit();
        });
    });
}
} // namespace

int main(int argc, char *argv[])
{
    const long long t0 = argc > 1 ? std::atoll(argv[1]) : nowNs();
#if defined(BENCH_APP)
    return runConfigurator(argc, argv, [t0](MainWindow &) { reportWhenIdle(t0); });
#else
    QApplication app(argc, argv);
    QMainWindow w;
#if defined(BENCH_FORM)
    Ui::MainWindowForm form;
    form.setupUi(&w);
    w.setFixedSize(550, 785);
#endif
    w.show();
    reportWhenIdle(t0);
    return app.exec();
#endif
}
