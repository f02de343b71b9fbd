// Answering modal message boxes, dialogs and menus from a timer, so widget tests never block.
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class QWidget;

// While it lives, answers every message box that appears by clicking the button with the given
// text (the default button when empty, the Escape key for "Escape"), recording each box's title
// and text.
class MessageBoxWatcher : public QObject {
public:
    explicit MessageBoxWatcher(const QString &buttonText = QString());
    int count() const { return int(texts.size()); }
    QStringList titles;
    QStringList texts;

private:
    QString button;
    QTimer timer;
};

// Calls action once with the next modal widget or popup shown that inherits the class (polled
// every 5 ms for at most timeoutMs). Call it before the call that opens the widget.
void whenModalShown(std::function<void(QWidget *)> action, const char *className = "QWidget",
                    int timeoutMs = 5000);
