// One running program per user and settings file: a later start hands over to the running one.
#include "ui/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The user's runtime folder (private to the user), or the temporary folder.
QString runtimeDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
}

// The settings file by its real folder, so that two ways of writing one path name one file.
QString realPath(const QString &file) {
    const QFileInfo info(file);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

} // namespace

SingleInstance::SingleInstance(const QString &settingsFile) {
    const QByteArray key =
        QCryptographicHash::hash(realPath(settingsFile).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QString base =
        runtimeDirectory() + QStringLiteral("/kalo-%1-").arg(::getuid()) + QString::fromLatin1(key);
    socketPath = base + QStringLiteral(".socket");
    const QByteArray lockPath = QFile::encodeName(base + QStringLiteral(".lock"));
    lockFd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd >= 0 && ::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        heldElsewhere = errno == EWOULDBLOCK;
        ::close(lockFd);
        lockFd = -1;
    }
}

SingleInstance::~SingleInstance() {
    delete server; // removes the socket before the lock is given up
    if (lockFd >= 0)
        ::close(lockFd);
}

bool SingleInstance::activateRunning(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(500)) {
            socket.write("activate\n");
            // The running program answers from its event loop, which may still be starting.
            return socket.waitForBytesWritten(1000) &&
                   socket.waitForReadyRead(int(qMax<qint64>(deadline.remainingTime(), 1))) &&
                   socket.readAll().startsWith("ok");
        }
        QThread::msleep(100); // the running program has not begun to listen yet
    }
    return false;
}

void SingleInstance::listen() {
    if (lockFd < 0)
        return;
    server = new QLocalServer;
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a run that crashed: this process holds the lock, so nobody listens on it.
    QLocalServer::removeServer(socketPath);
    if (!server->listen(socketPath))
        return;
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine().trimmed() == "activate") {
                    emit activationRequested();
                    socket->write("ok\n");
                }
                socket->disconnectFromServer();
            });
        }
    });
}
