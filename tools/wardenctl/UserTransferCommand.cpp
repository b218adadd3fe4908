#include "UserTransferCommand.h"

#include "CtlCommands.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "SystemInfo.h"
#include "SystemUser.h"
#include "transfer/PeerInbox.h"
#include "transfer/ReceiveFlow.h"
#include "transfer/TransferEndpoint.h"
#include "transfer/TransferTexts.h"
#include "transfer/UserExport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <iostream>
#include <memory>

namespace wardenctl {
namespace {

namespace transfer = deskwarden::transfer;

constexpr int kConnectTimeoutMs = 10000;
// The receiving operator reads and answers a question before the reply comes.
constexpr int kReplyTimeoutMs = 300000;

struct Stores
{
    CAppUserDic users;
    CAppUserVoiceDic voices;
    CSystemUser accounts;
};

bool OpenStores(const std::string& appPath, Stores& stores, std::string& error)
{
    if (stores.users.SetUserDicFilePath(appPath + "/halvoxuid.dat") != 1) {
        error = "cannot open the user dictionary: " + stores.users.GetLastErrorText();
        return false;
    }
    if (stores.voices.SetVoiceDicPath(appPath) != 1) {
        error = "cannot open the voice dictionary of " + appPath;
        return false;
    }
    return true;
}

/** Blocking sockets still want the application object of the process. */
std::unique_ptr<QCoreApplication> EnsureApplication()
{
    if (QCoreApplication::instance() != nullptr) {
        return nullptr;
    }
    static int argc = 1;
    static char name[] = "wardenctl";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

/** Feeds what the socket receives into `inbox` until it decides, the peer leaves or the time is up. */
transfer::PeerInbox::State Collect(QTcpSocket& socket, transfer::PeerInbox& inbox, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (inbox.Current() == transfer::PeerInbox::State::Waiting) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (socket.bytesAvailable() == 0 && (left <= 0 || !socket.waitForReadyRead(static_cast<int>(left)))) {
            break;
        }
        const QByteArray chunk = socket.readAll();
        inbox.Feed(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())));
    }
    return inbox.Current();
}

/** Asks on the terminal, or says yes to everything with --accept. */
class TerminalReceiver final : public transfer::ReceiveOperator
{
public:
    TerminalReceiver(bool acceptAll, std::ostream& out)
        : m_acceptAll(acceptAll)
        , m_out(out)
    {
    }
    bool AcceptTransfer(const transfer::TransferMessage& message) override
    {
        m_out << transfer::kReceiveLine1 << transfer::kReceiveLine2 << "\n"
              << transfer::kHostNameLabel << ": " << message.host << "\n"
              << transfer::kAddressLabel << ": " << message.address << "\n"
              << transfer::kNameLabel << ": " << message.name << "\n"
              << transfer::kIdLabel << ": " << message.id << "\n";
        return Ask("");
    }
    bool ConfirmReplace(const std::string&) override { return Ask(transfer::kReplaceQuestion); }
    void ModelFileFailed(const std::string& text) override { m_out << text << "\n"; }

private:
    bool Ask(const std::string& question)
    {
        m_out << question << (m_acceptAll ? " [y/N] y" : " [y/N] ") << std::flush;
        if (m_acceptAll) {
            m_out << "\n";
            return true;
        }
        std::string answer;
        std::getline(std::cin, answer);
        return answer == "y" || answer == "Y" || answer == "yes";
    }

    bool m_acceptAll;
    std::ostream& m_out;
};

int Fail(std::ostream& err, const std::string& message)
{
    err << "wardenctl: " << message << "\n";
    return kExitFailed;
}

int Usage(std::ostream& err, const std::string& message)
{
    err << "wardenctl: " << message << " (\"wardenctl help\" lists the commands)\n";
    return kExitUsage;
}

int Send(const Arguments& arguments, const std::string& appPath, std::ostream& out, std::ostream& err)
{
    transfer::Endpoint to;
    const auto target = arguments.Option("to");
    if (arguments.words.size() != 3 || !target || !transfer::ParseEndpoint(*target, to)) {
        return Usage(err, "transfer send ID --to HOST[:PORT]");
    }
    Stores stores;
    std::string error;
    if (!OpenStores(appPath, stores, error)) {
        return Fail(err, error);
    }
    transfer::TransferMessage message;
    std::string failedPath;
    std::string bytes;
    CSystemInfo system;
    const deskwarden::users::UserStores view {stores.users, stores.voices, stores.accounts, system.IsOSNT() == 1};
    if (!transfer::BuildMessage(arguments.words[2], transfer::ThisComputer(), view, message, failedPath, error)) {
        return Fail(err, failedPath.empty() ? error : transfer::ModelFileUnreadableText(failedPath));
    }
    if (!transfer::EncodeMessage(message, bytes, error)) {
        return Fail(err, error);
    }
    const auto application = EnsureApplication();
    QTcpSocket socket;
    socket.connectToHost(QString::fromStdString(to.host), to.port);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return Fail(err, "cannot reach " + *target + ": " + socket.errorString().toStdString());
    }
    socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (!socket.waitForBytesWritten(kConnectTimeoutMs) && socket.bytesToWrite() > 0) {
        return Fail(err, "cannot send to " + *target + ": " + socket.errorString().toStdString());
    }
    out << "sent user " << message.id << " with " << message.models.size() << " model(s) to " << *target << "\n";
    transfer::PeerInbox reply;
    switch (Collect(socket, reply, kReplyTimeoutMs)) {
    case transfer::PeerInbox::State::Done:
        out << transfer::kPeerStored << "\n";
        return kExitOk;
    case transfer::PeerInbox::State::Cancelled:
        out << transfer::kPeerCancelled << "\n";
        return kExitFailed;
    default:
        return Fail(err, "no reply from " + *target);
    }
}

void Report(const transfer::ReceiveOutcome& outcome, const transfer::TransferMessage& message, std::ostream& out)
{
    if (!outcome.accepted) {
        out << "declined; replied " << outcome.reply << "\n";
    } else if (outcome.import.imported) {
        out << (outcome.import.replaced ? "replaced user " : "imported user ") << message.id << " with "
            << outcome.import.models << " model(s); replied " << outcome.reply << "\n";
    } else {
        out << "not imported: " << outcome.import.error << "\n";
    }
}

/** Waits for connections until one brings a whole transfer message; anything else is dropped on the way. */
int ReceiveOne(QTcpServer& server, const deskwarden::users::UserStores& stores, bool acceptAll, std::ostream& out)
{
    // Connections that arrived together are accepted together: only an empty queue is waited on.
    while (server.hasPendingConnections() || server.waitForNewConnection(-1)) {
        std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());
        if (peer == nullptr) {
            continue;
        }
        transfer::PeerInbox inbox;
        if (Collect(*peer, inbox, transfer::kPeerDeadlineMs) != transfer::PeerInbox::State::Transfer) {
            out << "dropped a connection from " << peer->peerAddress().toString().toStdString()
                << ": no whole transfer message" << std::endl;
            continue;
        }
        TerminalReceiver receiver(acceptAll, out);
        const transfer::ReceiveOutcome outcome = transfer::ReceiveUser(inbox.Message(), stores, receiver);
        if (!outcome.reply.empty()) {
            peer->write(outcome.reply.data(), static_cast<qint64>(outcome.reply.size()));
            peer->waitForBytesWritten(kConnectTimeoutMs);
        }
        Report(outcome, inbox.Message(), out);
        peer->disconnectFromHost();
        return outcome.import.imported ? kExitOk : kExitFailed;
    }
    return kExitFailed;
}

int Receive(const Arguments& arguments, const std::string& appPath, std::ostream& out, std::ostream& err)
{
    std::uint16_t port = transfer::TransferPort();
    const auto portText = arguments.Option("port");
    if (arguments.words.size() != 2 || (portText && *portText != "0" && !transfer::ParsePort(*portText, port))) {
        return Usage(err, "transfer receive [--port P] [--accept]");
    }
    if (portText && *portText == "0") {
        port = 0; // the system picks a free port, which is printed
    }
    Stores stores;
    std::string error;
    if (!OpenStores(appPath, stores, error)) {
        return Fail(err, error);
    }
    const auto application = EnsureApplication();
    QTcpServer server;
    const std::string address = transfer::ListenAddress();
    const QHostAddress listenOn
        = address.empty() ? QHostAddress(QHostAddress::Any) : QHostAddress(QString::fromStdString(address));
    if (!server.listen(listenOn, port)) {
        return Fail(err, "cannot listen on port " + std::to_string(port) + ": " + server.errorString().toStdString());
    }
    out << "waiting on port " << server.serverPort() << "\n" << std::flush;
    CSystemInfo system;
    const deskwarden::users::UserStores view {stores.users, stores.voices, stores.accounts, system.IsOSNT() == 1};
    return ReceiveOne(server, view, arguments.Option("accept").has_value(), out);
}

} // namespace

int UserTransferCommand(const Arguments& arguments, const std::string& appPath, std::ostream& out, std::ostream& err)
{
    const std::string action = arguments.words.size() > 1 ? arguments.words[1] : "";
    if (action == "send") {
        return Send(arguments, appPath, out, err);
    }
    if (action == "receive") {
        return Receive(arguments, appPath, out, err);
    }
    return Usage(err, "transfer send ID --to HOST[:PORT] | transfer receive [--port P] [--accept]");
}

} // namespace wardenctl
