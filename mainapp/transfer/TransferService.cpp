#include "transfer/TransferService.h"

#include "transfer/PeerInbox.h"
#include "transfer/PeerSocket.h"
#include "transfer/ReceiveFlow.h"
#include "transfer/TransferEndpoint.h"
#include "transfer/TransferForm.h"
#include "transfer/TransferTexts.h"
#include "transfer/UserExport.h"
#include "transfer/UserReceiveDlg.h"
#include "transfer/UserTransferDlg.h"
#include "users/UserStrings.h"

#include "MessageService.h"

namespace deskwarden::transfer {
namespace {

// The sender waits this long for the receiving operator's answer.
constexpr int kAnswerDeadlineMs = 300000;

void Show(const std::string& text, MessageIcon icon)
{
    CMessageService::Report(users::kProductCaption, text, icon);
}

/** The receiving operator at this screen: the receive dialog and the program's message boxes. */
class DialogReceiver final : public ReceiveOperator
{
public:
    bool AcceptTransfer(const TransferMessage& message) override
    {
        CUserReceiveDlg dialog(message);
        return dialog.exec() == QDialog::Accepted;
    }
    bool ConfirmReplace(const std::string&) override
    {
        return CMessageService::Ask(users::kProductCaption, kReplaceQuestion);
    }
    void ModelFileFailed(const std::string& text) override { Show(text, MessageIcon::Error); }
};

} // namespace

TransferService::TransferService(const users::UserStores& stores, QObject* parent)
    : QObject(parent)
    , m_stores(stores)
{
    connect(&m_listener, &CListenSocket::PeerAccepted, this, &TransferService::PeerAccepted);
}

TransferService::~TransferService() = default;

bool TransferService::Listen()
{
    return m_listener.Listen(ListenAddress(), TransferPort());
}

void TransferService::PeerAccepted(CPeerSocket* peer)
{
    connect(peer, &CPeerSocket::TransferArrived, this,
        [this](CPeerSocket* from, const TransferMessage& message) { Receive(from, message); });
    // Replies count only on the connection this program opened; an incoming one is closed by the peer socket.
}

void TransferService::Receive(CPeerSocket* peer, TransferMessage message)
{
    // The dialogs run their own event loops: a second sender meanwhile is turned away, not stacked.
    if (m_receiving) {
        peer->Drop();
        return;
    }
    m_receiving = true;
    const QPointer<CPeerSocket> alive(peer);
    DialogReceiver receiver;
    const ReceiveOutcome outcome = ReceiveUser(message, m_stores, receiver);
    m_receiving = false;
    if (!alive) {
        return;
    }
    if (outcome.reply.empty()) {
        alive->Drop(); // the sender learns nothing more than that no answer came; the slot is free again
        return;
    }
    alive->Reply(outcome.reply);
}

void TransferService::ShowReply(bool stored)
{
    Show(stored ? kPeerStored : kPeerCancelled, MessageIcon::Information);
}

void TransferService::SendUser(const QString& id, const QString& address)
{
    TransferMessage message;
    std::string failedPath;
    std::string error;
    std::string bytes;
    if (!BuildMessage(id.toStdString(), ThisComputer(), m_stores, message, failedPath, error)) {
        Show(failedPath.empty() ? error : ModelFileUnreadableText(failedPath), MessageIcon::Error);
        return;
    }
    if (!EncodeMessage(message, bytes, error)) {
        Show(error, MessageIcon::Error);
        return;
    }
    if (m_outgoing) {
        m_outgoing->Drop();
    }
    auto* outgoing = new CPeerSocket(kAnswerDeadlineMs, this);
    m_outgoing = outgoing;
    connect(outgoing, &CPeerSocket::ReplyArrived, this, &TransferService::ShowReply);
    connect(outgoing, &CPeerSocket::Finished, outgoing, &QObject::deleteLater);
    outgoing->ConnectAndSend(address, TransferPort(), bytes);
    Show(kSendFinished, MessageIcon::Warning);
}

void TransferService::OpenTransferDialog(QWidget* parent)
{
    const LocalIdentity here = ThisComputer();
    CUserTransferDlg dialog(here.host, here.address, TransferRows(m_stores.users, m_stores.accounts), parent);
    connect(&dialog, &CUserTransferDlg::SendRequested, this, &TransferService::SendUser);
    dialog.exec();
}

} // namespace deskwarden::transfer
