#include "users/VoiceList.h"

#include "UsersTestSupport.h"

#include "Setup/SetupFile.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

class ShownVoices : public UserStoresTest
{
protected:
    void SetUp() override
    {
        UserStoresTest::SetUp();
        ASSERT_EQ(m_setup.SetAppPath(m_folder + "/"), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
        std::ofstream(m_folder + "/halvox.ini")
            << "[WORD_LIST]\naaj=Sesame\nabj=Harbour\nacj=Lantern\nadj=Meadow\naej=Copper\nafj=Violet\n";
    }

    CSetupFile m_setup;
};

TEST_F(ShownVoices, AtMostSixWordsInListOrder)
{
    AddProgramUser("alice", kGeneralGroup, "abj,aaj");
    EXPECT_EQ(ShownVoiceWords(m_users, m_setup, "alice"), (std::vector<std::string> {"Harbour", "Sesame"}));
    ASSERT_EQ(m_users.SetVoiceList("alice", "afj,aej,adj,acj,abj,aaj,abj"), 1);
    EXPECT_EQ(ShownVoiceWords(m_users, m_setup, "alice"),
        (std::vector<std::string> {"Violet", "Copper", "Meadow", "Lantern", "Harbour", "Sesame"}));
    EXPECT_TRUE(ShownVoiceWords(m_users, m_setup, "nobody").empty());
}

TEST_F(ShownVoices, AShownWordIsDeletedByItsStoredName)
{
    AddProgramUser("alice", kGeneralGroup, "aaj,abj");
    const Outcome outcome = DeleteShownVoice("alice", "harbour", m_setup, Stores());
    EXPECT_TRUE(outcome.done);
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj");
    EXPECT_FALSE(DeleteShownVoice("alice", "Sesame", m_setup, Stores()).done);
}

} // namespace
} // namespace deskwarden::test
