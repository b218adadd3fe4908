#pragma once

namespace deskwarden::workflow {

// What the encryption and decryption workflows tell the user.
inline constexpr const char* kNoFiles = "ファイルがありません。";
inline constexpr const char* kDecryptDone = "ファイル復号化完了。"; // string 153
inline constexpr const char* kNotABundle = "正常な暗号化ファイルではありません。"; // string 154
inline constexpr const char* kBundleMissing = "ファイルが存在しないです。"; // string 156
inline constexpr const char* kNoPermission = "権限がありません。"; // string 157
inline constexpr const char* kCancelled = "取り消しされました。"; // string 158

// The progress window.
inline constexpr const char* kEncryptTitle = "ファイル暗号化"; // string 141
inline constexpr const char* kDecryptTitle = "ファイル復号化"; // string 142
inline constexpr const char* kEncryptDescription = "自分の音声を利用してファイルを暗号化することができます。";
inline constexpr const char* kDecryptDescription = "自分の音声を利用してファイルを修号することができます。";

// The file password dialog.
inline constexpr const char* kFilePasswordTitle = "ファイル暗号を入力してください。";

} // namespace deskwarden::workflow
