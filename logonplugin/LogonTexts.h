#pragma once

#include <string>

// The logon dialog's own string table. Its copy of the voice dialog words a few prompts differently; the
// shared flow speaks its own texts and the logon's window shows these in their place.
namespace wardengate::texts {

inline constexpr const char* kFirstReading = "音声暗号をおっしゃってください。";
inline constexpr const char* kNextReading = "もう一度音声暗号をおっしゃってください。";
inline constexpr const char* kReadAgain = "繰り返し読んでください。";
inline constexpr const char* kNoEnrolledVoice = "登録されない音声分かってします。";
inline constexpr const char* kEnterId = "IDを入力してください。";
inline constexpr const char* kNoPermission = "権限がないです。";
inline constexpr const char* kEnterIdAndPassword = "アイディーとパスワードを入力してください。";
inline constexpr const char* kBypassNeedsId = "アイディーを入力してください。";
inline constexpr const char* kNoRemovableDrive = "移動保存装置が存在しないです";
inline constexpr const char* kBypassKeyWrong = "誤った“By-Passキ－”です。";
inline constexpr const char* kNoSoundCapture = "サウンドカード問題で認証レベルが3レベルで臨時変更になりました。";
inline constexpr const char* kAbout = "WardenGate example (UNICODE).Created";

/** The logon's wording of a text the shared voice dialog shows; any other text comes back unchanged. */
std::string LogonWording(const std::string& shared);

} // namespace wardengate::texts
