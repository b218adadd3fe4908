#include "voice/VoiceEnrolment.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"

#include <gtest/gtest.h>

#include "../../support/FreshRootTest.h"

#include <filesystem>
#include <fstream>

namespace {

using talk::voice::StoreEnrolledVoice;

class VoiceEnrolmentTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_folder = Path("program");
        std::filesystem::create_directories(m_folder + "/work");
        ASSERT_EQ(m_users.SetUserDicFilePath(m_folder + "/halvoxuid.dat"), 1);
        ASSERT_EQ(m_voices.SetVoiceDicPath(m_folder), 1);
        ASSERT_EQ(m_users.CreateUser("Hana", "hana", "KEYHANA", "pw", 1, 1, 1, 1, ""), 1);
    }

    void TrainedModel(const std::string& nick, const std::string& bytes)
    {
        std::ofstream(m_folder + "/work/" + nick + ".bin", std::ios::binary) << bytes;
    }

    std::string m_folder;
    CAppUserDic m_users;
    CAppUserVoiceDic m_voices;
};

TEST_F(VoiceEnrolmentTest, KeepsEachWordWithItsModelAndClearsTheWorkCopy)
{
    std::string error;
    TrainedModel("aaj", "SLfmt model one");
    ASSERT_TRUE(StoreEnrolledVoice(m_users, m_voices, "hana", "aaj", error)) << error;
    TrainedModel("acj", "SLfmt model two");
    ASSERT_TRUE(StoreEnrolledVoice(m_users, m_voices, "hana", "acj", error)) << error;
    EXPECT_EQ(m_users.GetVoiceList("hana"), "aaj,acj");
    EXPECT_FALSE(std::filesystem::exists(m_folder + "/work/acj.bin"));
    EXPECT_EQ(m_voices.FindIDPos("hana", "KEYHANA", m_voices.GetVoiceDicPath()), 0) << "one slot for both words";

    ASSERT_EQ(m_voices.GetUserVoice("hana", "KEYHANA", "aaj"), 1);
    std::ifstream in(m_folder + "/work/aaj.bin", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "SLfmt model one");

    // Enrolling a word again replaces its model without listing it twice.
    TrainedModel("aaj", "SLfmt model three");
    ASSERT_TRUE(StoreEnrolledVoice(m_users, m_voices, "hana", "aaj", error)) << error;
    EXPECT_EQ(m_users.GetVoiceList("hana"), "aaj,acj");
}

TEST_F(VoiceEnrolmentTest, RefusesAnUnknownUserOrAMissingModelAndSaysWhy)
{
    std::string error;
    TrainedModel("aaj", "SLfmt");
    EXPECT_FALSE(StoreEnrolledVoice(m_users, m_voices, "nobody", "aaj", error));
    EXPECT_NE(error.find("nobody"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(m_folder + "/work/aaj.bin")) << "kept for a retry";

    error.clear();
    EXPECT_FALSE(StoreEnrolledVoice(m_users, m_voices, "hana", "abj", error)) << "no trained abj model";
    EXPECT_NE(error.find("abj"), std::string::npos);
    EXPECT_EQ(m_users.GetVoiceList("hana"), "") << "a word is never listed without its model";
}

} // namespace
