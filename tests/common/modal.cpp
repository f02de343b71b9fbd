// Answering modal message boxes, dialogs and menus from a timer, so widget tests never block.
#include "tests/common/modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

MessageBoxWatcher::MessageBoxWatcher(const QString &buttonText)
    : button(buttonText) {
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, [this] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        titles << box->windowTitle();
        texts << box->text();
        if (button == QLatin1String("Escape"))
            return QTest::keyClick(box, Qt::Key_Escape);
        QAbstractButton *target = box->defaultButton();
        for (QAbstractButton *b : box->buttons())
            if (!button.isEmpty() && b->text() == button)
                target = b;
        target ? target->click() : box->reject();
    });
    timer.start();
}

void whenModalShown(std::function<void(QWidget *)> action, const char *className, int timeoutMs) {
    auto *timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, className, timeoutMs] {
        QWidget *w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        if (w && (!w->isVisible() || !w->inherits(className)))
            w = nullptr;
        if (w || clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            if (w)
                action(w);
        }
    });
    timer->start();
}
