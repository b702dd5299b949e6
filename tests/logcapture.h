#pragma once
// Keeps the program's log messages while it lives, to be looked at by the
// test; each message also goes on to the handler that was there before,
// except those of the quiet category.
//
// Made inside the test functions (initTestCase, init, ...): QTest installs
// its own handler when the tests start.
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class LogCapture
{
public:
    struct Line {
        QtMsgType type;
        QString category;
        QString text;
    };

    explicit LogCapture(const QString &quietCategory = QString());
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QList<Line> lines;
    void clear() { lines.clear(); }
    // The texts of the category's messages, of every type or of one.
    QStringList texts(const QString &category) const;
    QStringList texts(const QString &category, QtMsgType type) const;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text);
    QString quiet;
    QtMessageHandler previous = nullptr;
    LogCapture *outer = nullptr;
};
