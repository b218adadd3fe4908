#include "transfer/ListenSocket.h"

#include "transfer/PeerInbox.h"
#include "transfer/PeerSocket.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <algorithm>

namespace deskwarden::transfer {

namespace {
constexpr int kBacklog = 5;
}

CListenSocket::CListenSocket(int peerDeadlineMs, QObject* parent)
    : QObject(parent)
    , m_peerDeadlineMs(peerDeadlineMs)
{
    m_server.setMaxPendingConnections(kBacklog);
    connect(&m_server, &QTcpServer::newConnection, this, &CListenSocket::AcceptPending);
}

CListenSocket::~CListenSocket() = default;

bool CListenSocket::Listen(const std::string& address, quint16 port)
{
    const QHostAddress on
        = address.empty() ? QHostAddress(QHostAddress::Any) : QHostAddress(QString::fromStdString(address));
    return !on.isNull() && m_server.listen(on, port);
}

void CListenSocket::AcceptPending()
{
    while (QTcpSocket* accepted = m_server.nextPendingConnection()) {
        if (m_peers.size() >= static_cast<std::size_t>(kMaxPeers)) {
            accepted->abort();
            accepted->deleteLater();
            continue;
        }
        auto* peer = new CPeerSocket(accepted, m_peerDeadlineMs, this);
        m_peers.push_back(peer);
        connect(peer, &CPeerSocket::Finished, this, &CListenSocket::Forget);
        emit PeerAccepted(peer);
    }
}

void CListenSocket::Forget(CPeerSocket* peer)
{
    m_peers.erase(std::remove(m_peers.begin(), m_peers.end(), peer), m_peers.end());
    peer->deleteLater();
}

} // namespace deskwarden::transfer
