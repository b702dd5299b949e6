#include "modalscript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>

ModalScript::ModalScript()
{
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, this, [this] { poll(); });
    timer.start();
}

ModalScript::Step ModalScript::chooseFile(const QString &path)
{
    return [path](QWidget *w) {
        auto *d = qobject_cast<QFileDialog *>(w);
        QVERIFY(d);
        auto *edit = d->findChild<QLineEdit *>("fileNameEdit");
        QVERIFY(edit);
        edit->setText(path);
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    };
}

ModalScript::Step ModalScript::listFolder(const QString &dir, const QStringList &expected, QStringList *listed)
{
    return [=](QWidget *w) {
        auto *d = qobject_cast<QFileDialog *>(w);
        QVERIFY(d);
        d->setDirectory(dir);
        auto *view = d->findChild<QListView *>("listView");
        QVERIFY(view);
        auto listing = [view] {
            QStringList names;
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < view->model()->rowCount(root); ++r)
                names << view->model()->index(r, 0, root).data().toString();
            names.sort();
            return names;
        };
        QTest::qWaitFor([&] { return listing() == expected; }, 5000);
        // Give the file system model time to add anything late.
        QTest::qWait(200);
        *listed = listing();
        QMetaObject::invokeMethod(d, "reject", Qt::QueuedConnection);
    };
}

ModalScript::Step ModalScript::typeName(const QString &dir, const QString &name)
{
    return [dir, name](QWidget *w) {
        auto *d = qobject_cast<QFileDialog *>(w);
        QVERIFY(d);
        d->setDirectory(dir);
        auto *edit = d->findChild<QLineEdit *>("fileNameEdit");
        QVERIFY(edit);
        edit->setText(name);
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
    };
}

ModalScript::Step ModalScript::cancel()
{
    return [](QWidget *w) { QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection); };
}

ModalScript::Step ModalScript::press(QMessageBox::StandardButton which)
{
    return [which](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box);
        QAbstractButton *b = box->button(which);
        QVERIFY(b);
        QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection);
    };
}

void ModalScript::poll()
{
    QWidget *w = QApplication::activeModalWidget();
    if (!w || w->property("answered").toBool() || !w->isVisible())
        return;
    w->setProperty("answered", true);
    Seen s;
    s.title = w->windowTitle();
    s.hasParent = w->parentWidget() != nullptr;
    if (auto *d = qobject_cast<QFileDialog *>(w)) {
        s.kind = "file";
        s.acceptMode = d->acceptMode();
        s.fileMode = d->fileMode();
        s.nameFilters = d->nameFilters();
        s.defaultSuffix = d->defaultSuffix();
        s.confirmsOverwrite = !d->testOption(QFileDialog::DontConfirmOverwrite);
        if (auto *combo = d->findChild<QComboBox *>("fileTypeCombo"))
            s.filterShown = combo->currentText();
    } else if (auto *box = qobject_cast<QMessageBox *>(w)) {
        s.kind = "box";
        s.text = box->text();
    }
    seen << s;
    if (steps.isEmpty()) {
        ++unexpected;
        QMetaObject::invokeMethod(w, "close", Qt::QueuedConnection);
        return;
    }
    steps.takeFirst()(w);
}
