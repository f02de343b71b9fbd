// One running program per user and settings file: a later start hands over to the running one.
#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A directory of this user that nobody else may enter, not reached through a symbolic link.
QString folderProblem(const QString &folder) {
    struct stat info = {};
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0)
        return QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1 is not a folder").arg(folder);
    if (info.st_uid != ::getuid())
        return QStringLiteral("%1 belongs to another user").arg(folder);
    if ((info.st_mode & 077) != 0)
        return QStringLiteral("%1 is open to other users").arg(folder);
    return QString();
}

// The settings file by its real folder, so that two ways of writing one path name one file.
QString realPath(const QString &file) {
    const QFileInfo info(file);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

bool toAddress(const QByteArray &path, sockaddr_un *address) {
    *address = {};
    address->sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Waits until the descriptor can be read or written, at most until the deadline.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline) {
    pollfd p{fd, events, 0};
    int rc = 0;
    do {
        rc = ::poll(&p, 1, int(qBound(qint64(0), deadline.remainingTime(), qint64(60000))));
    } while (rc < 0 && errno == EINTR);
    return rc > 0;
}

} // namespace

QString privateRuntimeFolder(QString *problem) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && folderProblem(runtime).isNull())
        return runtime;
    const QString folder = QDir::tempPath() + QStringLiteral("/kalo-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(folder).constData(), 0700); // it may be there already
    const QString trouble = folderProblem(folder);
    if (trouble.isNull())
        return folder;
    if (problem)
        *problem = trouble;
    return QString();
}

SingleInstance::SingleInstance(const QString &settingsFile) {
    const QString folder = privateRuntimeFolder(&trouble);
    if (folder.isNull())
        return;
    const QByteArray key =
        QCryptographicHash::hash(realPath(settingsFile).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QByteArray base =
        QFile::encodeName(folder + QStringLiteral("/kalo-") + QString::fromLatin1(key));
    socketPath = base + ".socket";
    sockaddr_un address;
    if (!toAddress(socketPath, &address)) {
        trouble = QStringLiteral("%1: the path is too long for a socket")
                      .arg(QFile::decodeName(socketPath));
        return;
    }
    lockFd = ::open((base + ".lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd < 0) {
        trouble = QStringLiteral("%1.lock: %2")
                      .arg(QFile::decodeName(base), QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        heldElsewhere = errno == EWOULDBLOCK;
        ::close(lockFd);
        lockFd = -1;
    }
}

SingleInstance::~SingleInstance() {
    if (serverFd >= 0) {
        delete server;
        ::close(serverFd);
        ::unlink(socketPath.constData()); // before the lock is given up
    }
    if (lockFd >= 0)
        ::close(lockFd);
}

bool SingleInstance::activateRunning(int timeoutMs) {
    sockaddr_un address;
    if (!toAddress(socketPath, &address))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
            ::close(fd);
            QThread::msleep(100); // the running program has not begun to listen yet
            continue;
        }
        // The running program answers from its event loop, which may still be starting.
        static const char request[] = "activate\n";
        char answer[8] = {};
        const bool answered =
            ::send(fd, request, sizeof request - 1, MSG_NOSIGNAL) == ssize_t(sizeof request - 1) &&
            waitFor(fd, POLLIN, deadline) && ::recv(fd, answer, sizeof answer - 1, 0) >= 2 &&
            std::strncmp(answer, "ok", 2) == 0;
        ::close(fd);
        return answered;
    }
    return false;
}

void SingleInstance::listen() {
    sockaddr_un address;
    if (lockFd < 0 || !toAddress(socketPath, &address))
        return;
    serverFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (serverFd < 0)
        return;
    // A socket left by a run that crashed: this process holds the lock, so nobody listens on it.
    ::unlink(socketPath.constData());
    if (::bind(serverFd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(serverFd, 4) != 0) {
        ::close(serverFd);
        serverFd = -1;
        return;
    }
    server = new QSocketNotifier(serverFd, QSocketNotifier::Read, this);
    connect(server, &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
}

void SingleInstance::acceptConnections() {
    int fd;
    while ((fd = ::accept4(serverFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
        // The request is one short line; the later start sends it at once and waits.
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this, notifier, fd] {
            char line[16] = {};
            const ssize_t n = ::recv(fd, line, sizeof line - 1, 0);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            if (n > 0 && std::strncmp(line, "activate", 8) == 0) {
                emit activationRequested();
                ::send(fd, "ok\n", 3, MSG_NOSIGNAL);
            }
            notifier->setEnabled(false);
            notifier->deleteLater();
            ::close(fd);
        });
    }
}
