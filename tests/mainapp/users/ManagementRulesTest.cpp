#include "users/ManagementRules.h"
#include "users/UserStrings.h"

#include "UsersTestSupport.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

const std::string kLastAdministratorText = "管理者は必ず一人以上いなければならないです。";

class ManagementRules : public UserStoresTest
{
};

TEST_F(ManagementRules, AnotherAdministratorIsASecondUserOfGroupZero)
{
    AddProgramUser("boss", kAdministratorGroup);
    AddProgramUser("clerk", kGeneralGroup);
    EXPECT_FALSE(HasAnotherAdministrator(m_users, "boss"));
    EXPECT_FALSE(HasAnotherAdministrator(m_users, "BOSS")) << "the same user in another case is no other";
    EXPECT_TRUE(HasAnotherAdministrator(m_users, "clerk"));
    AddProgramUser("chief", kAdministratorGroup);
    EXPECT_TRUE(HasAnotherAdministrator(m_users, "boss"));
}

TEST_F(ManagementRules, TheLastAdministratorCanNeitherBeDemotedNorDeleted)
{
    AddProgramUser("boss", kAdministratorGroup);
    AddProgramUser("clerk", kGeneralGroup);
    EXPECT_EQ(RefuseGroupChange(m_users, "boss", kGeneralGroup), kLastAdministratorText);
    EXPECT_EQ(RefuseUserDeletion(m_users, "Name of boss", "boss", true), kLastAdministratorText);
    EXPECT_EQ(RefuseGroupChange(m_users, "boss", kAdministratorGroup), std::nullopt);
    EXPECT_EQ(RefuseGroupChange(m_users, "clerk", kGeneralGroup), std::nullopt);
    EXPECT_EQ(RefuseUserDeletion(m_users, "Name of clerk", "clerk", true), std::nullopt);
}

TEST_F(ManagementRules, WithASecondAdministratorEitherMayGo)
{
    AddProgramUser("boss", kAdministratorGroup);
    AddProgramUser("chief", kAdministratorGroup);
    EXPECT_EQ(RefuseGroupChange(m_users, "boss", kGeneralGroup), std::nullopt);
    EXPECT_EQ(RefuseUserDeletion(m_users, "Name of chief", "chief", true), std::nullopt);
}

TEST_F(ManagementRules, AnAccountRowWithoutNameCannotBeDeletedOnTheNtFamily)
{
    AddAccount("guestbook", "pw");
    EXPECT_EQ(RefuseUserDeletion(m_users, "", "guestbook", true), "OSログオン一体化ユーザーは削除できません。");
    EXPECT_EQ(RefuseUserDeletion(m_users, "", "guestbook", false), std::nullopt);
}

TEST_F(ManagementRules, TheAdministratorIdCannotBeDeletedInAnyCase)
{
    AddProgramUser("ADMINistrator", kGeneralGroup);
    AddProgramUser("boss", kAdministratorGroup);
    AddProgramUser("chief", kAdministratorGroup);
    for (const char* id : {"Administrator", "administrator", "ADMINistrator"}) {
        EXPECT_EQ(RefuseUserDeletion(m_users, "Name", id, false), "Administratorユーザーは削除することができないです。")
            << id;
    }
    EXPECT_FALSE(IsAdministratorId("Administrators"));
}

TEST_F(ManagementRules, AUserKeepsHisLastVoice)
{
    AddProgramUser("alice", kGeneralGroup, "aaj");
    AddProgramUser("bob", kGeneralGroup, "aaj,abj");
    EXPECT_EQ(RefuseVoiceDeletion(m_users, "alice"), "登録音声は最低1語必要です。");
    EXPECT_EQ(RefuseVoiceDeletion(m_users, "bob"), std::nullopt);
    EXPECT_EQ(RefuseVoiceDeletion(m_users, "nobody"), "登録音声は最低1語必要です。");
}

TEST(ManagementQuestions, NameTheUserAndTheWord)
{
    EXPECT_EQ(DeleteUserQuestion("alice"), "ユーザー'alice'の情報を削除しますか？");
    EXPECT_EQ(DeleteVoiceQuestion("Open sesame"), "'Open sesame'ユーザー音声情報を削除しますか?");
}

} // namespace
} // namespace deskwarden::test
