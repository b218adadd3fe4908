#include "transfer/UserImport.h"
#include "transfer/ReceiveFlow.h"
#include "transfer/UserExport.h"

#include "../users/UsersTestSupport.h"

#include <fstream>

namespace deskwarden::test {
namespace {

using namespace deskwarden::transfer;

/** Answers as scripted and remembers what it was asked and told. */
class ScriptedReceiver : public ReceiveOperator
{
public:
    ScriptedReceiver(bool accept, bool replace)
        : m_accept(accept)
        , m_replace(replace)
    {
    }
    bool AcceptTransfer(const TransferMessage& message) override
    {
        shownId = message.id;
        return m_accept;
    }
    bool ConfirmReplace(const std::string& id) override
    {
        replaceAsked = id;
        return m_replace;
    }
    void ModelFileFailed(const std::string& text) override { told = text; }

    std::string shownId;
    std::string replaceAsked;
    std::string told;

private:
    bool m_accept;
    bool m_replace;
};

/**
 * The sending installation is a second pair of dictionaries in the same system root; the receiving one is
 * the fixture's, with its account stand-in.
 */
class Transfer : public UserStoresTest
{
protected:
    void SetUp() override
    {
        UserStoresTest::SetUp();
        m_sender = Path("sender");
        std::filesystem::create_directories(m_sender + "/work");
        ASSERT_EQ(m_senderUsers.SetUserDicFilePath(m_sender + "/halvoxuid.dat"), 1);
        ASSERT_EQ(m_senderVoices.SetVoiceDicPath(m_sender), 1);
    }

    UserStores SenderStores() { return {m_senderUsers, m_senderVoices, m_accounts, true}; }

    /** A sender's user with a model for each distinct name of `voices`. */
    void AddSenderUser(const std::string& id, const std::string& voices)
    {
        ASSERT_EQ(m_senderUsers.CreateUser("Sent " + id, id, "", "secret", 0, 1, 1, 1, voices), 1);
        const std::string key = m_senderUsers.GetCertiKey(id);
        ASSERT_EQ(m_senderVoices.AddUser(id, key), 1);
        for (const std::string& nick : VoiceNames(voices)) {
            std::ofstream(m_sender + "/work/" + nick + ".bin", std::ios::binary) << ModelText(id, nick);
            ASSERT_EQ(m_senderVoices.SetUserVoice(id, key, nick), 1);
            std::filesystem::remove(m_sender + "/work/" + nick + ".bin");
        }
    }

    static std::string ModelText(const std::string& id, const std::string& nick)
    {
        return "SLfmt model of " + id + " saying " + nick + std::string(3000, '\0') + "end";
    }

    TransferMessage Build(const std::string& id)
    {
        TransferMessage message;
        std::string failedPath;
        std::string error;
        EXPECT_TRUE(BuildMessage(id, {"HOST-A", "127.0.0.1"}, SenderStores(), message, failedPath, error)) << error;
        return message;
    }

    std::string ReceivedModel(const std::string& id, const std::string& nick)
    {
        if (m_voices.GetUserVoice(id, m_users.GetCertiKey(id), nick) != 1) {
            return "(none)";
        }
        std::string bytes;
        std::string error;
        EXPECT_TRUE(talk::ReadWholeFile(WorkFolder() + nick + ".bin", bytes, error)) << error;
        std::filesystem::remove(WorkFolder() + nick + ".bin");
        return bytes;
    }

    std::string m_sender;
    CAppUserDic m_senderUsers;
    CAppUserVoiceDic m_senderVoices;
};

class TransferVoices : public Transfer, public ::testing::WithParamInterface<std::string>
{
};

TEST_P(TransferVoices, ArrivesAsAGeneralUserWithoutRightsAndWithHisModels)
{
    AddSenderUser("tanaka", GetParam());
    const TransferMessage message = Build("tanaka");
    EXPECT_TRUE(std::filesystem::is_empty(m_sender + "/work")) << "the sender left model files behind";
    ScriptedReceiver receiver(true, true);
    const ReceiveOutcome outcome = ReceiveUser(message, Stores(), receiver);
    ASSERT_TRUE(outcome.import.imported) << outcome.import.error;
    EXPECT_EQ(outcome.reply, kReplyDone);
    EXPECT_EQ(receiver.shownId, "tanaka");
    EXPECT_TRUE(receiver.replaceAsked.empty());

    CAppUserDic::USER_DICTIONARY info;
    ASSERT_EQ(m_users.GetUserInfo("tanaka", info), 1);
    EXPECT_EQ(info.name, "Sent tanaka");
    EXPECT_EQ(info.password, "secret");
    EXPECT_EQ(info.group, 1);
    EXPECT_EQ(info.authority, "000");
    EXPECT_EQ(info.certiKey, m_senderUsers.GetCertiKey("tanaka"));
    const std::vector<std::string> names = VoiceNames(GetParam());
    const std::size_t kept = std::min<std::size_t>(names.size(), 6);
    EXPECT_EQ(VoiceNames(info.voiceList), std::vector<std::string>(names.begin(), names.begin() + kept));
    EXPECT_EQ(outcome.import.models, kept);
    for (std::size_t i = 0; i < kept; ++i) {
        EXPECT_EQ(ReceivedModel("tanaka", names[i]), ModelText("tanaka", names[i])) << names[i];
    }
    EXPECT_TRUE(HasVoiceSlot("tanaka", info.certiKey));
    EXPECT_TRUE(AccountExists("tanaka"));
    EXPECT_FALSE(AccountEnabled("tanaka"));
    EXPECT_TRUE(PasswordIs("tanaka", "secret"));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, TransferVoices, ::testing::Values("", "abj", "aaj,abj,acj,adj,aej,afj", "aaj,abj,acj,adj,aej,afj,aaj"));

TEST_F(Transfer, DeclinedOrKeptChangesNothing)
{
    AddSenderUser("tanaka", "aaj");
    AddProgramUser("tanaka", 0, "abj", "old");
    const TransferMessage message = Build("tanaka");

    ScriptedReceiver declining(false, true);
    const ReceiveOutcome declined = ReceiveUser(message, Stores(), declining);
    EXPECT_EQ(declined.reply, kReplyCancel);
    EXPECT_TRUE(declining.replaceAsked.empty());

    ScriptedReceiver keeping(true, false);
    const ReceiveOutcome kept = ReceiveUser(message, Stores(), keeping);
    EXPECT_EQ(keeping.replaceAsked, "tanaka");
    EXPECT_TRUE(kept.reply.empty());
    EXPECT_FALSE(kept.import.imported);
    EXPECT_EQ(m_users.GetPassWord("tanaka"), "old");
    EXPECT_EQ(m_users.GetVoiceList("tanaka"), "abj");
}

TEST_F(Transfer, AnExistingUserIsReplacedWithHisVoiceSlot)
{
    AddSenderUser("tanaka", "aaj,abj");
    AddProgramUser("tanaka", 1, "acj", "old");
    AddAccount("tanaka", "old");
    const std::string oldKey = "OLDKEYtanaka";
    ASSERT_EQ(m_users.SetCertiKey("tanaka", oldKey), 1);
    ASSERT_EQ(m_voices.AddUser("tanaka", oldKey), 1);
    ScriptedReceiver receiver(true, true);
    const ReceiveOutcome outcome = ReceiveUser(Build("tanaka"), Stores(), receiver);
    ASSERT_TRUE(outcome.import.imported) << outcome.import.error;
    EXPECT_TRUE(outcome.import.replaced);
    EXPECT_EQ(receiver.replaceAsked, "tanaka");
    std::vector<std::string> ids;
    m_users.GetUserIDList(ids);
    EXPECT_EQ(ids, std::vector<std::string> {"tanaka"});
    EXPECT_EQ(m_users.GetVoiceList("tanaka"), "aaj,abj");
    EXPECT_FALSE(HasVoiceSlot("tanaka", oldKey));
    EXPECT_EQ(ReceivedModel("tanaka", "abj"), ModelText("tanaka", "abj"));
    EXPECT_TRUE(PasswordIs("tanaka", "secret"));
}

TEST_F(Transfer, NeitherTheBuiltInAdministratorNorTheLastAdministratorIsReplaced)
{
    AddSenderUser("tanaka", "aaj");
    AddProgramUser("tanaka", 0, "acj", "old");
    ScriptedReceiver receiver(true, true);
    ReceiveOutcome outcome = ReceiveUser(Build("tanaka"), Stores(), receiver);
    EXPECT_FALSE(outcome.import.imported);
    EXPECT_EQ(outcome.import.error, "管理者は必ず一人以上いなければならないです。");
    EXPECT_EQ(m_users.GetVoiceList("tanaka"), "acj") << "the administrator is kept as he was";

    AddProgramUser("suzuki", 0);
    outcome = ReceiveUser(Build("tanaka"), Stores(), receiver);
    EXPECT_TRUE(outcome.import.imported) << "with another administrator he may be replaced: " << outcome.import.error;

    AddSenderUser("ADMINISTRATOR", "aaj");
    outcome = ReceiveUser(Build("ADMINISTRATOR"), Stores(), receiver);
    EXPECT_FALSE(outcome.import.imported);
    EXPECT_EQ(outcome.import.error, "Administratorユーザーは削除することができないです。");
}

TEST_F(Transfer, AMessageThatCannotBeStoredLeavesNoUser)
{
    AddSenderUser("tanaka", "aaj,abj");
    TransferMessage unknownVoice = Build("tanaka");
    unknownVoice.voiceList = "aaj,zzz";
    TransferMessage badId = Build("tanaka");
    badId.id = "tan;aka";
    TransferMessage tooLarge = Build("tanaka");
    tooLarge.models[1].assign(kMaxModelBytes + 1, 'x');
    for (const TransferMessage& message : {unknownVoice, badId, tooLarge}) {
        const ImportResult result = ImportUser(message, Stores());
        EXPECT_FALSE(result.imported);
        EXPECT_FALSE(result.error.empty());
        EXPECT_LT(m_users.VerifyUserInfo("tanaka"), 0) << result.error;
        EXPECT_FALSE(HasVoiceSlot("tanaka", message.certiKey));
        EXPECT_FALSE(AccountExists("tanaka"));
    }

    std::filesystem::remove_all(WorkFolder());
    ScriptedReceiver receiver(true, true);
    const ReceiveOutcome noWorkFolder = ReceiveUser(Build("tanaka"), Stores(), receiver);
    EXPECT_TRUE(noWorkFolder.reply.empty());
    EXPECT_NE(receiver.told.find(WorkFolder() + "aaj.bin"), std::string::npos) << receiver.told;
    EXPECT_LT(m_users.VerifyUserInfo("tanaka"), 0);
    EXPECT_FALSE(AccountExists("tanaka"));
}

TEST_F(Transfer, AnUnknownUserOrAnUnreadableModelIsNotSent)
{
    TransferMessage message;
    std::string failedPath;
    std::string error;
    EXPECT_FALSE(BuildMessage("nobody", {}, SenderStores(), message, failedPath, error));
    ASSERT_EQ(m_senderUsers.CreateUser("Odd", "odd", "", "pw", 1, 0, 0, 0, "aaj,zzz"), 1);
    ASSERT_EQ(m_senderVoices.AddUser("odd", m_senderUsers.GetCertiKey("odd")), 1);
    EXPECT_FALSE(BuildMessage("odd", {}, SenderStores(), message, failedPath, error));
    EXPECT_EQ(failedPath, m_sender + "/work/zzz.bin");
    EXPECT_EQ(ModelFileUnreadableText(failedPath), "ファイルを開くことができないです!\n" + failedPath);
}

} // namespace
} // namespace deskwarden::test
