#pragma once

#include <QMargins>
#include <QMetaObject>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

class QMainWindow;
class QScreen;
class QScrollArea;

// Keeps a window of a fixed, designed size usable on its screen. Where the
// screen's available area holds the window with its frame, the window is
// fixed at exactly its designed size and nothing else changes. Where it does
// not (a small screen, a large scaling factor), the window is fixed at what
// the area holds, its central widget scrolls inside it at its designed size,
// and the window is moved fully onto the area. The window is fitted again
// when it moves to another screen and when its screen's size or scaling
// changes.
class ScreenFit : public QObject
{
public:
    explicit ScreenFit(QMainWindow *window);

    // Fixes the window at `size`, or at as much of it as the screen holds.
    // A window fixed at its size before it is first shown keeps that size as
    // its designed one.
    void setDesignedSize(const QSize &size);
    bool scrolls() const { return area != nullptr; }

    // What a window of the designed size becomes on an available area,
    // with `frame` the window system's frame around it and `scrollBar` the
    // width of a vertical scroll bar: the designed size and no scrolling
    // where it fits; otherwise capped to the area, as wide as the designed
    // size and a scroll bar where the area allows, and scrolling.
    struct Fit {
        QSize size;
        bool scrolls = false;
    };
    static Fit fit(const QSize &designed, const QRect &available, const QMargins &frame, int scrollBar);
    // Where a window's frame goes so that it lies on the available area,
    // moved as little as it can be (its top left corner first).
    static QPoint placed(const QRect &frame, const QRect &available);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();
    void follow(QScreen *screen);
    void scrollForm(bool on);

    QMainWindow *window = nullptr;
    QSize designed;
    QScrollArea *area = nullptr;
    // The window's screen, whose changes fit it again; null once that
    // screen is unplugged (the window moves to another: screenChanged).
    QPointer<QScreen> screen;
    QMetaObject::Connection screenChanged;
    bool applying = false;
    // The window is to be moved onto its screen once it is shown or its
    // frame is known.
    bool placePending = false;
};
