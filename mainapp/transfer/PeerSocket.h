#pragma once

#include "transfer/PeerInbox.h"

#include <QObject>
#include <QTimer>

#include <string>

class QTcpSocket;

namespace deskwarden::transfer {

/**
 * One connection, incoming or outgoing. What arrives goes through a PeerInbox; the socket tells what the
 * peer sent once it is whole, and closes itself on anything else or when the peer has not finished in time.
 */
class CPeerSocket final : public QObject
{
    Q_OBJECT
public:
    /** Takes over an accepted connection (its parent becomes this object). */
    CPeerSocket(QTcpSocket* accepted, int deadlineMs, QObject* parent);
    /** An outgoing connection, made by ConnectAndSend. */
    CPeerSocket(int deadlineMs, QObject* parent);
    ~CPeerSocket() override;

    /** Connects to `host`:`port` and sends `bytes` once connected; a failure ends in Finished. */
    void ConnectAndSend(const QString& host, quint16 port, const std::string& bytes);
    /** Sends a reply on this connection. */
    void Reply(std::string_view bytes);
    /** Closes the connection at once. */
    void Drop();

signals:
    void TransferArrived(deskwarden::transfer::CPeerSocket* peer, const deskwarden::transfer::TransferMessage& message);
    void ReplyArrived(bool stored);
    /** The connection is over (closed, dropped or timed out); the object may be deleted later. */
    void Finished(deskwarden::transfer::CPeerSocket* peer);

private:
    void Attach();
    void ReadArrived();

    QTcpSocket* m_socket = nullptr;
    QTimer m_deadline;
    PeerInbox m_inbox;
    std::string m_pending;
    bool m_incoming = false;
    bool m_finished = false;
};

} // namespace deskwarden::transfer
