// Answering modal message boxes, dialogs and menus from a timer, so GUI tests never block.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class QWidget;

// While it lives, answers every QMessageBox that appears: clicks the button with the given text
// (or the default button when the text is empty) and records the box's title and text.
class MessageBoxWatcher : public QObject {
public:
    explicit MessageBoxWatcher(const QString &buttonText = QString());
    int count() const { return titles.size(); }
    QStringList titles;
    QStringList texts;

private:
    void poll();
    QString button;
    QTimer timer;
};

// While it lives, rejects every modal dialog (not a message box) as soon as it is shown, counting
// how often one was shown.
class DialogCloser : public QObject {
public:
    DialogCloser();
    int opened = 0;

private:
    QTimer timer;
};

// Calls action once with the next modal widget or popup that is shown (polling every 5 ms, for at
// most timeoutMs). Use before the call that opens it.
void whenModalShown(std::function<void(QWidget *)> action, int timeoutMs = 5000);
