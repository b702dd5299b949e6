#pragma once
// Answers the program's modal windows, message boxes and file dialogs, as a
// user would, and records what each one showed.
//
// Each window takes the next of `steps`. When none is left, `choose` picks
// the answer if it is set; otherwise a box gets the button `answer` (its
// first button when that is empty) and any other window is closed. A
// Scripted answerer wants a step for every window: one that comes when none
// is left fails the test.
#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>

class Modals : public QObject
{
public:
    // What one modal window showed when it was answered.
    struct Seen {
        QString kind; // "file", "box" or "window"
        QString title;
        QString text;
        int icon = 0;
        QStringList buttons;
        bool hasParent = false;
        int acceptMode = -1;
        int fileMode = -1;
        QString filterShown;
        QString defaultSuffix;
        bool confirmsOverwrite = false;
    };
    // An answer to a window.
    using Step = std::function<void(QWidget *)>;
    enum Mode { AnswerAll, Scripted };

    explicit Modals(Mode mode = AnswerAll);

    QList<Step> steps;
    // Picks the answer when no step is left; an empty one leaves the window
    // open for now.
    std::function<Step(QWidget *)> choose;
    QString answer;
    // How long a window stays open before it is answered.
    int holdMs = 0;
    // Called while the window is still open, just before it is answered.
    std::function<void()> onModal;

    QVector<Seen> seen;
    int count() const { return seen.size(); }
    QStringList titles() const;

    // Types the path into the dialog's name field, as a user would (the
    // dialog's selectFile() leaves a focused name field alone).
    static Step chooseFile(const QString &path);
    // Opens the folder in the dialog, waits until its view lists `expected`
    // and records what it lists; then cancels.
    static Step listFolder(const QString &dir, const QStringList &expected, QStringList *listed);
    // Types a bare name into the dialog opened on `dir`.
    static Step typeName(const QString &dir, const QString &name);
    static Step cancel();
    static Step press(QMessageBox::StandardButton which);

private:
    void poll();
    Step byDefault(QWidget *window);
    const Mode mode;
    QTimer timer;
    QPointer<QWidget> pending;
    QElapsedTimer pendingSince;
    // The windows answered and not yet gone, and how long ago the last
    // answer went.
    QVector<QPointer<QWidget>> answered;
    QElapsedTimer lastAnswer;
};
