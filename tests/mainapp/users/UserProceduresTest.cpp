#include "users/UserProcedures.h"

#include "UsersTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace deskwarden::test {
namespace {

class UserProcedures : public UserStoresTest
{
protected:
    void SetUp() override
    {
        UserStoresTest::SetUp();
        m_voice = std::make_unique<ScriptedVoiceDialog>(WorkFolder());
    }

    void TearDown() override
    {
        EXPECT_TRUE(m_voice->Finished()) << "the voice dialog was shown less often than scripted";
        UserStoresTest::TearDown();
    }

    void ScriptEnrolment(int enrolResult, int testResult)
    {
        m_voice->Then(enrolResult);
        if (enrolResult == kVoiceAccepted) {
            m_voice->Then(testResult);
        }
    }

    Outcome Register(const RegistrationForm& form) { return RegisterUser(form, Stores(), *m_voice); }

    std::unique_ptr<ScriptedVoiceDialog> m_voice;
};

TEST_F(UserProcedures, RegisteringCreatesAccountRecordAndVoice)
{
    ScriptEnrolment(kVoiceAccepted, kVoiceAccepted);
    const Outcome outcome = Register(ValidForm());
    EXPECT_TRUE(outcome.done);
    EXPECT_EQ(outcome.message, (Message {138, "ユーザー情報登録が完了しました。"}));
    EXPECT_TRUE(outcome.offerBypassKey);

    CAppUserDic::USER_DICTIONARY info;
    ASSERT_EQ(m_users.GetUserInfo("alice", info), 1);
    EXPECT_EQ(info.name, "Alice");
    EXPECT_EQ(info.password, "secret");
    EXPECT_EQ(info.authority, "110");
    EXPECT_EQ(info.voiceList, "aaj");
    EXPECT_FALSE(info.certiKey.empty()) << "an empty key is formed by the dictionary";

    ASSERT_TRUE(HasVoiceSlot("alice", info.certiKey));
    EXPECT_EQ(m_voices.GetUserVoice("alice", info.certiKey, "aaj"), 1);
    std::ifstream model(m_voice->ModelPath("aaj"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(model), {}), "model of alice");

    EXPECT_TRUE(AccountExists("alice"));
    EXPECT_TRUE(AccountEnabled("alice"));
    EXPECT_TRUE(PasswordIs("alice", "secret"));
    EXPECT_EQ(Privilege("alice"), 1);
}

TEST_F(UserProcedures, TheVoiceDialogEnrolsThenTestsTheEnrolledWord)
{
    m_voice->Then(kVoiceAccepted, "Open sesame", "abj");
    m_voice->Then(kVoiceAccepted);
    ASSERT_TRUE(Register(ValidForm()).done);
    ASSERT_EQ(m_voice->Requests().size(), 2U);
    const VoiceRequest& enrol = m_voice->Requests()[0];
    EXPECT_EQ(enrol.mode, kVoiceEnrol);
    EXPECT_EQ(enrol.enrolRepeat, 5);
    EXPECT_EQ(enrol.userId, "alice");
    const VoiceRequest& test = m_voice->Requests()[1];
    EXPECT_EQ(test.mode, kVoiceVerify);
    EXPECT_EQ(test.verifyRepeat, 8);
    EXPECT_EQ(test.word, "Open sesame");
    EXPECT_EQ(test.nick, "abj");
    EXPECT_EQ(m_users.GetVoiceList("alice"), "abj");
    EXPECT_FALSE(std::filesystem::exists(m_voice->ModelPath("abj"))) << "the temporary model is removed";
}

TEST_F(UserProcedures, AFailedEnrolmentOrModelTestLeavesNoUser)
{
    for (const int testResult : {0, 2}) {
        ScriptEnrolment(kVoiceAccepted, testResult);
        const Outcome failed = Register(ValidForm());
        EXPECT_FALSE(failed.done);
        EXPECT_EQ(failed.message, (Message {137, "音声登録が失敗しました。"}));
        EXPECT_FALSE(std::filesystem::exists(m_voice->ModelPath("aaj")));
    }
    ScriptEnrolment(2, 0);
    EXPECT_EQ(Register(ValidForm()).message.stringId, 137);

    EXPECT_EQ(m_users.VerifyUserInfo("alice"), -1);
    EXPECT_FALSE(AccountExists("alice"));
    EXPECT_FALSE(HasVoiceSlot("alice", m_users.GetCertiKey("alice")));
}

TEST_F(UserProcedures, AnAdministratorWithoutLogonGetsADisabledAccountInTheAdministrators)
{
    RegistrationForm form = ValidForm();
    form.group = kAdministratorGroup;
    form.logon = false;
    ScriptEnrolment(kVoiceAccepted, kVoiceAccepted);
    const Outcome outcome = Register(form);
    EXPECT_TRUE(outcome.done);
    EXPECT_FALSE(outcome.offerBypassKey);
    EXPECT_FALSE(AccountEnabled("alice"));
    EXPECT_EQ(m_users.GetGroupInfo("alice"), "0");
}

TEST_F(UserProcedures, TakingOverAnAccountKeepsItAndSetsTheTypedPassword)
{
    AddAccount("dave", "old");
    RegistrationForm form = ValidForm();
    form.id = "dave";
    form.password = form.reEntry = "old";
    form.mode = kModeExistingId;
    form.presetAccount = "dave";
    ScriptEnrolment(kVoiceAccepted, kVoiceAccepted);
    ASSERT_TRUE(Register(form).done);
    EXPECT_TRUE(PasswordIs("dave", "old"));
    EXPECT_TRUE(AccountEnabled("dave"));
    EXPECT_NE(m_users.VerifyUserInfo("dave"), -1);
}

TEST_F(UserProcedures, OutsideTheNtFamilyNoAccountIsMade)
{
    ScriptEnrolment(kVoiceAccepted, kVoiceAccepted);
    ASSERT_TRUE(RegisterUser(ValidForm(), Stores(false), *m_voice).done);
    EXPECT_FALSE(AccountExists("alice"));
    EXPECT_NE(m_users.VerifyUserInfo("alice"), -1);
}

TEST_F(UserProcedures, DeletingAUserRemovesAccountRecordAndVoiceSlot)
{
    ScriptEnrolment(kVoiceAccepted, kVoiceAccepted);
    ASSERT_TRUE(Register(ValidForm()).done);
    const std::string key = m_users.GetCertiKey("alice");
    ASSERT_TRUE(HasVoiceSlot("alice", key));

    const Outcome outcome = DeleteUser("alice", Stores());
    EXPECT_TRUE(outcome.done);
    EXPECT_FALSE(AccountExists("alice"));
    EXPECT_EQ(m_users.VerifyUserInfo("alice"), -1);
    EXPECT_FALSE(HasVoiceSlot("alice", key));
    EXPECT_FALSE(DeleteUser("alice", Stores()).done);
}

TEST_F(UserProcedures, ChangingStoresTheFormAndMovesTheAccount)
{
    AddProgramUser("boss", kAdministratorGroup);
    AddProgramUser("carol", kGeneralGroup, "aaj", "pw");
    AddAccount("carol", "pw");
    RegistrationForm form = ValidForm();
    form.id = "carol";
    form.name = "Carol B";
    form.password = form.reEntry = "new";
    form.group = kAdministratorGroup;
    form.logon = true;
    form.mode = kModeExistingId;

    const Outcome outcome = ChangeUser(form, Stores());
    EXPECT_TRUE(outcome.done);
    EXPECT_EQ(outcome.message, (Message {135, "情報変更が完了しました。"}));
    CAppUserDic::USER_DICTIONARY info;
    ASSERT_EQ(m_users.GetUserInfo("carol", info), 1);
    EXPECT_EQ(info.name, "Carol B");
    EXPECT_EQ(info.password, "new");
    EXPECT_EQ(info.group, kAdministratorGroup);
    EXPECT_EQ(Privilege("carol"), 2);
    EXPECT_TRUE(PasswordIs("carol", "new"));

    form.group = kGeneralGroup;
    ASSERT_TRUE(ChangeUser(form, Stores()).done);
    EXPECT_EQ(Privilege("carol"), 1) << "the account leaves the Administrators again";
}

TEST_F(UserProcedures, TheLastAdministratorIsNotDemoted)
{
    AddProgramUser("boss", kAdministratorGroup, "aaj", "pw");
    RegistrationForm form = ValidForm();
    form.id = "boss";
    form.password = form.reEntry = "pw";
    form.mode = kModeExistingId;
    const Outcome outcome = ChangeUser(form, Stores());
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.message.text, "管理者は必ず一人以上いなければならないです。");
    EXPECT_EQ(m_users.GetGroupInfo("boss"), "0");
}

TEST_F(UserProcedures, AddingAVoiceChecksTheUserFirst)
{
    AddProgramUser("alice", kGeneralGroup, "aaj");
    m_voice->Then(2, "", "aaj");
    EXPECT_FALSE(AddVoice("alice", Stores(), *m_voice).done);
    ASSERT_EQ(m_voice->Requests().size(), 1U);
    EXPECT_EQ(m_voice->Requests()[0].mode, kVoiceVerify);
    EXPECT_EQ(m_voice->Requests()[0].purpose, kPurposeUser);
    EXPECT_EQ(m_voice->Requests()[0].verifyRepeat, 1);
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj");

    m_voice->Then(kVoiceAccepted, "", "aaj");
    m_voice->Then(kVoiceAccepted, "Second word", "abj");
    m_voice->Then(kVoiceAccepted);
    const Outcome outcome = AddVoice("alice", Stores(), *m_voice);
    EXPECT_TRUE(outcome.done);
    EXPECT_EQ(outcome.message.stringId, 138);
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj,abj");
    EXPECT_EQ(m_voices.GetUserVoice("alice", m_users.GetCertiKey("alice"), "abj"), 1);
    EXPECT_GT(std::filesystem::file_size(m_voice->ModelPath("abj")), 0U);
}

TEST_F(UserProcedures, AFailedNewWordLeavesTheVoiceListAlone)
{
    AddProgramUser("alice", kGeneralGroup, "aaj");
    m_voice->Then(kVoiceAccepted, "", "");
    m_voice->Then(kVoiceAccepted, "Second word", "abj");
    m_voice->Then(2);
    EXPECT_EQ(AddVoice("alice", Stores(), *m_voice).message.stringId, 137);
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj");
    EXPECT_FALSE(std::filesystem::exists(m_voice->ModelPath("abj")));
}

TEST_F(UserProcedures, AVoiceIsDeletedOnlyWhileAnotherRemains)
{
    AddProgramUser("alice", kGeneralGroup, "aaj");
    const Outcome refused = DeleteVoice("alice", "aaj", Stores());
    EXPECT_FALSE(refused.done);
    EXPECT_EQ(refused.message.text, "登録音声は最低1語必要です。");
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj");

    const std::string key = m_users.GetCertiKey("alice");
    std::ofstream(m_voice->ModelPath("abj")) << "second model";
    ASSERT_EQ(m_users.SetNick("alice", "abj"), 1);
    ASSERT_EQ(m_voices.SetUserVoice("alice", key, "abj"), 1);
    EXPECT_TRUE(DeleteVoice("alice", "abj", Stores()).done);
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj");
    std::filesystem::remove(m_voice->ModelPath("abj"));
    EXPECT_EQ(m_voices.GetUserVoice("alice", key, "abj"), 1);
    EXPECT_EQ(std::filesystem::file_size(m_voice->ModelPath("abj")), 0U) << "the section was forgotten";
}

TEST_F(UserProcedures, TheFirstAdministratorGivesThePasswordlessAccountHisPassword)
{
    ScriptEnrolment(kVoiceAccepted, kVoiceAccepted);
    RegistrationForm form = ValidForm();
    form.id = "Administrator";
    form.group = kAdministratorGroup;
    form.firstRun = true;
    ASSERT_TRUE(Register(form).done);
    EXPECT_TRUE(PasswordIs("Administrator", "secret"));
    EXPECT_TRUE(AccountEnabled("Administrator"));
    EXPECT_EQ(Privilege("Administrator"), 2);
}

} // namespace
} // namespace deskwarden::test
