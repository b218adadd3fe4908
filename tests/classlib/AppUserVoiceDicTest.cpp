#include "AppUserVoiceDic.h"

#include "ByteOrder.h"
#include "StoreFaults.h"
#include "StoreTestSupport.h"
#include "VoiceDicLayout.h"

namespace layout = talk::voice_dic_layout;

namespace {

using store_test::ReadBytes;
using store_test::WriteBytes;

class AppUserVoiceDicTest : public store_test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_folder = Path("program");
        std::filesystem::create_directories(m_folder + "/work");
        ASSERT_EQ(m_dic.SetVoiceDicPath(m_folder), 1);
    }

    std::string DicPath() const { return m_folder + "/halvoxuvd.dat"; }
    std::string ModelPath(const std::string& name) const { return m_folder + "/work/" + name + ".bin"; }

    void PutModel(const std::string& name, const std::string& bytes) { WriteBytes(ModelPath(name), bytes); }

    void PatchLe32(std::uint64_t offset, std::uint32_t value)
    {
        std::string bytes = ReadBytes(DicPath());
        talk::WriteLe32(bytes.data() + offset, value);
        WriteBytes(DicPath(), bytes);
    }

    std::string m_folder;
    CAppUserVoiceDic m_dic;
};

TEST_F(AppUserVoiceDicTest, FirstUserMakesTheFileOneSlotLongAndUsesSlotZero)
{
    EXPECT_EQ(std::filesystem::file_size(DicPath()), 0u);
    EXPECT_EQ(m_dic.FindBlankSlot(DicPath()), -1);
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    EXPECT_EQ(std::filesystem::file_size(DicPath()), 125000u);
    EXPECT_EQ(m_dic.FindIDPos("ALICE", "keya", DicPath()), 0);
}

TEST_F(AppUserVoiceDicTest, ModelsRoundTripPerSectionAndEmptySectionsGiveEmptyFiles)
{
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    ASSERT_EQ(m_dic.AddUser("bob", "KEYB"), 1);
    const std::string model = store_test::RandomBytes(9000, 7);
    PutModel("abj", model);
    ASSERT_EQ(m_dic.SetUserVoice("bob", "KEYB", "abj"), 1);
    std::filesystem::remove(ModelPath("abj"));
    ASSERT_EQ(m_dic.GetUserVoice("bob", "KEYB", "abj"), 1);
    EXPECT_EQ(ReadBytes(ModelPath("abj")), model);

    PutModel("abj", "stale model of someone else");
    ASSERT_EQ(m_dic.GetUserVoice("alice", "KEYA", "abj"), 1);
    EXPECT_EQ(ReadBytes(ModelPath("abj")), "");

    ASSERT_EQ(m_dic.DelUserVoice("bob", "KEYB", "ABJ"), 1);
    ASSERT_EQ(m_dic.GetUserVoice("bob", "KEYB", "abj"), 1);
    EXPECT_EQ(ReadBytes(ModelPath("abj")), "");
}

TEST_F(AppUserVoiceDicTest, ExactlyTheSectionLengthIsWrittenEvenPastABlockBoundary)
{
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    for (const std::size_t size : {std::size_t {1}, std::size_t {4096}, std::size_t {4097}, std::size_t {20655}}) {
        const std::string model = store_test::RandomBytes(size, static_cast<unsigned>(size));
        PutModel("afj", model);
        ASSERT_EQ(m_dic.SetUserVoice("alice", "KEYA", "afj"), 1) << size;
        ASSERT_EQ(m_dic.GetUserVoice("alice", "KEYA", "afj"), 1) << size;
        EXPECT_EQ(ReadBytes(ModelPath("afj")), model) << size;
    }
    EXPECT_EQ(std::filesystem::file_size(DicPath()), 125000u);
}

TEST_F(AppUserVoiceDicTest, OversizedModelsAndForeignNamesAreRefusedWithNothingWritten)
{
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    PutModel("aaj", "small");
    ASSERT_EQ(m_dic.SetUserVoice("alice", "KEYA", "aaj"), 1);
    const std::string before = ReadBytes(DicPath());

    PutModel("aaj", std::string(20656, 'x'));
    EXPECT_EQ(m_dic.SetUserVoice("alice", "KEYA", "aaj"), 0);
    EXPECT_FALSE(m_dic.GetLastErrorText().empty());
    PutModel("agj", "model");
    EXPECT_EQ(m_dic.SetUserVoice("alice", "KEYA", "agj"), 0);
    EXPECT_EQ(m_dic.DelUserVoice("alice", "KEYA", "agj"), 0);
    EXPECT_EQ(m_dic.GetUserVoice("alice", "KEYA", "agj"), 0);
    EXPECT_EQ(m_dic.SetUserVoice("alice", "KEYA", "../aaj"), 0);
    EXPECT_EQ(ReadBytes(DicPath()), before);
    EXPECT_EQ(ReadBytes(ModelPath("agj")), "model");
}

TEST_F(AppUserVoiceDicTest, IdsAndKeysTooLongForTheirFieldsAreRefused)
{
    EXPECT_EQ(m_dic.AddUser(std::string(51, 'i'), std::string(83, 'k')), 1);
    EXPECT_EQ(m_dic.AddUser(std::string(52, 'i'), "k"), 0);
    EXPECT_EQ(m_dic.AddUser("i", std::string(84, 'k')), 0);
    EXPECT_EQ(std::filesystem::file_size(DicPath()), 125000u);
    EXPECT_EQ(m_dic.FindIDPos(std::string(51, 'I'), std::string(83, 'K'), DicPath()), 0);
}

TEST_F(AppUserVoiceDicTest, FreedSlotIsReusedWithoutTheFormerUsersModels)
{
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    PutModel("aaj", "alice's voice");
    ASSERT_EQ(m_dic.SetUserVoice("alice", "KEYA", "aaj"), 1);
    ASSERT_EQ(m_dic.DelUser("alice", "KEYA"), 1);
    EXPECT_EQ(m_dic.FindIDPos("alice", "KEYA", DicPath()), -1);
    EXPECT_EQ(m_dic.FindBlankSlot(DicPath()), 0);
    ASSERT_EQ(m_dic.AddUser("bob", "KEYB"), 1);
    EXPECT_EQ(std::filesystem::file_size(DicPath()), 125000u);
    EXPECT_EQ(m_dic.FindIDPos("bob", "KEYB", DicPath()), 0);
    ASSERT_EQ(m_dic.GetUserVoice("bob", "KEYB", "aaj"), 1);
    EXPECT_EQ(ReadBytes(ModelPath("aaj")), "");
}

TEST_F(AppUserVoiceDicTest, FirstMatchingIdDecidesEvenWhenALaterSlotHasTheKey)
{
    ASSERT_EQ(m_dic.AddUser("alice", "KEY1"), 1);
    ASSERT_EQ(m_dic.AddUser("alice", "KEY2"), 1);
    EXPECT_EQ(m_dic.FindIDPos("alice", "KEY2", DicPath()), -1);
    EXPECT_EQ(m_dic.FindIDPos("alice", "key1", DicPath()), 0);
    PutModel("aaj", "x");
    EXPECT_EQ(m_dic.SetUserVoice("alice", "KEY2", "aaj"), 0);
    EXPECT_EQ(m_dic.FindIDPos("nobody", "KEY1", DicPath()), -1);
}

TEST_F(AppUserVoiceDicTest, AddSlotCompletesAPartialLastSlot)
{
    WriteBytes(DicPath(), std::string(125000 + 10, '\0'));
    EXPECT_EQ(m_dic.AddSlot(DicPath()), 1);
    EXPECT_EQ(std::filesystem::file_size(DicPath()), 250000u);
    EXPECT_EQ(m_dic.GetNickPos("AAJ", 1), 125428u);
    EXPECT_EQ(m_dic.GetNickPos("xyz", 1), 0u);
}

TEST_F(AppUserVoiceDicTest, DamagedSectionLengthGivesAnEmptyModelAndAFailure)
{
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    PutModel("acj", "good");
    ASSERT_EQ(m_dic.SetUserVoice("alice", "KEYA", "acj"), 1);
    for (const std::uint32_t bad : {20656u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        PatchLe32(layout::SectionOffset(2), bad);
        PutModel("acj", "stale");
        EXPECT_EQ(m_dic.GetUserVoice("alice", "KEYA", "acj"), 0) << bad;
        EXPECT_EQ(ReadBytes(ModelPath("acj")), "") << bad;
    }
}

TEST_F(AppUserVoiceDicTest, DamagedIdLengthsMatchNoUserAndNeverReadPastTheField)
{
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    ASSERT_EQ(m_dic.AddUser("bob", "KEYB"), 1);
    PatchLe32(layout::kIdLengthOffset, 0xFFFFFFF0u);
    EXPECT_EQ(m_dic.FindIDPos("alice", "KEYA", DicPath()), -1);
    EXPECT_EQ(m_dic.FindIDPos("bob", "KEYB", DicPath()), 1);
    PatchLe32(125000 + layout::kCertiLengthOffset, 241);
    EXPECT_EQ(m_dic.FindIDPos("bob", "KEYB", DicPath()), -1);
}

TEST_F(AppUserVoiceDicTest, TruncatedAndRandomFilesNeverCrashTheReaders)
{
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    ASSERT_EQ(m_dic.AddUser("bob", "KEYB"), 1);
    PutModel("aaj", store_test::RandomBytes(3000, 3));
    ASSERT_EQ(m_dic.SetUserVoice("bob", "KEYB", "aaj"), 1);
    const std::string full = ReadBytes(DicPath());
    // Every offset around the slot headers and the end, then a coarse walk over the rest.
    std::vector<std::size_t> cuts;
    for (std::size_t i = 0; i < 450; ++i) {
        cuts.push_back(125000 + i);
    }
    for (std::size_t i = 0; i < 64; ++i) {
        cuts.push_back(i);
        cuts.push_back(full.size() - i);
    }
    for (std::size_t i = 0; i < full.size(); i += 4999) {
        cuts.push_back(i);
    }
    for (const std::size_t cut : cuts) {
        WriteBytes(DicPath(), full.substr(0, cut));
        const int bob = m_dic.FindIDPos("bob", "KEYB", DicPath());
        EXPECT_EQ(bob, cut >= 250000 ? 1 : -1) << cut;
        EXPECT_EQ(m_dic.GetUserVoice("bob", "KEYB", "aaj"), cut >= 250000 ? 1 : 0);
        EXPECT_EQ(m_dic.FindBlankSlot(DicPath()), -1);
    }
    for (unsigned seed = 0; seed < 20; ++seed) {
        WriteBytes(DicPath(), store_test::RandomBytes(125000 * (seed % 3), seed));
        (void)m_dic.FindIDPos("bob", "KEYB", DicPath());
        (void)m_dic.GetUserVoice("bob", "KEYB", "aaj");
        (void)m_dic.FindBlankSlot(DicPath());
    }
}

TEST_F(AppUserVoiceDicTest, MissingFilesAreReportedNotThrown)
{
    CAppUserVoiceDic dic;
    dic.SetBackupVoiceDicPath(Path("nowhere/halvoxuvd.dat"), Path("nowhere/work/"));
    EXPECT_EQ(dic.AddUser("alice", "KEYA"), 0);
    EXPECT_FALSE(dic.GetLastErrorText().empty());
    EXPECT_EQ(dic.FindIDPos("alice", "KEYA", dic.GetVoiceDicPath()), -1);
    EXPECT_EQ(dic.AddSlot(dic.GetVoiceDicPath()), -1);
    ASSERT_EQ(m_dic.AddUser("alice", "KEYA"), 1);
    EXPECT_EQ(m_dic.SetUserVoice("alice", "KEYA", "adj"), 0); // no model file in the work folder
}

} // namespace
