#include "settings/RestoreJob.h"

#include "AppUserDic.h"
#include "AppUserVoiceDic.h"
#include "SystemUser.h"
#include "VoiceDicLayout.h"

#include <platform/BoundaryGuard.h>

#include <filesystem>
#include <memory>

namespace deskwarden::settings {

namespace {

constexpr const char* kAdministrators = "Administrators";
constexpr const char* kUsers = "Users";

/** The backup opened for reading: its user dictionary and a voice dictionary that writes to the live work folder. */
struct OpenBackup
{
    CAppUserDic users;
    CAppUserVoiceDic voices;
    std::vector<std::string> ids;
};

bool IsWholeVoiceFile(const std::string& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return !ec && size % talk::voice_dic_layout::kSlotSize == 0;
}

/** Opens the backup; null when either dictionary is damaged, so that nothing is restored from it. */
std::unique_ptr<OpenBackup> Open(const backup::BackupFiles& files, const std::string& workFolder)
{
    auto open = std::make_unique<OpenBackup>();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(files.userFile, ec) || !IsWholeVoiceFile(files.voiceFile))
        return nullptr;
    if (open->users.SetUserDicFilePath(files.userFile) != 1 || !open->users.IsLoadComplete())
        return nullptr;
    open->users.GetUserIDList(open->ids);
    open->voices.SetBackupVoiceDicPath(files.voiceFile, workFolder);
    return open;
}

std::string PersonCountLine(const char* format, int count)
{
    std::string line(format);
    line.replace(line.find("%d"), 2, std::to_string(count));
    return line;
}

bool RightOf(const std::string& authority, std::size_t index)
{
    return index < authority.size() && authority[index] == '1';
}

/** Removes the live user `id`, his account (NT family) and his voice slot before he is replaced. */
void RemoveLiveUser(const std::string& id, const RestoreTarget& target)
{
    std::string ignored;
    if (target.ntFamily)
        target.accounts.AccountDelete(id, ignored);
    const std::string certiKey = target.users.GetCertiKey(id);
    target.users.DelUserWholeInfo(id);
    target.voices.DelUser(id, certiKey);
}

// Account failures are not fatal: the program user is what the voice check needs, and the administrator can
// repair the account from the user page.
void CreateAccount(const CAppUserDic::USER_DICTIONARY& info, const RestoreTarget& target)
{
    std::string ignored;
    if (target.accounts.AccountCreate(info.id, info.password, ignored) != 1)
        return;
    if (target.accounts.AccountEnable(info.id, RightOf(info.authority, 0) ? 1 : 0, ignored) != 1)
        return;
    target.accounts.AccountInsertInGroup(info.id, info.group == 0 ? kAdministrators : kUsers, ignored);
}

bool CopyVoices(const CAppUserDic::USER_DICTIONARY& info, const std::vector<std::string>& nicks, OpenBackup& backup,
    const RestoreTarget& target)
{
    for (std::size_t i = 0; i < nicks.size(); ++i) {
        const std::string& nick = nicks[i];
        if (i > 0 && target.users.SetNick(info.id, nick) != 1)
            return false;
        const bool copied = backup.voices.GetUserVoice(info.id, info.certiKey, nick) == 1
            && target.voices.SetUserVoice(info.id, info.certiKey, nick) == 1;
        std::error_code ignored;
        std::filesystem::remove(target.voices.GetWorkFolder() + nick + ".bin", ignored);
        if (!copied)
            return false;
    }
    return true;
}

bool RestoreUser(const std::string& id, OpenBackup& backup, const RestoreTarget& target, RestoreListener& listener)
{
    CAppUserDic::USER_DICTIONARY info;
    if (backup.users.GetUserInfo(id, info) != 1)
        return false;
    if (target.users.VerifyUserInfo(id) >= 0) {
        if (!listener.ConfirmOverwrite(id))
            return false;
        RemoveLiveUser(id, target);
    }
    if (target.ntFamily)
        CreateAccount(info, target);
    std::vector<std::string> nicks;
    backup.users.GetNickList(id, nicks);
    const std::string first = nicks.empty() ? std::string() : nicks.front();
    if (target.users.CreateUser(info.name, info.id, info.certiKey, info.password, info.group,
            RightOf(info.authority, 0), RightOf(info.authority, 1), RightOf(info.authority, 2), first)
        != 1)
        return false;
    if (target.voices.AddUser(info.id, info.certiKey) == 1 && CopyVoices(info, nicks, backup, target))
        return true;
    // A user without his voice models could not pass a voice check: leave none rather than half of him.
    target.voices.DelUser(info.id, info.certiKey);
    target.users.DelUserWholeInfo(info.id);
    return false;
}

RestoreReport Restore(const backup::BackupFiles& files, const RestoreTarget& target, RestoreListener& listener)
{
    RestoreReport report;
    listener.Log(kLogLoading);
    listener.Log(kLogRule);
    const std::unique_ptr<OpenBackup> backup = Open(files, target.voices.GetWorkFolder());
    if (backup == nullptr) {
        listener.Log(kLogNotABackup);
        return report;
    }
    report.readable = true;
    const std::size_t total = backup->ids.size();
    for (std::size_t done = 0; done < total; ++done) {
        const std::string& id = backup->ids[done];
        const bool restored = RestoreUser(id, *backup, target, listener);
        listener.Log(restored ? RestoredLine(id) : FailedLine(id));
        (restored ? report.restored : report.failed).push_back(id);
        listener.Progress(static_cast<int>((done + 1) * 100 / total));
    }
    listener.Log(kLogRule);
    listener.Log(RestoredCountLine(static_cast<int>(report.restored.size())));
    listener.Log(FailedCountLine(static_cast<int>(report.failed.size())));
    listener.Log(kLogFinished);
    return report;
}

} // namespace

std::string OverwriteQuestion(const std::string& id)
{
    return "ユーザー" + id + "はすでに存在します。上書きしますか？";
}

std::string RestoredLine(const std::string& id)
{
    return id + "の情報復元成功。";
}

std::string FailedLine(const std::string& id)
{
    return id + "の情報復元失敗。";
}

std::string RestoredCountLine(int count)
{
    return PersonCountLine("復元成功したユーザー%d人。", count);
}

std::string FailedCountLine(int count)
{
    return PersonCountLine("復元失敗したユーザー%d人。", count);
}

int CountBackupUsers(const backup::BackupFiles& files) noexcept
{
    return platform::Guarded(-1, [&] {
        const std::unique_ptr<OpenBackup> backup = Open(files, {});
        return backup == nullptr ? -1 : static_cast<int>(backup->ids.size());
    });
}

RestoreReport RunRestore(
    const backup::BackupFiles& files, const RestoreTarget& target, RestoreListener& listener) noexcept
{
    return platform::Guarded(RestoreReport {}, [&] { return Restore(files, target, listener); });
}

} // namespace deskwarden::settings
