#include "transfer/PeerSocket.h"

#include <QTcpSocket>

namespace deskwarden::transfer {

CPeerSocket::CPeerSocket(QTcpSocket* accepted, int deadlineMs, QObject* parent)
    : QObject(parent)
    , m_socket(accepted)
    , m_incoming(true)
{
    m_socket->setParent(this);
    m_deadline.setSingleShot(true);
    m_deadline.start(deadlineMs);
    Attach();
}

CPeerSocket::CPeerSocket(int deadlineMs, QObject* parent)
    : QObject(parent)
    , m_socket(new QTcpSocket(this))
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(deadlineMs);
    Attach();
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_socket->write(m_pending.data(), static_cast<qint64>(m_pending.size()));
        m_pending.clear();
    });
}

CPeerSocket::~CPeerSocket() = default;

void CPeerSocket::Attach()
{
    connect(&m_deadline, &QTimer::timeout, this, &CPeerSocket::Drop);
    connect(m_socket, &QTcpSocket::readyRead, this, &CPeerSocket::ReadArrived);
    connect(m_socket, &QTcpSocket::disconnected, this, &CPeerSocket::Drop);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &CPeerSocket::Drop);
}

void CPeerSocket::ConnectAndSend(const QString& host, quint16 port, const std::string& bytes)
{
    m_pending = bytes;
    m_deadline.start();
    m_socket->connectToHost(host, port);
}

void CPeerSocket::Reply(std::string_view bytes)
{
    m_socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
    m_socket->flush();
    // The sender closes once it has read the reply; one that stays is let go after a while.
    m_deadline.start(kPeerDeadlineMs);
}

void CPeerSocket::Drop()
{
    m_deadline.stop();
    m_socket->abort();
    if (!m_finished) {
        m_finished = true;
        emit Finished(this);
    }
}

void CPeerSocket::ReadArrived()
{
    const QByteArray chunk = m_socket->readAll();
    if (m_inbox.Current() != PeerInbox::State::Waiting) {
        return; // one exchange per connection; whatever follows is not read
    }
    switch (m_inbox.Feed(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())))) {
    case PeerInbox::State::Waiting:
        return;
    case PeerInbox::State::Transfer:
        m_deadline.stop();
        emit TransferArrived(this, m_inbox.Message());
        return;
    case PeerInbox::State::Done:
    case PeerInbox::State::Cancelled:
        if (m_incoming) {
            Drop(); // nobody here asked: a reply on an accepted connection is not shown
            return;
        }
        m_deadline.stop();
        emit ReplyArrived(m_inbox.Current() == PeerInbox::State::Done);
        return;
    case PeerInbox::State::Dropped:
        Drop();
        return;
    }
}

} // namespace deskwarden::transfer
