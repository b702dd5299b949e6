#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>

// Answers the application's modal message boxes the way a user would, and
// remembers what each one said.
class BoxWatcher : public QObject
{
    Q_OBJECT
public:
    struct Box {
        QString title;
        QString text;
        int icon = 0;
        QStringList buttons;
    };

    explicit BoxWatcher(QObject *parent = nullptr);

    // Text of the button to press; empty presses the first button (OK).
    QString answer;
    // How long a box stays open before it is answered.
    int holdMs = 0;

    // Called while the box is still open, just before it is answered.
    std::function<void(const Box &)> onBox;

    QVector<Box> boxes;
    int count() const { return boxes.size(); }
    // Waits until `n` boxes in all have been answered.
    bool waitForCount(int n, int ms = 5000);

private:
    void poll();
    QTimer timer;
    QWidget *pending = nullptr;
    qint64 seenAt = 0;
};
