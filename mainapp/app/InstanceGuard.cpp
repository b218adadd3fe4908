#include "app/InstanceGuard.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace deskwarden::app {

namespace {

// How often a second program retries while the first has its lock but not yet its socket.
constexpr int kConnectRetryMs = 50;

std::string LockPath()
{
    return QDir::tempPath().toStdString() + "/" + SessionSocketName() + ".lock";
}

/**
 * Opens the lock file without following a link, and only when it is this user's own: in a shared
 * temporary folder another user could otherwise plant it and keep every tray program from starting.
 */
int OpenOwnLockFile(const std::string& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return -1;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || info.st_uid != ::geteuid() || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = path + " belongs to another user; remove it and start again";
        return -1;
    }
    return fd;
}

} // namespace

std::string SessionSocketName()
{
    return "DeskWarden" + std::to_string(::getuid());
}

InstanceGuard::InstanceGuard(QObject* parent)
    : QObject(parent)
{
}

InstanceGuard::~InstanceGuard()
{
    if (m_server != nullptr)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

InstanceGuard::Claim InstanceGuard::ClaimSession(std::string& error)
{
    const int fd = OpenOwnLockFile(LockPath(), error);
    if (fd < 0)
        return Claim::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int cause = errno;
        ::close(fd);
        if (cause == EWOULDBLOCK)
            return Claim::Second;
        error = "cannot lock " + LockPath() + ": " + std::strerror(cause);
        return Claim::Failed;
    }
    m_lockFd = fd;
    const QString name = QString::fromStdString(SessionSocketName());
    // Holding the lock, nobody else listens: a socket file still there is a crashed program's.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        error = "cannot listen on " + name.toStdString() + ": " + m_server->errorString().toStdString();
        return Claim::Failed;
    }
    connect(m_server, &QLocalServer::newConnection, this, &InstanceGuard::AcceptConnections);
    return Claim::First;
}

void InstanceGuard::AcceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto reader = std::make_shared<FrameReader>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            reader->Append(socket->readAll().toStdString());
            while (std::optional<SessionFrame> frame = reader->Next())
                emit FrameArrived(frame->kind, QByteArray::fromStdString(frame->payload));
            if (reader->Spoiled())
                socket->abort();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

bool InstanceGuard::SendToRunning(const std::vector<SessionFrame>& frames, int timeoutMs, std::string& error)
{
    const QString name = QString::fromStdString(SessionSocketName());
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired()) {
            error = "the running program does not answer on " + name.toStdString() + ": "
                + socket.errorString().toStdString();
            return false;
        }
        QThread::msleep(kConnectRetryMs);
    }
    for (const SessionFrame& frame : frames)
        socket.write(QByteArray::fromStdString(EncodeFrame(frame)));
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired()
            || !socket.waitForBytesWritten(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
            error = "the running program did not take the message: " + socket.errorString().toStdString();
            return false;
        }
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    return true;
}

} // namespace deskwarden::app
