#pragma once

#include "transfer/PeerInbox.h"

#include <QObject>
#include <QTcpServer>

#include <string>
#include <vector>

namespace deskwarden::transfer {

class CPeerSocket;

/**
 * The program's one listening socket. Each accepted connection becomes a CPeerSocket that lives until its
 * peer is done; beyond kMaxPeers at once, further connections are closed as they arrive.
 */
class CListenSocket final : public QObject
{
    Q_OBJECT
public:
    /** Each accepted peer must finish its message within `peerDeadlineMs`. */
    explicit CListenSocket(int peerDeadlineMs = kPeerDeadlineMs, QObject* parent = nullptr);
    ~CListenSocket() override;

    /** Listens on `address` ("" for every address) and `port`. @return false when the port cannot be had. */
    bool Listen(const std::string& address, quint16 port);
    quint16 Port() const { return m_server.serverPort(); }
    std::size_t PeerCount() const { return m_peers.size(); }

signals:
    /** A new connection is ready; its messages arrive through the peer's own signals. */
    void PeerAccepted(deskwarden::transfer::CPeerSocket* peer);

private:
    void AcceptPending();
    void Forget(CPeerSocket* peer);

    QTcpServer m_server;
    std::vector<CPeerSocket*> m_peers;
    int m_peerDeadlineMs;
};

} // namespace deskwarden::transfer
