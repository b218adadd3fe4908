// The store of accepted readings' fingerprints: what it keeps, that it keeps it private and enciphered,
// that damage never locks anyone out, and that a user's deletion takes his fingerprints with it.
#include "voice/ReadingHistory.h"

#include "../StoreTestSupport.h"
#include "AppUserVoiceDic.h"

#include <sys/stat.h>

namespace {

using talk::voice::ReadingFingerprint;
using talk::voice::ReadingHistory;

// A fingerprint told apart from others by `tag` (its first loudness value) and long enough to be real.
ReadingFingerprint Print(int tag)
{
    ReadingFingerprint print;
    print.level.assign(120, static_cast<uint8_t>(40));
    print.pitch.assign(120, static_cast<uint16_t>(2400 + tag));
    print.level[0] = static_cast<uint8_t>(tag);
    return print;
}

std::vector<int> Tags(const std::vector<ReadingFingerprint>& prints)
{
    std::vector<int> tags;
    for (const ReadingFingerprint& p : prints)
        tags.push_back(p.level.at(0));
    return tags;
}

class ReadingHistoryTest : public store_test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_folder = Path("program");
        std::filesystem::create_directories(m_folder);
        m_path = ReadingHistory::PathBeside(m_folder + "/halvoxuvd.dat");
    }

    std::string m_folder;
    std::string m_path;
};

TEST_F(ReadingHistoryTest, LivesBesideTheVoiceDictionary)
{
    EXPECT_EQ(m_path, m_folder + "/halvoxurh.dat");
}

TEST_F(ReadingHistoryTest, KeepsTheLastFiftyPerUserAndWordOldestDropped)
{
    ReadingHistory history(m_path);
    for (int i = 0; i < 55; ++i)
        ASSERT_TRUE(history.Remember("alice", "aaj", {Print(i)})) << history.ErrorText();
    ASSERT_TRUE(history.Remember("alice", "abj", {Print(200), Print(201)}));
    ASSERT_TRUE(history.Remember("bob", "aaj", {Print(100)}));

    const std::vector<int> kept = Tags(ReadingHistory(m_path).Recall("ALICE", "aaj"));
    ASSERT_EQ(kept.size(), ReadingHistory::kKept);
    EXPECT_EQ(kept.front(), 5);
    EXPECT_EQ(kept.back(), 54);
    EXPECT_EQ(Tags(history.Recall("alice", "abj")), (std::vector<int> {200, 201}));
    EXPECT_EQ(Tags(history.Recall("Bob", "aaj")), (std::vector<int> {100}));
    EXPECT_TRUE(history.Recall("bob", "abj").empty());
    EXPECT_TRUE(history.Recall("carol", "aaj").empty());
    EXPECT_FALSE(history.FoundDamage());
    // Fingerprints come back whole, not only their tags.
    EXPECT_EQ(history.Recall("bob", "aaj").at(0).pitch, Print(100).pitch);
}

TEST_F(ReadingHistoryTest, TheFileIsPrivateAndShowsNeitherIdsNorWordsNorContours)
{
    ReadingHistory history(m_path);
    ASSERT_TRUE(history.Remember("alice-the-user", "aaj", {Print(7)}));
    struct stat facts
    {
    };
    ASSERT_EQ(::stat(m_path.c_str(), &facts), 0);
    EXPECT_EQ(facts.st_mode & 0777, 0600u);
    const std::string bytes = store_test::ReadBytes(m_path);
    EXPECT_EQ(bytes.find("alice"), std::string::npos);
    EXPECT_EQ(bytes.find("ALICE"), std::string::npos);
    EXPECT_EQ(bytes.find("aaj"), std::string::npos);
    EXPECT_EQ(bytes.find("URH1"), std::string::npos);
    // Neither the raw contour nor its hex form is there.
    EXPECT_EQ(bytes.find(std::string(20, static_cast<char>(40))), std::string::npos);
    EXPECT_EQ(bytes.find("2828282828282828"), std::string::npos);
}

TEST_F(ReadingHistoryTest, ADamagedStoreReadsAsEmptyAndIsWrittenAnew)
{
    store_test::WriteBytes(m_path, "not a history at all\n\x01\x02garbage");
    ReadingHistory history(m_path);
    EXPECT_TRUE(history.Recall("alice", "aaj").empty());
    EXPECT_TRUE(history.FoundDamage());
    ASSERT_TRUE(history.Remember("alice", "aaj", {Print(3)})) << history.ErrorText();
    EXPECT_EQ(store_test::ReadBytes(m_path).find("garbage"), std::string::npos);
    EXPECT_EQ(Tags(history.Recall("alice", "aaj")), (std::vector<int> {3}));
    EXPECT_FALSE(history.FoundDamage());

    // One damaged line costs only its own user's word.
    ASSERT_TRUE(history.Remember("bob", "abj", {Print(4)}));
    std::string bytes = store_test::ReadBytes(m_path);
    const std::size_t secondLine = bytes.find('\n') + 1;
    bytes[secondLine + 10] = bytes[secondLine + 10] == 'A' ? 'B' : 'A';
    store_test::WriteBytes(m_path, bytes);
    EXPECT_TRUE(history.Recall("bob", "abj").empty());
    EXPECT_TRUE(history.FoundDamage());
    EXPECT_EQ(Tags(history.Recall("alice", "aaj")), (std::vector<int> {3}));
}

TEST_F(ReadingHistoryTest, AMissingOrUnreadableStoreIsEmpty)
{
    ReadingHistory history(m_path);
    EXPECT_TRUE(history.Recall("alice", "aaj").empty());
    EXPECT_FALSE(history.FoundDamage());
    EXPECT_TRUE(history.Forget("alice")) << "nothing to forget is no failure";
    EXPECT_FALSE(std::filesystem::exists(m_path));
    // A folder where the store should be: unreadable, so empty, and a change fails without throwing.
    std::filesystem::create_directories(m_path);
    EXPECT_TRUE(history.Recall("alice", "aaj").empty());
    EXPECT_FALSE(history.Remember("alice", "aaj", {Print(1)}));
    EXPECT_FALSE(history.ErrorText().empty());
}

TEST_F(ReadingHistoryTest, ForgettingTakesAWordOrAllOfAUsersWords)
{
    ReadingHistory history(m_path);
    ASSERT_TRUE(history.Remember("alice", "aaj", {Print(1)}));
    ASSERT_TRUE(history.Remember("alice", "abj", {Print(2)}));
    ASSERT_TRUE(history.Remember("bob", "aaj", {Print(3)}));
    ASSERT_TRUE(history.Forget("Alice", "abj"));
    EXPECT_TRUE(history.Recall("alice", "abj").empty());
    EXPECT_EQ(history.Recall("alice", "aaj").size(), 1u);
    ASSERT_TRUE(history.Forget("ALICE"));
    EXPECT_TRUE(history.Recall("alice", "aaj").empty());
    EXPECT_EQ(Tags(history.Recall("bob", "aaj")), (std::vector<int> {3}));
}

TEST_F(ReadingHistoryTest, DeletingAVoiceOrAUserFromTheVoiceDictionaryForgetsHisFingerprints)
{
    CAppUserVoiceDic voices;
    ASSERT_EQ(voices.SetVoiceDicPath(m_folder), 1);
    ASSERT_EQ(voices.AddUser("alice", "KEYA"), 1);
    ASSERT_EQ(voices.AddUser("bob", "KEYB"), 1);
    ReadingHistory history(m_path);
    ASSERT_TRUE(history.Remember("alice", "aaj", {Print(1)}));
    ASSERT_TRUE(history.Remember("alice", "abj", {Print(2)}));
    ASSERT_TRUE(history.Remember("bob", "aaj", {Print(3)}));

    ASSERT_EQ(voices.DelUserVoice("alice", "KEYA", "ABJ"), 1);
    EXPECT_TRUE(history.Recall("alice", "abj").empty());
    EXPECT_EQ(history.Recall("alice", "aaj").size(), 1u);

    // A wrong certificate key deletes nothing, fingerprints included.
    EXPECT_EQ(voices.DelUser("alice", "WRONG"), 0);
    EXPECT_EQ(history.Recall("alice", "aaj").size(), 1u);
    ASSERT_EQ(voices.DelUser("alice", "KEYA"), 1);
    EXPECT_TRUE(history.Recall("alice", "aaj").empty());
    EXPECT_EQ(history.Recall("bob", "aaj").size(), 1u);
}

} // namespace
