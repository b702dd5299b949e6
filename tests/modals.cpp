#include "modals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "window.h"

Modals::Modals(Mode mode)
    : mode(mode)
{
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [this] { poll(); });
    timer.start();
}

QStringList Modals::titles() const
{
    QStringList out;
    for (const Seen &s : seen)
        out << s.title;
    return out;
}

Modals::Step Modals::chooseFile(const QString &path)
{
    return typeName(QString(), path);
}

Modals::Step Modals::listFolder(const QString &dir, const QStringList &expected, QStringList *listed)
{
    return [=](QWidget *w) {
        auto *d = qobject_cast<QFileDialog *>(w);
        QVERIFY2(d, "not a file dialog");
        d->setDirectory(dir);
        auto *view = support::child<QListView>(*d, "listView");
        auto listing = [view] {
            QStringList names;
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < view->model()->rowCount(root); ++r)
                names << view->model()->index(r, 0, root).data().toString();
            names.sort();
            return names;
        };
        // What it lists is the caller's to check.
        static_cast<void>(QTest::qWaitFor([&] { return listing() == expected; }, 5000));
        // Give the file system model time to add anything late.
        QTest::qWait(200);
        *listed = listing();
        QMetaObject::invokeMethod(d, "reject", Qt::QueuedConnection);
    };
}

Modals::Step Modals::typeName(const QString &dir, const QString &name)
{
    return [dir, name](QWidget *w) {
        auto *d = qobject_cast<QFileDialog *>(w);
        QVERIFY2(d, "not a file dialog");
        if (!dir.isEmpty())
            d->setDirectory(dir);
        support::child<QLineEdit>(*d, "fileNameEdit")->setText(name);
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    };
}

Modals::Step Modals::cancel()
{
    return [](QWidget *w) { QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection); };
}

Modals::Step Modals::press(QMessageBox::StandardButton which)
{
    return [which](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY2(box, "not a message box");
        QAbstractButton *b = box->button(which);
        QVERIFY2(b, "no such button");
        QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection);
    };
}

Modals::Step Modals::byDefault(QWidget *window)
{
    if (auto *box = qobject_cast<QMessageBox *>(window)) {
        for (QAbstractButton *b : box->buttons())
            if (answer.isEmpty() || b->text() == answer)
                return [b](QWidget *) { QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection); };
        return cancel();
    }
    return [](QWidget *w) { QMetaObject::invokeMethod(w, "close", Qt::QueuedConnection); };
}

// Every answer is queued: a window that an answer opens in its turn (the
// question before a file is replaced) must find this poll free to run.
void Modals::poll()
{
    QWidget *w = QApplication::activeModalWidget();
    if (!w || !w->isVisible())
        return;
    // An answer is on its way, also to a window under the one answered
    // after it (the file dialog under its question before a file is
    // replaced, active again for a moment while the question closes); a
    // window still open a while after the last answer (a dialog that refused
    // the file) is answered again.
    answered.removeAll(QPointer<QWidget>());
    if (answered.contains(w) && lastAnswer.isValid() && lastAnswer.elapsed() < 100)
        return;
    if (w != pending) {
        pending = w;
        pendingSince.start();
    }
    if (pendingSince.elapsed() < holdMs)
        return;

    Seen s;
    s.kind = QStringLiteral("window");
    s.title = w->windowTitle();
    s.hasParent = w->parentWidget() != nullptr;
    if (auto *d = qobject_cast<QFileDialog *>(w)) {
        s.kind = QStringLiteral("file");
        s.acceptMode = d->acceptMode();
        s.fileMode = d->fileMode();
        s.defaultSuffix = d->defaultSuffix();
        s.confirmsOverwrite = !d->testOption(QFileDialog::DontConfirmOverwrite);
        if (auto *combo = d->findChild<QComboBox *>("fileTypeCombo"))
            s.filterShown = combo->currentText();
    } else if (auto *box = qobject_cast<QMessageBox *>(w)) {
        s.kind = QStringLiteral("box");
        s.text = box->text();
        s.icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            s.buttons << b->text();
    }

    Step step;
    if (!steps.isEmpty()) {
        step = steps.takeFirst();
    } else if (choose) {
        step = choose(w);
        if (!step)
            return;
    } else {
        if (mode == Scripted)
            QTest::qFail(qPrintable(QStringLiteral("a %1 came with no answer left: \"%2\" %3")
                                        .arg(s.kind, s.title, s.text)),
                         __FILE__, __LINE__);
        step = byDefault(w);
    }
    if (onModal)
        onModal();
    seen << s;
    pending = nullptr;
    step(w);
    if (!answered.contains(w))
        answered.append(w);
    lastAnswer.start();
}
