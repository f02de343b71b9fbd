// One running program per user and settings file: a later start hands over to the running one.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// The first start holds a lock on a file named after the settings file (released by the system
// when the process ends, however it ends) and answers later starts on a local socket beside it;
// a later start finds the lock taken and asks the running program to show its window. So only
// one process writes a settings file.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &settingsFile);
    ~SingleInstance() override;

    // False when another running program holds the settings file. Where the lock cannot be made
    // at all, every start counts as the first: a start is never refused for that.
    bool isFirst() const { return !heldElsewhere; }
    // A later start (with an application object): asks the running program to bring its window
    // to the front; false when it did not answer in time.
    bool activateRunning(int timeoutMs = 10000);
    // The first start, once the application object exists: answers the later starts.
    void listen();

signals:
    void activationRequested();

private:
    QString socketPath;
    int lockFd = -1;
    bool heldElsewhere = false;
    QLocalServer *server = nullptr;
};
