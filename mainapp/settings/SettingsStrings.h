#pragma once

// The texts of the settings dialog, its pages, the backup and restore and the by-pass key, as the user
// reads them.
namespace deskwarden::settings {

inline constexpr const char* kProductCaption = "Marlow Desk Warden";
inline constexpr const char* kShortCaption = "Marlow";

// Settings dialog (dialog 168) and its list of pages.
inline constexpr const char* kDialogTitle = "環境設定";
inline constexpr const char* kMenuColumn = "メニュー";

/** One page of the settings dialog: its list text, the title and description shown above it. */
struct PageText
{
    const char* item;
    const char* title;
    const char* description;
};

inline constexpr PageText kPages[] = {
    {"プログラム設定", "プログラム設定", "認証レベル、方法及びファイル暗号化関連設定をします。"},
    {"ユーザー管理", "ユーザー管理", "ユーザー登録、修正、削除及び音声パスワードの登録、削除ができます。"},
    {"情報バックアップ", "セキュリティ－情報バックアップ", "By-passキ－生成及びバックアップすることができます。"},
    {"スキン変更", "スキン変更", "音声認証画面のスキンを変更できます。"},
};

// Program settings page (dialog 109).
inline constexpr const char* kLogonVoice = "ログオンに音声認証を使用";
inline constexpr const char* kDeleteSource = "ファイル暗号化の後、元ファイルを削除";
inline constexpr const char* kDeleteBundle = "ファイル復号化の後、暗号化したファイルを削除";
inline constexpr const char* kLogonModeGroup = "OSログイン認証モード";
inline constexpr const char* kFileModeGroup = "ファイル認証モード";
inline constexpr const char* kModeVoiceAndPassword = "音声認証+パスワード";
inline constexpr const char* kModeVoice = "音声認証";
inline constexpr const char* kModePassword = "パスワード";
inline constexpr const char* kSecureMakeType = "復号化ファイル生成フォルダ設定";
inline constexpr const char* kBrowseSecureFolder = "復号化ファイル生成基本フォルダを選択してください。"; // string 113
inline constexpr const char* kInvalidDirectory = "Invalid Directory!";
inline constexpr const char* kRestartQuestion
    = "ログイン機能を有効にするには再起動する必要があります。\n今すぐ再起動しますか？";

// Backup page (dialog 171).
inline constexpr const char* kBackupTexts[] = {
    "データバックアップはユーザーの音声認証に関する",
    "情報をファイルに保存します。",
    "プログラムを再インストールしたとき、音声パスワードを",
    "再登録することなくユーザーを復元することができます。",
};
inline constexpr const char* kBypassTexts[] = {
    "By-passキーは発話ができないときやサウンドカードの",
    "故障など、音声認証が不可能な際、事前に作成し、",
    "必要なとき使用します。セキュリティー保護のため、",
    "一番新しく作成したキーのみ使用可能です。",
};
inline constexpr const char* kMakeBypassButton = "By-passキ－生成";
inline constexpr const char* kBackupButton = "ユーザー情報のバックアップ";
inline constexpr const char* kRestoreButton = "ユーザー情報の復元";

// By-pass key.
inline constexpr const char* kBypassSaved = "“By-passキ－”が生成されました。";
inline constexpr const char* kBypassNotSaved = "“By-passキ－”を保存できません。";
inline constexpr const char* kBypassDriveTitle = "By-passキーの保存";
inline constexpr const char* kReload = "Reload";

// Backup and restore.
inline constexpr const char* kBackupPrompt = "バックアップファイル保存フォルダを指定してください。";
inline constexpr const char* kBackupDone = "“データバックアップ”が完了しました。";
inline constexpr const char* kBackupFailed = "“データバックアップ”が失敗しました。";
inline constexpr const char* kRestorePrompt = "バックアップファイルを復元するフォルダを指定してください。";
inline constexpr const char* kNoBackupFiles = "バックアップファイルが存在しません。";

// Restore dialog (dialog 237).
inline constexpr const char* kRestoreTitle = "ユーザー情報の復元";
inline constexpr const char* kRestoredCountLabel = "復元ユーザー数";
inline constexpr const char* kPersonUnit = "人";
inline constexpr const char* kProgressLabel = "進行状況";
inline constexpr const char* kStart = "スタ-ト";
inline constexpr const char* kCancel = "キャンセル";
inline constexpr const char* kOk = "OK";

// Skin page (dialog 246).
inline constexpr const char* kSkinLabel = "スキン変更";
inline constexpr const char* kNarrationSwitch = "音声ガイダンスを再生";

} // namespace deskwarden::settings
