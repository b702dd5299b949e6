#pragma once
// Answers the modal windows in turn, each with the next step of a script,
// and records what it saw of each one: file dialogs and boxes alike. (For
// boxes answered the same way each time, see BoxWatcher.)
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>

class ModalScript : public QObject
{
public:
    // What the script saw of one modal window.
    struct Seen {
        QString kind; // "file" or "box"
        QString title;
        QString text;
        bool hasParent = false;
        int acceptMode = -1;
        int fileMode = -1;
        QString filterShown;
        QStringList nameFilters;
        QString defaultSuffix;
        bool confirmsOverwrite = false;
    };
    using Step = std::function<void(QWidget *)>;

    ModalScript();

    QList<Step> steps;
    QVector<Seen> seen;
    // Modal windows that came when no step was left; they are closed.
    int unexpected = 0;

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
    QTimer timer;
};
