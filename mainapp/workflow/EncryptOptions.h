#pragma once

#include "users/UserStrings.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace deskwarden::files {
class FileList;
}

namespace deskwarden::workflow {

/** The longest file password the dialogs take. */
inline constexpr int kLongestFilePassword = 50;

/** What the encryption settings dialog holds when OK is pressed. */
struct EncryptOptionsForm
{
    std::string password;
    std::string reEntry;
    std::string bundlePath;
    std::vector<std::string> permittedIds; // the right-hand list, in its order
};

/** The dialog's fields a failed check focuses. */
enum class OptionsField
{
    Password,
    Browse,
    BundleName,
};

struct OptionsFailure
{
    users::Message message;
    OptionsField focus = OptionsField::Password;
};

// Texts of the encryption settings dialog.
inline constexpr int kBundleNameMissing = 130;
inline constexpr const char* kBundleNameMissingText = "暗号化ファイル名を入力してください。";
inline constexpr int kBundleIsListed = 1;
inline constexpr const char* kBundleIsListedText = "等しいファイルがもう存在します";
inline constexpr const char* kOptionsTitle = "ファイル暗号化設定";
inline constexpr const char* kAllUsersTitle = "全体ユーザーリスト";
inline constexpr const char* kPermittedUsersTitle = "復号可能ユーザーリスト";

/**
 * The dialog's checks on OK, in order: the two passwords must agree; the password may hold none of the
 * forbidden characters; a bundle must be named; it must not be one of the listed files (it would be
 * packed into itself). Nothing when all pass.
 */
std::optional<OptionsFailure> CheckEncryptOptions(const EncryptOptionsForm& form, const files::FileList& list);

/** Moves `id` from one list to the other (">>", "<<" or a double click); nothing when it is not in `from`. */
void MoveUser(std::vector<std::string>& from, std::vector<std::string>& to, const std::string& id);

} // namespace deskwarden::workflow
