// The stores are their owner's alone: what they create is private whatever the umask, older loose files
// are tightened when rewritten, and the strict check names every path that others could change.
#include "StoreSafety.h"
#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "IniFile.h"
#include "Setup/SetupSecure.h"
#include "StoreTestSupport.h"

#include <platform/Registry.h>
#include <platform/SystemRoot.h>

#include <sys/stat.h>

namespace {

namespace safety = talk::store_safety;
using namespace platform;

mode_t ModeOf(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

class StoreModesTest : public store_test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_umask = ::umask(0); // the most careless caller
    }
    void TearDown() override
    {
        ::umask(m_umask);
        FreshRootTest::TearDown();
    }

private:
    mode_t m_umask = 022;
};

TEST_F(StoreModesTest, EveryStoreFileAndItsLockAreCreatedPrivate)
{
    CAppUserDic users;
    ASSERT_EQ(users.SetUserDicFilePath(Path("halvoxuid.dat")), 1);
    ASSERT_EQ(users.CreateUser("Ann", "ann", "K", "pw", 1, 1, 1, 1, ""), 1);
    CAppUserVoiceDic voices;
    ASSERT_EQ(voices.SetVoiceDicPath(Root().string()), 1);
    ASSERT_EQ(voices.AddUser("ann", "K"), 1);
    CSetupSecure secure;
    ASSERT_EQ(secure.SetSetupSecureFilePath(Path("halvox.dat")), 1);
    ASSERT_EQ(secure.SetBackupBypassKey("key"), 1);
    CIniFile ini(Path("halvox.ini"));
    ASSERT_EQ(ini.WriteString("Section", "Key", "Value"), 1);

    for (const char* name : {"halvoxuid.dat", "halvoxuvd.dat", "halvox.dat", "halvox.ini", "halvoxuid.dat.lock",
             "halvoxuvd.dat.lock", "halvox.dat.lock", "halvox.ini.lock"}) {
        EXPECT_EQ(ModeOf(Path(name)), 0600u) << name;
    }
}

TEST_F(StoreModesTest, SystemRootFoldersAndDatabasesArePrivate)
{
    const std::filesystem::path nested = Root() / "deeper" / "root";
    ::setenv("WARDEN_ROOT", nested.c_str(), 1);
    const std::string value = "/opt/suite";
    HKEY key = kNullKey;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Test", KEY_ALL_ACCESS, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, "Path", REG_SZ, reinterpret_cast<const std::uint8_t*>(value.c_str()),
                  static_cast<DWORD>(value.size() + 1)),
        ERROR_SUCCESS);
    RegCloseKey(key);

    EXPECT_EQ(ModeOf((Root() / "deeper").string()), 0700u);
    EXPECT_EQ(ModeOf(nested.string()), 0700u);
    EXPECT_EQ(ModeOf(platform::RegistryFolder().string()), 0700u);
    EXPECT_EQ(ModeOf(RegHiveFilePath(HKEY_LOCAL_MACHINE)), 0600u);
}

TEST_F(StoreModesTest, OlderLooseStoresAreTightenedByTheirFirstChange)
{
    {
        CAppUserDic users;
        ASSERT_EQ(users.SetUserDicFilePath(Path("halvoxuid.dat")), 1);
        ASSERT_EQ(users.CreateUser("Ann", "ann", "K", "pw", 1, 1, 1, 1, ""), 1);
        CAppUserVoiceDic voices;
        ASSERT_EQ(voices.SetVoiceDicPath(Root().string()), 1);
    }
    for (const char* name : {"halvoxuid.dat", "halvoxuvd.dat", "halvoxuid.dat.lock"}) {
        ASSERT_EQ(::chmod(Path(name).c_str(), 0644), 0);
    }
    CAppUserDic users;
    ASSERT_EQ(users.SetUserDicFilePath(Path("halvoxuid.dat")), 1);
    EXPECT_EQ(users.GetPassWord("ann"), "pw");
    EXPECT_EQ(ModeOf(Path("halvoxuid.dat")), 0644u) << "reading changes nothing";
    ASSERT_EQ(users.SetPassWord("ann", "pw2"), 1);
    EXPECT_EQ(ModeOf(Path("halvoxuid.dat")), 0600u);
    EXPECT_EQ(ModeOf(Path("halvoxuid.dat.lock")), 0600u);

    CAppUserVoiceDic voices;
    ASSERT_EQ(voices.SetVoiceDicPath(Root().string()), 1);
    ASSERT_EQ(voices.AddUser("ann", "K"), 1);
    EXPECT_EQ(ModeOf(Path("halvoxuvd.dat")), 0600u);
    EXPECT_EQ(voices.FindIDPos("ann", "K", voices.GetVoiceDicPath()), 0) << "its data is kept";
}

// The judgement itself, on facts as lstat would give them.
TEST(StoreSafetyJudgeTest, RefusesWhatOthersCanChangeAndSecretsOthersCanRead)
{
    const uid_t owner = 1000;
    const auto judged = [&](mode_t mode, safety::Role role, uid_t fileOwner = 1000, bool link = false) {
        safety::Facts facts;
        facts.path = "/srv/warden/x";
        facts.mode = mode;
        facts.owner = fileOwner;
        facts.isLink = link;
        return safety::Judge(facts, role, owner);
    };
    EXPECT_TRUE(judged(0700, safety::Role::Folder).empty());
    EXPECT_TRUE(judged(0755, safety::Role::Folder).empty());
    EXPECT_TRUE(judged(0644, safety::Role::File).empty());
    EXPECT_TRUE(judged(0600, safety::Role::Secret).empty());
    EXPECT_TRUE(judged(0755, safety::Role::Folder, 0).empty()) << "root may own anything";
    EXPECT_TRUE(judged(01777, safety::Role::Ancestor, 0).empty()) << "a sticky shared folder above is fine";

    EXPECT_EQ(judged(0775, safety::Role::Folder).size(), 1u);
    EXPECT_EQ(judged(0757, safety::Role::Ancestor).size(), 1u);
    EXPECT_EQ(judged(01777, safety::Role::Folder).size(), 1u) << "the sticky exception is for folders above only";
    EXPECT_EQ(judged(0640, safety::Role::Secret).size(), 1u);
    EXPECT_EQ(judged(0666, safety::Role::Secret).size(), 2u);

    const std::vector<safety::Finding> stranger = judged(0600, safety::Role::Secret, 4242);
    ASSERT_EQ(stranger.size(), 1u);
    EXPECT_NE(stranger[0].problem.find("owned by"), std::string::npos);
    EXPECT_EQ(stranger[0].fix.rfind("chown ", 0), 0u);

    EXPECT_EQ(judged(0777, safety::Role::Secret, 4242, true).size(), 1u) << "a store must not be a link";
    EXPECT_TRUE(judged(0777, safety::Role::File, 4242, true).empty());

    const std::vector<safety::Finding> open = judged(0666, safety::Role::File);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(safety::FindingText(open[0]),
        "/srv/warden/x: is writable by group or others; to fix: chmod go-w /srv/warden/x");
}

TEST(StoreSafetyJudgeTest, KnowsWhichFilesHoldSecrets)
{
    for (const char* path : {"/r/program/halvoxuid.dat", "/r/program/halvoxuvd.dat", "/r/program/halvox.dat",
             "/r/accounts.db", "/r/accounts.db-wal", "/r/registry/HKEY_LOCAL_MACHINE.db", "/r/program/work/aaj.bin",
             "/r/program/halvoxuid.dat.lock", "/r/program/halvoxurh.dat"}) {
        EXPECT_TRUE(safety::IsSecretStore(path)) << path;
    }
    for (const char* path : {"/r/program/skin/default/skin.ini", "/r/program/wave/start.wav", "/r/system/x.dat"}) {
        EXPECT_FALSE(safety::IsSecretStore(path)) << path;
    }
}

class StoreSafetyCheckTest : public store_test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        ASSERT_EQ(::chmod(Root().c_str(), 0700), 0);
        std::string error;
        ASSERT_TRUE(platform::EnsureFolder(Root() / "program", error)) << error;
        CAppUserDic users;
        ASSERT_EQ(users.SetUserDicFilePath(Path("program/halvoxuid.dat")), 1);
        ASSERT_EQ(users.CreateUser("Ann", "ann", "K", "pw", 1, 1, 1, 1, ""), 1);
        std::filesystem::create_directories(Root() / "media" / "usb");
    }

    std::vector<std::string> Check() const
    {
        std::vector<std::string> texts;
        for (const safety::Finding& finding :
            safety::CheckInstallation(Root().string(), Path("program"), ::geteuid())) {
            texts.push_back(safety::FindingText(finding));
        }
        return texts;
    }
};

TEST_F(StoreSafetyCheckTest, FreshInstallationPassesAndEachLooseModeIsNamed)
{
    EXPECT_TRUE(Check().empty()) << ::testing::PrintToString(Check());

    ASSERT_EQ(::chmod(Path("media/usb").c_str(), 0777), 0);
    EXPECT_TRUE(Check().empty()) << "removable drives are not the installation";

    ASSERT_EQ(::chmod(Path("program/halvoxuid.dat").c_str(), 0644), 0);
    ASSERT_EQ(::chmod(Path("program").c_str(), 0770), 0);
    const std::vector<std::string> findings = Check();
    ASSERT_EQ(findings.size(), 2u) << ::testing::PrintToString(findings);
    EXPECT_EQ(findings[0], Path("program") + ": is writable by group or others; to fix: chmod go-w " + Path("program"));
    EXPECT_EQ(findings[1],
        Path("program/halvoxuid.dat") + ": holds secrets and is readable by group or others; to fix: chmod 600 "
            + Path("program/halvoxuid.dat"));
}

TEST_F(StoreSafetyCheckTest, StoreOwnedBySomeoneElseOrALinkIsRefused)
{
    std::filesystem::create_symlink(Path("program/halvoxuid.dat"), Path("program/halvoxuvd.dat"));
    std::vector<std::string> findings = Check();
    ASSERT_EQ(findings.size(), 1u) << ::testing::PrintToString(findings);
    EXPECT_NE(findings[0].find("halvoxuvd.dat: is a symbolic link"), std::string::npos);
    std::filesystem::remove(Path("program/halvoxuvd.dat"));

    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to someone else";
    }
    ASSERT_EQ(::chown(Path("program/halvoxuid.dat").c_str(), 4242, 4242), 0);
    findings = Check();
    ASSERT_EQ(findings.size(), 1u) << ::testing::PrintToString(findings);
    EXPECT_NE(findings[0].find("halvoxuid.dat: is owned by 4242, not by root"), std::string::npos) << findings[0];
}

TEST_F(StoreSafetyCheckTest, MissingRootIsAFinding)
{
    const std::vector<safety::Finding> findings
        = safety::CheckInstallation((Root() / "absent").string(), "", ::geteuid());
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].problem, "does not exist or cannot be examined");
}

} // namespace
