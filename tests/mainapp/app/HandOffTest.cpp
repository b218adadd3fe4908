#include "app/HandOff.h"
#include "app/HandOffReceiver.h"
#include "files/FileList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;
namespace fs = std::filesystem;

TEST(HandOffText, ReadsCommandPathsAndIgnoresTheTag)
{
    const auto handOff = ParseHandOff("0,anything at all,2\n/data/a.txt\n/data/b c.txt\n");
    ASSERT_TRUE(handOff.has_value());
    EXPECT_EQ(handOff->command, 0);
    EXPECT_EQ(handOff->tag, "anything at all");
    EXPECT_EQ(handOff->paths, (std::vector<std::string> {"/data/a.txt", "/data/b c.txt"}));
}

TEST(HandOffText, TheSecondStartsTextRoundTrips)
{
    const std::string text = FormatHandOff(HandOffForFile("/home/u/レポート.doc"));
    EXPECT_EQ(text, "2,ooo,1\n/home/u/レポート.doc\n");
    const auto back = ParseHandOff(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->command, 2);
    EXPECT_EQ(back->paths, (std::vector<std::string> {"/home/u/レポート.doc"}));
}

TEST(HandOffText, DamagedTextsAreRefused)
{
    for (const char* text : {"", "0,ooo\n/a\n", "x,ooo,1\n/a\n", "0,ooo,2\n/a\n", "0,ooo,-1\n", "0,ooo,1x\n/a\n",
             "0,ooo,1\n\n", "0,ooo,99999999999\n"})
        EXPECT_FALSE(ParseHandOff(text).has_value()) << text;
    EXPECT_FALSE(ParseHandOff("0,ooo,1\n" + std::string(5000, 'a') + "\n").has_value()) << "longer than any path";
    EXPECT_TRUE(ParseHandOff("0,ooo,1\n/a").has_value()) << "the last line's end is not needed";
}

class HandOffReceiverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "hand-off-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        std::ofstream(m_folder / "a.txt") << "a";
        std::ofstream(m_folder / "b.txt") << "b";
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string P(const char* name) const { return (m_folder / name).string(); }

    fs::path m_folder;
    files::FileList m_list;
};

TEST_F(HandOffReceiverTest, ACountOfZeroChangesNothing)
{
    m_list.Add(P("a.txt"));
    EXPECT_EQ(ReceiveHandOff("0,ooo,0\n" + P("b.txt") + "\n", m_list), FollowUp::None);
    EXPECT_EQ(m_list.Rows().size(), 1U);
    EXPECT_EQ(ReceiveHandOff("garbage", m_list), FollowUp::None);
    EXPECT_EQ(m_list.Rows().size(), 1U);
}

TEST_F(HandOffReceiverTest, CommandZeroListsEveryPathAndStartsEncryption)
{
    EXPECT_EQ(ReceiveHandOff("0,ooo,2\n" + P("a.txt") + "\n" + P("b.txt") + "\n", m_list), FollowUp::StartEncryption);
    EXPECT_EQ(m_list.Rows().size(), 2U);
}

TEST_F(HandOffReceiverTest, CommandOneStartsDecryptionAndTwoOnlyLists)
{
    EXPECT_EQ(ReceiveHandOff("1,ooo,1\n" + P("a.txt") + "\n", m_list), FollowUp::StartDecryption);
    EXPECT_EQ(ReceiveHandOff(FormatHandOff(HandOffForFile(P("b.txt"))), m_list), FollowUp::None);
    EXPECT_EQ(ReceiveHandOff(FormatHandOff(HandOffForFile(P("b.txt"))), m_list), FollowUp::None);
    EXPECT_EQ(m_list.Rows().size(), 2U) << "a path already listed is not listed twice";
}

} // namespace
} // namespace deskwarden::test
