// Several programs change the same stores at once: every change must land, a dead writer must not block
// the others, and a reader must never see a store half written.
#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "FileLock.h"
#include "IniFile.h"
#include "Setup/SetupSecure.h"
#include "StoreTestSupport.h"

#include <csignal>
#include <functional>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kChangesPerWriter = 50;

/**
 * Runs `work(k)` in `count` child processes that start together, and waits for them.
 * @return the number of children that failed (reported false, died or were killed).
 */
int RunWriters(int count, const std::function<bool(int)>& work)
{
    int gate[2];
    if (::pipe(gate) != 0) {
        return count;
    }
    std::vector<pid_t> children;
    for (int k = 0; k < count; ++k) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(gate[1]);
            char ignored;
            // Returns when the parent closes its end; nothing is ever written, so the result says nothing.
            (void)!::read(gate[0], &ignored, 1);
            ::_exit(work(k) ? 0 : 1);
        }
        children.push_back(pid);
    }
    ::close(gate[0]);
    ::close(gate[1]);
    int failed = 0;
    for (const pid_t pid : children) {
        int status = 0;
        const bool ok = pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        failed += ok ? 0 : 1;
    }
    return failed;
}

std::string WriterUser(int writer, int change)
{
    return "w" + std::to_string(writer) + "u" + std::to_string(change);
}

class StoreSharingTest : public store_test::FreshRootTest, public ::testing::WithParamInterface<int>
{
protected:
    std::string UserDicPath() const { return Path("halvoxuid.dat"); }
};

TEST_P(StoreSharingTest, UserDictionaryKeepsEveryWritersUsersAndVoiceNames)
{
    const int writers = GetParam();
    CAppUserDic setup;
    ASSERT_EQ(setup.SetUserDicFilePath(UserDicPath()), 1);
    ASSERT_EQ(setup.CreateUser("Shared", "shared", "KEY", "pw", 1, 1, 1, 1, ""), 1);

    const int failed = RunWriters(writers, [&](int k) {
        CAppUserDic dic; // loaded once, before the others' changes: each change must see them anyway
        bool ok = dic.SetUserDicFilePath(UserDicPath()) == 1;
        for (int i = 0; ok && i < kChangesPerWriter; ++i) {
            ok = dic.CreateUser("N", WriterUser(k, i), "K", "pw", 1, 1, 1, 1, "") == 1
                && dic.SetNick("shared", "v" + WriterUser(k, i)) == 1;
        }
        return ok;
    });
    ASSERT_EQ(failed, 0);

    CAppUserDic reread;
    ASSERT_EQ(reread.SetUserDicFilePath(UserDicPath()), 1);
    std::vector<std::string> ids;
    reread.GetUserIDList(ids);
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(writers * kChangesPerWriter + 1));
    std::vector<std::string> nicks;
    ASSERT_EQ(reread.GetNickList("shared", nicks), 1);
    const std::set<std::string> distinct(nicks.begin(), nicks.end());
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(writers * kChangesPerWriter) + 1); // and the empty first
    for (int k = 0; k < writers; ++k) {
        EXPECT_GE(reread.VerifyUserInfo(WriterUser(k, kChangesPerWriter - 1)), 0) << k;
    }
}

TEST_P(StoreSharingTest, VoiceDictionaryGivesEveryUserASlotOfHisOwn)
{
    const int writers = GetParam();
    CAppUserVoiceDic setup;
    ASSERT_EQ(setup.SetVoiceDicPath(Root().string()), 1);

    const int failed = RunWriters(writers, [&](int k) {
        CAppUserVoiceDic dic;
        bool ok = dic.SetVoiceDicPath(Root().string()) == 1;
        for (int i = 0; ok && i < kChangesPerWriter; ++i) {
            ok = dic.AddUser(WriterUser(k, i), "K") == 1;
            // Every third user leaves again, so that others reuse the freed slots meanwhile.
            if (ok && i % 3 == 2) {
                ok = dic.DelUser(WriterUser(k, i), "K") == 1;
            }
        }
        return ok;
    });
    ASSERT_EQ(failed, 0);

    std::set<int> slots;
    int present = 0;
    for (int k = 0; k < writers; ++k) {
        for (int i = 0; i < kChangesPerWriter; ++i) {
            const int slot = setup.FindIDPos(WriterUser(k, i), "K", setup.GetVoiceDicPath());
            if (i % 3 == 2) {
                EXPECT_LT(slot, 0) << WriterUser(k, i);
                continue;
            }
            EXPECT_GE(slot, 0) << WriterUser(k, i);
            slots.insert(slot);
            ++present;
        }
    }
    EXPECT_EQ(static_cast<int>(slots.size()), present) << "two users share a slot";
}

TEST_P(StoreSharingTest, SettingsFileAndSecureSettingsKeepEveryWritersChange)
{
    const int writers = GetParam();
    const std::string iniPath = Path("halvox.ini");
    const std::string securePath = Path("halvox.dat");
    CSetupSecure setup;
    ASSERT_EQ(setup.SetSetupSecureFilePath(securePath), 1);

    const int failed = RunWriters(writers, [&](int k) {
        CIniFile ini(iniPath);
        CSetupSecure secure;
        bool ok = secure.SetSetupSecureFilePath(securePath) == 1;
        for (int i = 0; ok && i < kChangesPerWriter; ++i) {
            ok = ini.WriteString("writer" + std::to_string(k), "key" + std::to_string(i), std::to_string(i)) == 1;
            // Writers 0 and 2 change the settings entry, the others the by-pass key: neither may undo the other.
            if (ok && k % 2 == 0) {
                CSetupSecure::tagSecureSettings settings;
                settings.firstRun = 0;
                settings.fileAuthMode = 2;
                ok = secure.SetAppSettings(settings) == 1;
            } else if (ok) {
                ok = secure.SetBackupBypassKey("KEY" + std::to_string(k)) == 1;
            }
        }
        return ok;
    });
    ASSERT_EQ(failed, 0);

    CIniFile ini(iniPath);
    for (int k = 0; k < writers; ++k) {
        for (int i = 0; i < kChangesPerWriter; ++i) {
            EXPECT_EQ(
                ini.ReadString("writer" + std::to_string(k), "key" + std::to_string(i), "lost"), std::to_string(i));
        }
    }
    CSetupSecure::tagSecureSettings settings;
    ASSERT_EQ(setup.GetAppSettings(settings), 1);
    EXPECT_EQ(settings.firstRun, 0);
    EXPECT_EQ(settings.fileAuthMode, 2);
    EXPECT_EQ(setup.GetBackupBypassKey().substr(0, 3), "KEY");
}

INSTANTIATE_TEST_SUITE_P(Writers, StoreSharingTest, ::testing::Values(2, 4));

class StoreLockTest : public store_test::FreshRootTest
{
protected:
    std::string UserDicPath() const { return Path("halvoxuid.dat"); }
};

TEST_F(StoreLockTest, WriterKilledWhileHoldingTheLockDoesNotBlockTheOthers)
{
    CAppUserDic dic;
    ASSERT_EQ(dic.SetUserDicFilePath(UserDicPath()), 1);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        talk::FileLock lock(UserDicPath());
        // Should the byte not arrive, the parent's read fails its assertion.
        (void)!::write(ready[1], lock.IsHeld() ? "y" : "n", 1);
        ::pause();
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    ASSERT_EQ(::kill(holder, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, 0), holder);
    EXPECT_EQ(dic.CreateUser("After", "after", "K", "pw", 1, 1, 1, 1, ""), 1);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST_F(StoreLockTest, ReaderNeverSeesAHalfWrittenDictionary)
{
    CAppUserDic dic;
    ASSERT_EQ(dic.SetUserDicFilePath(UserDicPath()), 1);
    ASSERT_EQ(dic.CreateUser("Steady", "steady", "K", "pw", 1, 1, 1, 1, ""), 1);
    const pid_t writer = ::fork();
    if (writer == 0) {
        CAppUserDic own;
        bool ok = own.SetUserDicFilePath(UserDicPath()) == 1;
        const std::string longName(3000, 'x');
        for (int i = 0; ok && i < 100; ++i) {
            ok = own.CreateUser(longName, "passing", "K", "pw", 1, 1, 1, 1, "") == 1
                && own.DelUserWholeInfo("passing") == 1;
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    int reads = 0;
    while (::waitpid(writer, &status, WNOHANG) == 0) {
        CAppUserDic reader;
        ASSERT_EQ(reader.SetUserDicFilePath(UserDicPath()), 1);
        ASSERT_TRUE(reader.IsLoadComplete()) << "read " << reads;
        std::vector<std::string> ids;
        reader.GetUserIDList(ids);
        ASSERT_TRUE(ids.size() == 1 || ids.size() == 2) << ids.size();
        ASSERT_EQ(ids.front(), "steady");
        ++reads;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(reads, 0);
}

TEST_F(StoreLockTest, ReaderNeverSeesAVoiceModelHalfWritten)
{
    CAppUserVoiceDic dic;
    ASSERT_EQ(dic.SetVoiceDicPath(Root().string()), 1);
    ASSERT_EQ(dic.AddUser("gail", "K"), 1);
    std::filesystem::create_directories(dic.GetWorkFolder());
    // Two models that differ in every byte and in length: any mix of them is recognisable.
    const std::string first(20000, 'a');
    const std::string second(12000, 'b');
    const pid_t writer = ::fork();
    if (writer == 0) {
        CAppUserVoiceDic own;
        own.SetBackupVoiceDicPath(dic.GetVoiceDicPath(), Path("writer-work/"));
        std::filesystem::create_directories(Path("writer-work"));
        bool ok = true;
        for (int i = 0; ok && i < 150; ++i) {
            store_test::WriteBytes(Path("writer-work/aaj.bin"), i % 2 == 0 ? first : second);
            ok = own.SetUserVoice("gail", "K", "aaj") == 1;
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    int reads = 0;
    while (::waitpid(writer, &status, WNOHANG) == 0) {
        ASSERT_EQ(dic.GetUserVoice("gail", "K", "aaj"), 1) << dic.GetLastErrorText();
        const std::string model = store_test::ReadBytes(dic.GetWorkFolder() + "aaj.bin");
        ASSERT_TRUE(model.empty() || model == first || model == second) << "a mix of " << model.size() << " bytes";
        ++reads;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(reads, 0);
}

TEST_F(StoreLockTest, ObjectSeesOtherProgramsChangesAndRefusesAChangeThatNoLongerApplies)
{
    CAppUserDic mine;
    CAppUserDic theirs;
    ASSERT_EQ(mine.SetUserDicFilePath(UserDicPath()), 1);
    ASSERT_EQ(theirs.SetUserDicFilePath(UserDicPath()), 1);
    ASSERT_EQ(mine.CreateUser("Dora", "dora", "K", "pw", 1, 1, 1, 1, "aaj"), 1);

    EXPECT_EQ(theirs.GetPassWord("dora"), "pw");
    ASSERT_EQ(theirs.DelUserWholeInfo("dora"), 1);
    EXPECT_EQ(mine.VerifyUserInfo("dora"), -1);
    EXPECT_EQ(mine.SetPassWord("dora", "new"), 0);
    EXPECT_NE(mine.GetLastErrorText().find("no user \"dora\""), std::string::npos) << mine.GetLastErrorText();
    EXPECT_EQ(mine.SetNick("dora", "abj"), 0);

    // A change made right after another within one tick of the file clock is still seen.
    ASSERT_EQ(theirs.CreateUser("Eve", "eve", "K", "pw", 1, 1, 1, 1, ""), 1);
    EXPECT_EQ(mine.GetPassWord("eve"), "pw");
    ASSERT_EQ(theirs.SetPassWord("eve", "pX"), 1);
    EXPECT_EQ(mine.GetPassWord("eve"), "pX");
}

TEST_F(StoreLockTest, ChangeFailsWithAReasonWhenTheLockCannotBeMade)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser writes into read-only folders";
    }
    CAppUserDic dic;
    ASSERT_EQ(dic.SetUserDicFilePath(UserDicPath()), 1);
    ASSERT_EQ(::chmod(Root().c_str(), 0500), 0);
    EXPECT_EQ(dic.CreateUser("Fay", "fay", "K", "pw", 1, 1, 1, 1, ""), 0);
    EXPECT_NE(dic.GetLastErrorText().find("cannot lock"), std::string::npos) << dic.GetLastErrorText();
    ::chmod(Root().c_str(), 0700);
}

} // namespace
