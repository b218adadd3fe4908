#pragma once

namespace deskwarden::users {

// Texts of the registration dialog's controls.
inline constexpr const char* kNameLabel = "名前";
inline constexpr const char* kIdLabel = "ID";
inline constexpr const char* kPasswordLabel = "パスワード";
inline constexpr const char* kReEntryLabel = "パスワード確認";
inline constexpr const char* kGroupLabel = "グループ";
inline constexpr const char* kPermissionsLabel = "権限";
inline constexpr const char* kLogonPermission = "OSログイン権限";
inline constexpr const char* kEncryptPermission = "ファイル暗号化権限";
inline constexpr const char* kDecryptPermission = "ファイル復号化権限";
inline constexpr const char* kOkButton = "OK";
inline constexpr const char* kCancelButton = "キャンセル";

// Texts of the user page's controls.
inline constexpr const char* kUserPageTitle = "ユーザー管理";
inline constexpr const char* kRegisterButton = "ユーザー登録";
inline constexpr const char* kChangeButton = "情報変更";
inline constexpr const char* kDeleteUserButton = "ユーザー削除";
inline constexpr const char* kAddVoiceButton = "音声追加";
inline constexpr const char* kDeleteVoiceButton = "音声削除";
inline constexpr const char* kVoiceColumn = "登録された音声";

/** One column of the page's user list: its title and width in pixels. */
struct UserColumn
{
    const char* title;
    int width;
};

inline constexpr UserColumn kUserColumns[]
    = {{"名前", 100}, {"ID", 75}, {"グループ", 73}, {"Logon", 60}, {"Encrypt", 60}, {"Decrypt", 60}};
inline constexpr int kFirstPermissionColumn = 3;
inline constexpr int kVoiceColumnWidth = 300;

} // namespace deskwarden::users
