// One running program per user and settings file: a later start hands over to the running one.
#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

// A folder only this user can enter, for the lock and the socket: $XDG_RUNTIME_DIR when it is one,
// else "kalo-<uid>" in the temporary folder, made with mode 0700 when missing. A folder that is not
// a directory of this user's closed to others is never used: null, with the reason in *problem.
QString privateRuntimeFolder(QString *problem);

// The first start holds a lock on a file named after the settings file (released by the system
// when the process ends, however it ends) and answers later starts on a local socket beside it;
// a later start finds the lock taken and asks the running program to show its window. So only
// one process writes a settings file. Lock and socket live in a folder only the user can enter:
// the user's runtime folder, else "kalo-<uid>" in the temporary folder, made private; another
// user can neither take the lock nor stand in for the socket.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &settingsFile);
    ~SingleInstance() override;

    // False when another running program holds the settings file. Where no private folder or
    // lock can be had, every start counts as the first (see problem()): a start is never refused
    // for that.
    bool isFirst() const { return !heldElsewhere; }
    // Why this start cannot hand over or be handed over to; null when it can.
    QString problem() const { return trouble; }
    // A later start: asks the running program to bring its window to the front; false when it did
    // not answer in time.
    bool activateRunning(int timeoutMs = 10000);
    // The first start, once the application object exists: answers the later starts.
    void listen();

signals:
    void activationRequested();

private:
    void acceptConnections();

    QByteArray socketPath;
    int lockFd = -1;
    int serverFd = -1;
    bool heldElsewhere = false;
    QString trouble;
    QSocketNotifier *server = nullptr;
};
