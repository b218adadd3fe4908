#include "AppUserDic.h"

#include "StoreFaults.h"
#include "StoreTestSupport.h"
#include "UserDicFormat.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

using store_test::ReadBytes;
using store_test::WriteBytes;

class AppUserDicTest : public store_test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        ASSERT_EQ(m_dic.SetUserDicFilePath(DicPath()), 1);
    }

    std::string DicPath() const { return Path("halvoxuid.dat"); }

    void AddSampleUsers()
    {
        ASSERT_EQ(m_dic.CreateUser("Alice", "alice", "KEYALICE", "pw1", 0, 1, 1, 1, "aaj,abj"), 1);
        ASSERT_EQ(m_dic.CreateUser("Bob", "bob", "KEYBOB", "pw2", 1, 1, 0, 5, ""), 1);
        ASSERT_EQ(m_dic.CreateUser("Carol", "carol", "KEYCAROL", "pw3", 1, 0, 0, 0, "acj"), 1);
    }

    std::vector<std::string> ReloadedIds()
    {
        CAppUserDic fresh;
        fresh.SetUserDicFilePath(DicPath());
        std::vector<std::string> ids;
        fresh.GetUserIDList(ids);
        return ids;
    }

    CAppUserDic m_dic;
};

TEST_F(AppUserDicTest, NewDictionaryIsAnEmptyFile)
{
    EXPECT_TRUE(std::filesystem::exists(DicPath()));
    EXPECT_EQ(std::filesystem::file_size(DicPath()), 0u);
    std::vector<std::string> ids {"stale"};
    EXPECT_EQ(m_dic.GetUserIDList(ids), 1);
    EXPECT_TRUE(ids.empty());
    EXPECT_TRUE(m_dic.IsLoadComplete());
}

TEST_F(AppUserDicTest, CreatedUsersSurviveAReloadWithTheirFields)
{
    AddSampleUsers();
    EXPECT_EQ(m_dic.GetUserWholeInfo("bob"), "bob;Bob;pw2;1;KEYBOB;101;;");
    CAppUserDic fresh;
    ASSERT_EQ(fresh.SetUserDicFilePath(DicPath()), 1);
    CAppUserDic::USER_INFORMATION info;
    ASSERT_EQ(fresh.GetUser("ALICE", info), 1);
    EXPECT_EQ(info.id, "alice");
    EXPECT_EQ(info.isGeneralUser, 0);
    EXPECT_EQ(info.certiKey, "KEYALICE");
    EXPECT_EQ(info.nicks, (std::vector<std::string> {"aaj", "abj"}));
    CAppUserDic::USER_DICTIONARY stored;
    ASSERT_EQ(fresh.GetUserInfo("Bob", stored), 1);
    EXPECT_EQ(stored.group, 1);
    EXPECT_EQ(stored.authority, "101");
    EXPECT_EQ(stored.voiceList, "");
    EXPECT_EQ(ReloadedIds(), (std::vector<std::string> {"alice", "bob", "carol"}));
}

TEST_F(AppUserDicTest, LookupsIgnoreCaseButVerifiersDoNot)
{
    AddSampleUsers();
    EXPECT_EQ(m_dic.VerifyUserInfo("CAROL"), 2);
    EXPECT_EQ(m_dic.GetPassWord("Alice"), "pw1");
    EXPECT_EQ(m_dic.VerifyPassWord("ALICE", "pw1"), 0);
    EXPECT_EQ(m_dic.VerifyPassWord("alice", "PW1"), -1);
    EXPECT_EQ(m_dic.VerifyCertiKey("bob", "keybob"), -1);
    EXPECT_EQ(m_dic.VerifyCertiKey("bob", "KEYBOB"), 1);
    EXPECT_EQ(m_dic.VerifyGroupInfo("carol", "1"), 2);
    EXPECT_EQ(m_dic.VerifyAuthority("bob", "101"), 1);
    EXPECT_EQ(m_dic.CreateUser("x", "BOB", "K", "p", 0, 0, 0, 0, ""), 0);
    EXPECT_EQ(m_dic.GetPassWord("nobody"), "");
    EXPECT_EQ(m_dic.SetPassWord("nobody", "x"), 0);
    EXPECT_EQ(m_dic.VerifyUserInfo("nobody"), -1);
}

TEST_F(AppUserDicTest, SetUserKeepsCertificateKeyAndVoicesAndTakesTheIdSpelling)
{
    AddSampleUsers();
    ASSERT_EQ(m_dic.SetUser("Alice B", "ALICE", "new", 1, 0, 7, 0), 1);
    EXPECT_EQ(m_dic.GetUserWholeInfo("alice"), "ALICE;Alice B;new;1;KEYALICE;010;aaj,abj;");
}

TEST_F(AppUserDicTest, StructureSetterWritesRightsUnreducedAndRefusesMultiDigitOnes)
{
    AddSampleUsers();
    CAppUserDic::USER_INFORMATION info;
    ASSERT_EQ(m_dic.GetUser("bob", info), 1);
    info.decryptRight = 5;
    info.nicks = {"adj"};
    ASSERT_EQ(m_dic.SetUser("bob", info), 1);
    EXPECT_EQ(m_dic.GetUserWholeInfo("bob"), "bob;Bob;pw2;1;KEYBOB;105;adj");
    info.logonRight = 12;
    EXPECT_EQ(m_dic.SetUser("bob", info), 0);
    EXPECT_EQ(m_dic.GetAuthority("bob"), "105");
}

TEST_F(AppUserDicTest, ShortRecordsAnswerEveryGetter)
{
    AddSampleUsers();
    ASSERT_EQ(m_dic.SetUserWholeInfo("bob;Bob;pw2;1;KEYBOB;101"), 1);
    EXPECT_EQ(m_dic.GetVoiceList("bob"), "");
    EXPECT_EQ(m_dic.GetAuthority("bob"), "101");
    ASSERT_EQ(m_dic.SetUserWholeInfo("bob"), 1);
    CAppUserDic::USER_INFORMATION info;
    ASSERT_EQ(m_dic.GetUser("bob", info), 1);
    EXPECT_EQ(info.name, "");
    EXPECT_EQ(info.logonRight, 0);
    EXPECT_TRUE(info.nicks.empty());
}

TEST_F(AppUserDicTest, NickListEdgeCases)
{
    AddSampleUsers();
    ASSERT_EQ(m_dic.SetNick("bob", "aaj"), 1);
    EXPECT_EQ(m_dic.GetVoiceList("bob"), ",aaj");
    std::vector<std::string> nicks;
    ASSERT_EQ(m_dic.GetNickList("bob", nicks), 1);
    EXPECT_EQ(nicks, (std::vector<std::string> {"", "aaj"}));
    EXPECT_EQ(m_dic.VerifyNick("bob", "AAJ"), 1);
    ASSERT_EQ(m_dic.DelNick("bob", "aaj"), 1);
    EXPECT_EQ(m_dic.GetVoiceList("bob"), "");

    EXPECT_EQ(m_dic.DelNick("carol", "acj"), 0);
    EXPECT_EQ(m_dic.GetVoiceList("carol"), "acj");

    ASSERT_EQ(m_dic.SetVoiceList("alice", "n1,n2,n3,n4,n5,n6,n7"), 1);
    EXPECT_EQ(m_dic.VerifyNick("alice", "n6"), 5);
    EXPECT_EQ(m_dic.VerifyNick("alice", "n7"), -1);
    ASSERT_EQ(m_dic.DelNick("alice", "n2"), 1);
    EXPECT_EQ(m_dic.GetVoiceList("alice"), "n1,n3,n4,n5,n6");
}

TEST_F(AppUserDicTest, TextsThatWouldShiftFieldsAreRefusedAndNothingIsWritten)
{
    AddSampleUsers();
    const std::string before = ReadBytes(DicPath());
    EXPECT_EQ(m_dic.SetPassWord("alice", "a;b"), 0);
    EXPECT_EQ(m_dic.SetNick("alice", "x,y"), 0);
    EXPECT_EQ(m_dic.SetNick("alice", "x;y"), 0);
    EXPECT_EQ(m_dic.CreateUser("n;ame", "dave", "K", "p", 0, 0, 0, 0, ""), 0);
    EXPECT_EQ(m_dic.SetUser("Alice", "alice", "p;w", 0, 1, 1, 1), 0);
    EXPECT_EQ(ReadBytes(DicPath()), before);
    EXPECT_EQ(m_dic.GetPassWord("alice"), "pw1");
    EXPECT_EQ(m_dic.VerifyUserInfo("dave"), -1);
}

TEST_F(AppUserDicTest, FailedWriteAtEveryByteKeepsFileAndMemoryAsTheyWere)
{
    AddSampleUsers();
    const std::string before = ReadBytes(DicPath());
    for (std::size_t budget = 0; budget < before.size(); budget += 7) {
        m_dic.SetWriteChannel(store_test::FailAfter(budget));
        EXPECT_EQ(m_dic.SetPassWord("bob", "changed"), 0) << budget;
        EXPECT_EQ(m_dic.DelUserWholeInfo("carol"), 0) << budget;
        EXPECT_EQ(m_dic.CreateUser("Dave", "dave", "K", "p", 1, 1, 1, 1, ""), 0) << budget;
        EXPECT_FALSE(m_dic.GetLastErrorText().empty());
        EXPECT_EQ(ReadBytes(DicPath()), before) << budget;
        EXPECT_EQ(m_dic.GetPassWord("bob"), "pw2");
        EXPECT_EQ(m_dic.VerifyUserInfo("carol"), 2);
        EXPECT_EQ(m_dic.VerifyUserInfo("dave"), -1);
    }
    m_dic.SetWriteChannel({});
    EXPECT_EQ(m_dic.SetPassWord("bob", "changed"), 1);
    CAppUserDic fresh;
    fresh.SetUserDicFilePath(DicPath());
    EXPECT_EQ(fresh.GetPassWord("bob"), "changed");
}

TEST_F(AppUserDicTest, CrashDuringARewriteLeavesTheOldOrTheNewDictionary)
{
    AddSampleUsers();
    const std::string before = ReadBytes(DicPath());
    for (const std::size_t crashAt : {std::size_t {1}, before.size() / 2, before.size() - 1}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto left = crashAt;
            m_dic.SetWriteChannel([&](int fd, const char* data, std::size_t size) {
                const std::size_t n = std::min(size, left);
                (void)!::write(fd, data, n);
                left -= n;
                if (left == 0) {
                    ::_exit(3);
                }
                return static_cast<ssize_t>(n);
            });
            m_dic.SetPassWord("alice", "during-crash");
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(WEXITSTATUS(status), 3);
        EXPECT_EQ(ReadBytes(DicPath()), before) << crashAt;
        EXPECT_EQ(ReloadedIds().size(), 3u);
    }
}

TEST_F(AppUserDicTest, TruncationAtEveryOffsetLoadsTheWholeUsersBeforeIt)
{
    AddSampleUsers();
    const std::string full = ReadBytes(DicPath());
    const talk::user_dic_format::Decoded entries = talk::user_dic_format::Decode(full);
    ASSERT_EQ(entries.texts.size(), 3u);
    std::vector<std::size_t> ends;
    std::size_t end = 0;
    for (const std::string& text : entries.texts) {
        end += 4 + text.size();
        ends.push_back(end);
    }
    for (std::size_t length = 0; length < full.size(); ++length) {
        WriteBytes(DicPath(), full.substr(0, length));
        CAppUserDic dic;
        ASSERT_EQ(dic.SetUserDicFilePath(DicPath()), 1);
        std::vector<std::string> ids;
        dic.GetUserIDList(ids);
        const auto whole = static_cast<std::size_t>(
            std::count_if(ends.begin(), ends.end(), [&](std::size_t e) { return e <= length; }));
        ASSERT_EQ(ids.size(), whole) << length;
        EXPECT_EQ(dic.IsLoadComplete(), length == 0 || std::find(ends.begin(), ends.end(), length) != ends.end());
    }
}

TEST_F(AppUserDicTest, RandomBytesLoadWithoutHarmAndCanBeRewritten)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        WriteBytes(DicPath(), store_test::RandomBytes(seed * 13, seed));
        CAppUserDic dic;
        ASSERT_EQ(dic.SetUserDicFilePath(DicPath()), 1);
        std::vector<std::string> ids;
        dic.GetUserIDList(ids);
        EXPECT_EQ(dic.CreateUser("New", "newcomer", "K", "p", 1, 1, 1, 1, ""), 1) << seed;
        CAppUserDic reread;
        reread.SetUserDicFilePath(DicPath());
        EXPECT_TRUE(reread.IsLoadComplete());
        EXPECT_EQ(reread.VerifyUserInfo("newcomer"), static_cast<int>(ids.size())) << seed;
    }
}

TEST_F(AppUserDicTest, UndecipherableEntryIsKeptAsAnEmptyUserAndWrittenBackEnciphered)
{
    AddSampleUsers();
    std::string bytes;
    ASSERT_TRUE(talk::user_dic_format::Encode({"NOT HEX AT ALL"}, bytes));
    WriteBytes(DicPath(), ReadBytes(DicPath()) + bytes);
    CAppUserDic dic;
    dic.SetUserDicFilePath(DicPath());
    std::vector<std::string> ids;
    dic.GetUserIDList(ids);
    ASSERT_EQ(ids, (std::vector<std::string> {"alice", "bob", "carol", ""}));
    ASSERT_EQ(dic.SetPassWord("alice", "again"), 1);
    const auto rewritten = talk::user_dic_format::Decode(ReadBytes(DicPath()));
    ASSERT_EQ(rewritten.texts.size(), 4u);
    EXPECT_NE(rewritten.texts[3], "NOT HEX AT ALL");
}

TEST_F(AppUserDicTest, CertificateKeyIsTheMachineTextFollowedByTheId)
{
    std::string key;
    if (!m_dic.CreateCertiKey("alice", key)) {
        GTEST_SKIP() << "this machine offers neither an adapter address nor a machine id";
    }
    const std::string mac = m_dic.GetMacAddr();
    if (!mac.empty()) {
        EXPECT_EQ(mac.size(), 12u);
        EXPECT_EQ(mac.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        EXPECT_EQ(key, mac + "alice");
    }
    EXPECT_EQ(key.substr(key.size() - 5), "alice");
    ASSERT_EQ(m_dic.CreateUser("Eve", "eve", "", "p", 1, 0, 0, 0, ""), 1);
    std::string expected;
    m_dic.CreateCertiKey("eve", expected);
    EXPECT_EQ(m_dic.GetCertiKey("eve"), expected);
}

} // namespace
