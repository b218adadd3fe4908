#include "transfer/ListenSocket.h"
#include "transfer/PeerSocket.h"
#include "transfer/TransferService.h"
#include "transfer/TransferTexts.h"
#include "transfer/UserReceiveDlg.h"
#include "transfer/UserTransferDlg.h"

#include "../users/UsersTestSupport.h"
#include "UserWindowTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>

namespace deskwarden::test {
namespace {

using namespace deskwarden::transfer;

/** Lets the event loop run until `done` holds or five seconds pass; tells which. */
bool RunUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

std::string Encoded(const TransferMessage& message)
{
    std::string bytes;
    std::string error;
    EXPECT_TRUE(EncodeMessage(message, bytes, error)) << error;
    return bytes;
}

TEST(UserTransferDlg, RefusesWithoutAddressOrUserAndAsksToSendTheDoubleClickedOne)
{
    ScriptedMessages messages;
    CUserTransferDlg dialog(
        "HOST-A", "10.0.0.5", {{"Tanaka", "tanaka", 131, true, false, true}, {"Sato", "sato", 131}});
    std::vector<std::pair<QString, QString>> requests;
    QObject::connect(&dialog, &CUserTransferDlg::SendRequested,
        [&](const QString& id, const QString& to) { requests.emplace_back(id, to); });
    auto* send = dialog.findChild<QPushButton*>("1094");
    auto* address = dialog.findChild<QLineEdit*>("1006");
    auto* users = dialog.findChild<QTableWidget*>("1008");
    ASSERT_TRUE(send && address && users);
    ASSERT_TRUE(RunUntil([&] { return users->rowCount() == 2; }));

    send->click();
    address->setText("0.0.0.0");
    send->click();
    address->setText("127.0.0.1");
    send->click();
    EXPECT_EQ(messages.Texts(), (std::vector<std::string> {kNoAddress, kNoAddress, kNoUserChosen}));
    emit users->cellDoubleClicked(1, 0);
    send->click();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].first, "sato");
    EXPECT_EQ(requests[0].second, "127.0.0.1");
}

TEST(UserReceiveDlg, ShowsWhereTheUserComesFrom)
{
    CUserReceiveDlg dialog({"HOST-A", "10.0.0.5", "Tanaka", "tanaka", "key", "pw", "", {}});
    EXPECT_EQ(dialog.findChild<QLineEdit*>("host")->text(), "HOST-A");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("address")->text(), "10.0.0.5");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("name")->text(), "Tanaka");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("id")->text(), "tanaka");
}

TEST(TransferSockets, AMessageArrivesWholeAndItsReplyReturns)
{
    CListenSocket listener(5000);
    ASSERT_TRUE(listener.Listen("127.0.0.1", 0));
    const TransferMessage sent {
        "HOST-A", "127.0.0.1", "Tanaka", "tanaka", "KEYtanaka", "pw", "aaj", {std::string(20000, 'm')}};
    std::optional<TransferMessage> arrived;
    QObject::connect(&listener, &CListenSocket::PeerAccepted, [&](CPeerSocket* peer) {
        QObject::connect(peer, &CPeerSocket::TransferArrived, [&](CPeerSocket* from, const TransferMessage& message) {
            arrived = message;
            from->Reply(kReplyDone);
        });
    });
    CPeerSocket outgoing(5000, nullptr);
    std::optional<bool> reply;
    QObject::connect(&outgoing, &CPeerSocket::ReplyArrived, [&](bool stored) { reply = stored; });
    outgoing.ConnectAndSend("127.0.0.1", listener.Port(), Encoded(sent));
    ASSERT_TRUE(RunUntil([&] { return reply.has_value(); }));
    EXPECT_TRUE(*reply);
    EXPECT_EQ(arrived, sent);
}

TEST(TransferSockets, FloodsJunkAndSilentPeersAreLetGo)
{
    CListenSocket listener(300);
    ASSERT_TRUE(listener.Listen("127.0.0.1", 0));
    std::vector<std::unique_ptr<QTcpSocket>> flood;
    for (int i = 0; i < kMaxPeers + 4; ++i) {
        flood.push_back(std::make_unique<QTcpSocket>());
        flood.back()->connectToHost("127.0.0.1", listener.Port());
    }
    ASSERT_TRUE(RunUntil([&] { return listener.PeerCount() == static_cast<std::size_t>(kMaxPeers); }));
    // The silent ones run out of time, and the listener takes new peers again.
    ASSERT_TRUE(RunUntil([&] { return listener.PeerCount() == 0; }));
    QTcpSocket junk;
    junk.connectToHost("127.0.0.1", listener.Port());
    ASSERT_TRUE(RunUntil([&] { return listener.PeerCount() == 1; }));
    junk.write("RECEIVED DONE! ");
    EXPECT_TRUE(RunUntil([&] { return listener.PeerCount() == 0; })) << "a reply nobody asked for was kept";
}

/** Two tray programs' transfer services on loopback, each with its own dictionaries. */
class TransferServices : public UserStoresTest
{
protected:
    void SetUp() override
    {
        UserStoresTest::SetUp();
        m_sender = Path("sender");
        std::filesystem::create_directories(m_sender + "/work");
        ASSERT_EQ(m_senderUsers.SetUserDicFilePath(m_sender + "/halvoxuid.dat"), 1);
        ASSERT_EQ(m_senderVoices.SetVoiceDicPath(m_sender), 1);
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        const std::string port = std::to_string(probe.serverPort());
        probe.close();
        ::setenv("WARDEN_TRANSFER_PORT", port.c_str(), 1);
        ::setenv("WARDEN_TRANSFER_ADDRESS", "127.0.0.1", 1);
    }
    void TearDown() override
    {
        ::unsetenv("WARDEN_TRANSFER_PORT");
        ::unsetenv("WARDEN_TRANSFER_ADDRESS");
        UserStoresTest::TearDown();
    }

    /** Presses OK or Cancel on the receive dialog once it shows. */
    static void AnswerReceiveDialog(bool accept)
    {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, accept] {
            if (auto* dialog = qobject_cast<CUserReceiveDlg*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                accept ? dialog->accept() : dialog->reject();
            }
        });
        poll->start(20);
    }

    std::string m_sender;
    CAppUserDic m_senderUsers;
    CAppUserVoiceDic m_senderVoices;
};

TEST_F(TransferServices, AUserSentIsStoredOrDeclinedAndTheSenderIsTold)
{
    ASSERT_EQ(m_senderUsers.CreateUser("Tanaka", "tanaka", "", "secret", 0, 1, 1, 1, ""), 1);
    ASSERT_EQ(m_senderVoices.AddUser("tanaka", m_senderUsers.GetCertiKey("tanaka")), 1);
    TransferService receiving(Stores());
    ASSERT_TRUE(receiving.Listen());
    TransferService sending({m_senderUsers, m_senderVoices, m_accounts, false});
    ScriptedMessages messages;

    AnswerReceiveDialog(false);
    sending.SendUser("tanaka", "127.0.0.1");
    ASSERT_TRUE(RunUntil([&] { return messages.Texts().size() == 2; }));
    EXPECT_EQ(messages.Texts(), (std::vector<std::string> {kSendFinished, kPeerCancelled}));
    EXPECT_LT(m_users.VerifyUserInfo("tanaka"), 0);

    AnswerReceiveDialog(true);
    sending.SendUser("tanaka", "127.0.0.1");
    ASSERT_TRUE(RunUntil([&] { return messages.Texts().size() == 4; }));
    EXPECT_EQ(messages.Texts().back(), kPeerStored);
    EXPECT_EQ(m_users.GetPassWord("tanaka"), "secret");
    EXPECT_EQ(m_users.GetAuthority("tanaka"), "000");

    // Kept: no answer goes back and the connection is let go at once.
    ASSERT_EQ(m_users.SetPassWord("tanaka", "kept"), 1);
    messages.Answer(false);
    AnswerReceiveDialog(true);
    sending.SendUser("tanaka", "127.0.0.1");
    ASSERT_TRUE(RunUntil([&] { return messages.Questions().size() == 1 && receiving.Listener().PeerCount() == 0; }));
    EXPECT_EQ(messages.Questions().front(), kReplaceQuestion);
    EXPECT_EQ(messages.Texts().size(), 5u);
    EXPECT_EQ(m_users.GetPassWord("tanaka"), "kept");
}

} // namespace
} // namespace deskwarden::test
