#include "settings/RestoreJob.h"
#include "settings/BackupSet.h"

#include "../users/UsersTestSupport.h"

#include "AtomicFile.h"

#include <fstream>

namespace deskwarden::test {
namespace {

using namespace deskwarden::settings;

/** Records the log and the questions; answers every question the same way. */
class ScriptedListener : public RestoreListener
{
public:
    explicit ScriptedListener(bool overwrite)
        : m_overwrite(overwrite)
    {
    }
    void Log(const std::string& line) override { lines.push_back(line); }
    bool ConfirmOverwrite(const std::string& id) override
    {
        questions.push_back(id);
        return m_overwrite;
    }
    void Progress(int percent) override { progress.push_back(percent); }

    std::vector<std::string> lines;
    std::vector<std::string> questions;
    std::vector<int> progress;

private:
    bool m_overwrite;
};

std::string ReadFile(const std::string& path)
{
    std::string bytes;
    std::string error;
    EXPECT_TRUE(talk::ReadWholeFile(path, bytes, error)) << error;
    return bytes;
}

/**
 * Users "alice" (administrator, two words) and "bob" (general user) are backed up into backup/, then the
 * live installation is emptied as a reinstallation would leave it.
 */
class Restore : public UserStoresTest
{
protected:
    void SetUp() override
    {
        UserStoresTest::SetUp();
        AddProgramUser("alice", 0, "aaj,abj", "apw");
        AddProgramUser("bob", 1, "acj", "bpw");
        StoreModel("alice", "aaj", "alice says aaj");
        StoreModel("alice", "abj", "alice says abj");
        StoreModel("bob", "acj", "bob says acj");
        m_backup = Path("backup");
        std::filesystem::create_directories(m_backup);
        std::string error;
        ASSERT_TRUE(backup::CopyToFolder(m_folder, m_backup, error)) << error;
        m_backupUsers = ReadFile(m_backup + "/halvoxuid.dat");
        m_backupVoices = ReadFile(m_backup + "/halvoxuvd.dat");
    }

    void StoreModel(const std::string& id, const std::string& nick, const std::string& bytes)
    {
        std::ofstream(WorkFolder() + nick + ".bin", std::ios::binary) << bytes;
        ASSERT_EQ(m_voices.SetUserVoice(id, m_users.GetCertiKey(id), nick), 1);
        std::filesystem::remove(WorkFolder() + nick + ".bin");
    }

    std::string Model(const std::string& id, const std::string& nick)
    {
        if (m_voices.GetUserVoice(id, m_users.GetCertiKey(id), nick) != 1)
            return "(none)";
        std::string bytes = ReadFile(WorkFolder() + nick + ".bin");
        std::filesystem::remove(WorkFolder() + nick + ".bin");
        return bytes;
    }

    void EmptyLiveStores()
    {
        ASSERT_EQ(m_users.CreateUserDic(m_folder + "/halvoxuid.dat"), 1);
        ASSERT_EQ(m_voices.CreateVoiceDic(m_folder + "/halvoxuvd.dat"), 1);
    }

    RestoreReport Run(ScriptedListener& listener, bool nt = true)
    {
        const auto files = backup::FindBackup(m_backup);
        EXPECT_TRUE(files.has_value());
        return RunRestore(*files, RestoreTarget {m_users, m_voices, m_accounts, nt}, listener);
    }

    void ExpectBackupUnchanged()
    {
        EXPECT_EQ(ReadFile(m_backup + "/halvoxuid.dat"), m_backupUsers);
        EXPECT_EQ(ReadFile(m_backup + "/halvoxuvd.dat"), m_backupVoices);
    }

    std::string m_backup;
    std::string m_backupUsers;
    std::string m_backupVoices;
};

TEST_F(Restore, ABackupRestoresEveryUserWithHisWordsModelsAndAccount)
{
    EmptyLiveStores();
    ScriptedListener listener(true);
    const RestoreReport report = Run(listener);
    EXPECT_EQ(report.restored, (std::vector<std::string> {"alice", "bob"}));
    EXPECT_TRUE(report.failed.empty());
    EXPECT_EQ(listener.lines,
        (std::vector<std::string> {"Loading data ...",
            "=======================================", "aliceの情報復元成功。", "bobの情報復元成功。",
            "=======================================", "復元成功したユーザー2人。", "復元失敗したユーザー0人。",
            "ユーザー情報復元完了。"}));
    EXPECT_EQ(listener.progress, (std::vector<int> {50, 100}));
    EXPECT_TRUE(listener.questions.empty());
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj,abj");
    EXPECT_EQ(m_users.GetPassWord("bob"), "bpw");
    EXPECT_EQ(m_users.GetGroupInfo("bob"), "1");
    EXPECT_EQ(Model("alice", "aaj"), "alice says aaj");
    EXPECT_EQ(Model("alice", "abj"), "alice says abj");
    EXPECT_EQ(Model("bob", "acj"), "bob says acj");
    EXPECT_TRUE(AccountExists("alice"));
    EXPECT_TRUE(PasswordIs("bob", "bpw"));
    EXPECT_EQ(Privilege("alice"), 2) << "administrators' group";
    EXPECT_FALSE(std::filesystem::exists(WorkFolder() + "aaj.bin")) << "no model left in the work folder";
    ExpectBackupUnchanged();
}

TEST_F(Restore, TheNineXFamilyMakesNoAccounts)
{
    EmptyLiveStores();
    ScriptedListener listener(true);
    EXPECT_EQ(Run(listener, false).restored.size(), 2u);
    EXPECT_FALSE(AccountExists("alice"));
}

TEST_F(Restore, DecliningEveryOverwriteRestoresNobodyAndCountsEachAsFailed)
{
    ScriptedListener listener(false);
    const RestoreReport report = Run(listener);
    EXPECT_TRUE(report.restored.empty());
    EXPECT_EQ(report.failed, (std::vector<std::string> {"alice", "bob"}));
    EXPECT_EQ(listener.questions, (std::vector<std::string> {"alice", "bob"}));
    EXPECT_NE(std::find(listener.lines.begin(), listener.lines.end(), "aliceの情報復元失敗。"), listener.lines.end());
    EXPECT_EQ(listener.lines.at(listener.lines.size() - 3), "復元成功したユーザー0人。");
    EXPECT_EQ(listener.lines.at(listener.lines.size() - 2), "復元失敗したユーザー2人。");
    EXPECT_EQ(OverwriteQuestion("alice"), "ユーザーaliceはすでに存在します。上書きしますか？");
}

TEST_F(Restore, AnAcceptedOverwriteReplacesTheLiveUserAndHisModels)
{
    ASSERT_EQ(m_users.SetPassWord("alice", "changed"), 1);
    StoreModel("alice", "aaj", "a newer model");
    ScriptedListener listener(true);
    EXPECT_EQ(Run(listener).restored.size(), 2u);
    EXPECT_EQ(m_users.GetPassWord("alice"), "apw");
    EXPECT_EQ(Model("alice", "aaj"), "alice says aaj");
    std::vector<std::string> ids;
    m_users.GetUserIDList(ids);
    EXPECT_EQ(ids.size(), 2u) << "replaced, not added twice";
}

TEST_F(Restore, ADamagedBackupLogsTheRefusalAndChangesNothing)
{
    EmptyLiveStores();
    {
        std::ofstream damaged(m_backup + "/halvoxuid.dat", std::ios::binary | std::ios::app);
        damaged << "\x05\x00\x00";
    }
    m_backupUsers = ReadFile(m_backup + "/halvoxuid.dat");
    const std::string liveUsers = ReadFile(m_folder + "/halvoxuid.dat");
    const auto files = backup::FindBackup(m_backup);
    ASSERT_TRUE(files);
    EXPECT_EQ(CountBackupUsers(*files), -1);
    ScriptedListener listener(true);
    const RestoreReport report = Run(listener);
    EXPECT_FALSE(report.readable);
    EXPECT_TRUE(report.restored.empty());
    EXPECT_EQ(listener.lines,
        (std::vector<std::string> {"Loading data ...",
            "=======================================", "正常なバックアップファイルではないので復元ができません。"}));
    EXPECT_EQ(ReadFile(m_folder + "/halvoxuid.dat"), liveUsers);
    EXPECT_FALSE(AccountExists("alice"));
    ExpectBackupUnchanged();
}

TEST_F(Restore, ATruncatedVoiceFileIsRefusedAsAWhole)
{
    EmptyLiveStores();
    std::filesystem::resize_file(m_backup + "/halvoxuvd.dat", 1000);
    ScriptedListener listener(true);
    EXPECT_FALSE(Run(listener).readable);
    EXPECT_EQ(listener.lines.back(), kLogNotABackup);
    std::vector<std::string> ids;
    m_users.GetUserIDList(ids);
    EXPECT_TRUE(ids.empty());
}

TEST_F(Restore, AFolderWithOnlyOneOfTheTwoFilesIsNoBackup)
{
    const auto whole = backup::FindBackup(m_backup);
    ASSERT_TRUE(whole);
    EXPECT_EQ(CountBackupUsers(*whole), 2);
    std::filesystem::remove(m_backup + "/halvoxuvd.dat");
    EXPECT_FALSE(backup::FindBackup(m_backup));
    std::filesystem::create_directory(m_backup + "/halvoxuvd.dat");
    EXPECT_FALSE(backup::FindBackup(m_backup)) << "a folder is not the file";
}

TEST_F(Restore, ABackupIntoAMissingFolderFails)
{
    std::string error;
    EXPECT_FALSE(backup::CopyToFolder(m_folder, Path("nowhere"), error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace deskwarden::test
