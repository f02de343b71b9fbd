// Answering modal message boxes, dialogs and menus from a timer, so GUI tests never block.
#include "tests/common/modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>

MessageBoxWatcher::MessageBoxWatcher(const QString &buttonText)
    : button(buttonText) {
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, &MessageBoxWatcher::poll);
    timer.start();
}

void MessageBoxWatcher::poll() {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("kaloAnswered").toBool())
        return;
    box->setProperty("kaloAnswered", true);
    titles << box->windowTitle();
    texts << box->text();
    QAbstractButton *target = box->defaultButton();
    if (!button.isEmpty()) {
        for (QAbstractButton *b : box->buttons())
            if (b->text() == button)
                target = b;
    }
    if (target)
        target->click();
    else
        box->reject();
}

DialogCloser::DialogCloser() {
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [this]() {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && !qobject_cast<QMessageBox *>(dialog)) {
            ++opened;
            dialog->reject();
        }
    });
    timer.start();
}

void whenModalShown(std::function<void(QWidget *)> action, int timeoutMs) {
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, timeoutMs]() {
        QWidget *w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        if ((w && w->isVisible()) || clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            if (w)
                action(w);
        }
    });
    timer->start();
}
