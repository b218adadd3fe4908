#pragma once

#include "settings/BackupSet.h"

#include <string>
#include <vector>

class CAppUserDic;
class CAppUserVoiceDic;
class CSystemUser;

namespace deskwarden::settings {

// Log lines of a restore, each shown as it comes.
inline constexpr const char* kLogLoading = "Loading data ...";
inline constexpr const char* kLogRule = "=======================================";
inline constexpr const char* kLogNotABackup = "正常なバックアップファイルではないので復元ができません。";
inline constexpr const char* kLogFinished = "ユーザー情報復元完了。";

/** The live installation a restore writes to; `ntFamily` says whether program users are local accounts too. */
struct RestoreTarget
{
    CAppUserDic& users;
    CAppUserVoiceDic& voices;
    CSystemUser& accounts;
    bool ntFamily = true;
};

/** Whoever watches a restore: reads its log, answers its questions and shows its progress. */
class RestoreListener
{
public:
    virtual ~RestoreListener() = default;
    virtual void Log(const std::string& line) = 0;
    /** Asked before an existing user `id` is replaced; false keeps him and counts a failure. */
    virtual bool ConfirmOverwrite(const std::string& id) = 0;
    /** The users done so far as a percentage of all. */
    virtual void Progress(int percent) = 0;
};

/** How a restore ended. */
struct RestoreReport
{
    bool readable = false; // false: the backup was refused as a whole and nothing changed
    std::vector<std::string> restored;
    std::vector<std::string> failed;
};

/** "ユーザー<id>はすでに存在します。上書きしますか？" */
std::string OverwriteQuestion(const std::string& id);
std::string RestoredLine(const std::string& id);
std::string FailedLine(const std::string& id);
std::string RestoredCountLine(int count);
std::string FailedCountLine(int count);

/** The number of users in the backup; -1 when its user dictionary cannot be read whole. */
int CountBackupUsers(const backup::BackupFiles& files) noexcept;

/**
 * Restores every user of the backup into `target`, in the backup's order, with his local account (NT
 * family; an account failure does not stop the user's restore) and his voice models. A backup whose user
 * dictionary or voice dictionary is damaged is refused before anything changes. The backup files are only
 * read.
 */
RestoreReport RunRestore(
    const backup::BackupFiles& files, const RestoreTarget& target, RestoreListener& listener) noexcept;

} // namespace deskwarden::settings
