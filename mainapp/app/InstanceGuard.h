#pragma once

#include "app/SessionFrame.h"

#include <QObject>

#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace deskwarden::app {

/** The local socket of this user's session: "DeskWarden" and the user id, in the temporary folder. */
std::string SessionSocketName();

/**
 * Keeps one tray program per session. The first program takes a lock beside the session socket and listens
 * on the socket; a later program finds the lock taken and talks to the first over the socket instead. The
 * kernel drops the lock when its holder dies, so a crashed program never keeps the next one from starting,
 * and a socket file it left behind is removed by whoever holds the lock next.
 */
class InstanceGuard final : public QObject
{
    Q_OBJECT
public:
    enum class Claim
    {
        First, // this program runs the session: frames arrive through FrameArrived
        Second, // another program runs it: send it what it should do, then end
        Failed, // neither could be decided (see the error)
    };

    explicit InstanceGuard(QObject* parent = nullptr);
    ~InstanceGuard() override;

    /** Decides which program this is; the first starts listening at once. */
    Claim ClaimSession(std::string& error);

    /**
     * Sends `frames` to the running program, waiting at most `timeoutMs` for it to accept the connection
     * (it may still be starting) and for the bytes to leave. @return false with a reason on failure.
     */
    static bool SendToRunning(const std::vector<SessionFrame>& frames, int timeoutMs, std::string& error);

signals:
    void FrameArrived(quint32 kind, const QByteArray& payload);

private:
    void AcceptConnections();
    void ReadFrom(QLocalSocket* socket);

    int m_lockFd = -1;
    QLocalServer* m_server = nullptr;
};

} // namespace deskwarden::app
