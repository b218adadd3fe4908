#pragma once

#include "transfer/ListenSocket.h"
#include "transfer/TransferMessage.h"
#include "users/UserStores.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace deskwarden::transfer {

class CPeerSocket;

/**
 * The tray program's side of user transfer: waits for senders on its listening socket, receives one user at
 * a time with the receive dialog, and sends users chosen in the transfer dialog.
 */
class TransferService final : public QObject
{
    Q_OBJECT
public:
    explicit TransferService(const users::UserStores& stores, QObject* parent = nullptr);
    ~TransferService() override;

    /** Starts listening on the configured address and port. @return false when it cannot (not reported). */
    bool Listen();
    /** Shows the transfer dialog until the operator closes it. */
    void OpenTransferDialog(QWidget* parent);
    /** Sends user `id` to `address` on the transfer port; the receiver's answer is shown when it comes. */
    void SendUser(const QString& id, const QString& address);

    CListenSocket& Listener() { return m_listener; }

private:
    void PeerAccepted(CPeerSocket* peer);
    void Receive(CPeerSocket* peer, TransferMessage message);
    void ShowReply(bool stored);

    users::UserStores m_stores;
    CListenSocket m_listener;
    QPointer<CPeerSocket> m_outgoing;
    bool m_receiving = false;
};

} // namespace deskwarden::transfer
