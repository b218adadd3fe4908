#pragma once

#include <string>

namespace talk::voice {

/** Ids of the voice dialog's string table. */
enum class VoiceString : int
{
    AbnormalLength = 2029,
    TooQuiet = 2030,
    TooLoud = 2031,
    ModeEnrol = 2033,
    ModeVerify = 2034,
    ChooseWordThenRecord = 3003,
    RecordPassword = 3004,
    ReadAgainAndAgain = 3005,
    ReadOnceMore = 3006,
    PressRecord = 3007,
    TakesRecorded = 3008,
    CreatingModel = 3009,
    PleaseWait = 3012,
    ReplayedVoice = 3013,
    Accepted = 3014,
    Denied = 3015,
    EnrolFailed = 3019,
    EnterId = 3021,
    FirstEnrolment = 3023,
    NotTheWord = 3027,
    EnrolAnyway = 3029,
    WordAlreadyEnrolled = 3030,
    NoPermission = 3031,
};

/** The text of string `id` (UTF-8), or "" for an id outside the table. */
const char* StringText(int id) noexcept;
inline const char* StringText(VoiceString id) noexcept
{
    return StringText(static_cast<int>(id));
}

/** String `id` with its one "%s" replaced by `value`. */
std::string FormatString(VoiceString id, const std::string& value);
/** String `id` with its one "%d" replaced by `value`. */
std::string FormatString(VoiceString id, int value);

/** Texts the dialog shows as they stand, without a string id. */
namespace literal {
inline constexpr const char* kEnterIdAndPassword = "IDとパスワードを入力してください。";
inline constexpr const char* kNoEnrolledVoice = "登録されない音声分かってします";
inline constexpr const char* kNoMatchingUser = "一致する使用者がいません。";
inline constexpr const char* kWrongPassword = "入力したパスワードが違います。";
inline constexpr const char* kBypassKeyMissing = "By-passキーが存在しません。";
inline constexpr const char* kBypassKeyWrong = "誤った“By-passキ－”です。";
inline constexpr const char* kTitle = "Marlow";
/** A reading too close to one already accepted: a recording of the user, not the user. */
inline constexpr const char* kCapturedReading
    = "録音された音声のようです。マイクに向かって、ご自身の声でもう一度パスワードを読んでください。";
} // namespace literal

/** Prompt sounds, each a file of the installation's "wave" folder. */
namespace sound {
inline constexpr const char* kWordRec = "sv_wordrec.wav";
inline constexpr const char* kRec = "sv_rec.wav";
inline constexpr const char* kRead = "sv_read.wav";
inline constexpr const char* kReadMore = "sv_readmore.wav";
inline constexpr const char* kReadAgain = "sv_readagain.wav";
inline constexpr const char* kVerifyTrue = "sv_verifytrue.wav";
inline constexpr const char* kVerifyFalse = "sv_verifyfalse.wav";
inline constexpr const char* kModelTrue = "sv_modeltrue.wav";
inline constexpr const char* kModelFalse = "sv_modelfalse.wav";
} // namespace sound

/** The word the result log gives a purpose: "Logon", "Encrypt", "Decrypt", "Setting", else "User". */
const char* PurposeWord(int purpose) noexcept;

} // namespace talk::voice
