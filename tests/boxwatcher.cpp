#include "boxwatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QTest>

BoxWatcher::BoxWatcher(QObject *parent)
    : QObject(parent)
{
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, &BoxWatcher::poll);
    timer.start();
}

void BoxWatcher::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    if (box != pending) {
        pending = box;
        seenAt = QDateTime::currentMSecsSinceEpoch();
    }
    if (QDateTime::currentMSecsSinceEpoch() - seenAt < holdMs)
        return;
    Box b;
    b.title = box->windowTitle();
    b.text = box->text();
    b.icon = box->icon();
    QAbstractButton *press = nullptr;
    for (QAbstractButton *button : box->buttons()) {
        b.buttons << button->text();
        if (!press && (answer.isEmpty() || button->text() == answer))
            press = button;
    }
    if (onBox)
        onBox(b);
    boxes.append(b);
    pending = nullptr;
    if (press)
        press->click();
    else
        box->reject();
}

bool BoxWatcher::waitForCount(int n, int ms)
{
    return QTest::qWaitFor([&] { return boxes.size() >= n; }, ms);
}
