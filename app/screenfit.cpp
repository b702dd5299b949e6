#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QWindow>

#include <algorithm>

ScreenFit::ScreenFit(QMainWindow *window) : QObject(window), window(window)
{
    window->installEventFilter(this);
}

void ScreenFit::setDesignedSize(const QSize &size)
{
    designed = size;
    window->setFixedSize(size);
    placePending = true;
    apply();
}

ScreenFit::Fit ScreenFit::fit(const QSize &designed, const QRect &available, const QMargins &frame, int scrollBar)
{
    const QSize room = available.size().shrunkBy(frame);
    if (designed.width() <= room.width() && designed.height() <= room.height())
        return {designed, false};
    const int width = designed.height() > room.height() ? designed.width() + scrollBar : designed.width();
    return {QSize(std::min(width, room.width()), std::min(designed.height(), room.height())), true};
}

QPoint ScreenFit::placed(const QRect &frame, const QRect &available)
{
    const int x = std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
    const int y = std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
    return {x, y};
}

bool ScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        if (!designed.isValid() && window->minimumSize() == window->maximumSize())
            designed = window->minimumSize();
        if (!screenChanged && window->windowHandle())
            screenChanged = connect(window->windowHandle(), &QWindow::screenChanged, this, [this](QScreen *s) {
                follow(s);
                placePending = true;
                apply();
            });
        follow(window->windowHandle() ? window->windowHandle()->screen() : nullptr);
        placePending = true;
        apply();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        // The window system's frame around the window is known only once the
        // window is on the screen.
        apply();
        break;
    default:
        break;
    }
    return false;
}

void ScreenFit::follow(QScreen *s)
{
    if (s == screen)
        return;
    if (screen)
        screen->disconnect(this);
    screen = s;
    if (!screen)
        return;
    const auto refit = [this] {
        placePending = true;
        apply();
    };
    connect(screen, &QScreen::availableGeometryChanged, this, refit);
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, refit);
    connect(screen, &QScreen::physicalDotsPerInchChanged, this, refit);
}

void ScreenFit::apply()
{
    if (applying || !designed.isValid() || !window->isVisible() || !screen)
        return;
    // Offscreen rendering (the tests, the screenshots) has a placeholder
    // screen and nothing to cut off: the window keeps its designed size.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    applying = true;
    const QRect available = screen->availableGeometry();
    const QMargins frame = window->windowHandle()->frameMargins();
    const Fit f = fit(designed, available, frame,
                      window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window));
    scrollForm(f.scrolls);
    if (window->minimumSize() != f.size || window->maximumSize() != f.size) {
        window->setFixedSize(f.size);
        placePending = true;
    }
    if (placePending && f.scrolls) {
        const QRect frameRect(window->frameGeometry().topLeft(), f.size.grownBy(frame));
        const QPoint to = placed(frameRect, available);
        if (to != frameRect.topLeft())
            window->move(to);
    }
    // Until the window system has put its frame around the window, where the
    // window lies is not yet known.
    if (!frame.isNull() || !f.scrolls)
        placePending = false;
    applying = false;
}

void ScreenFit::scrollForm(bool on)
{
    if (on == scrolls())
        return;
    // The window stays fixed: no grip that offers to resize it, which the
    // status bar may show while the fixed size changes.
    window->statusBar()->setSizeGripEnabled(!on);
    if (on) {
        // The form keeps the size it has in the window of the designed size.
        const int bars = (window->menuWidget() ? window->menuWidget()->sizeHint().height() : 0)
            + window->statusBar()->sizeHint().height();
        QWidget *form = window->takeCentralWidget();
        form->setMinimumSize(designed.width(), designed.height() - bars);
        area = new QScrollArea(window);
        area->setObjectName(QStringLiteral("formScrollArea"));
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        // Not a stop of its own for the Tab key: the form's order stays.
        area->setFocusPolicy(Qt::NoFocus);
        area->setWidget(form);
        window->setCentralWidget(area);
    } else {
        QWidget *form = area->takeWidget();
        form->setMinimumSize(0, 0);
        window->setCentralWidget(form); // deletes the scroll area
        area = nullptr;
    }
}
