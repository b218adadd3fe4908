#include "voice/VoiceTexts.h"

#include <array>
#include <utility>

namespace talk::voice {
namespace {

struct StringEntry
{
    int id;
    const char* text;
};

// The table is small and looked up a few times per reading: a linear search is plenty.
constexpr std::array kStrings {
    StringEntry {2029, "発話の長さが異常です。"},
    StringEntry {2030, "声が小さすぎます。"},
    StringEntry {2031, "声が大きすぎます。"},
    StringEntry {2033, "登録"},
    StringEntry {2034, "認証"},
    StringEntry {3003, "音声暗号を選択した後録音ボタンを押してください。"},
    StringEntry {3004, "音声パスワードを録音してください。"},
    StringEntry {3005, "繰り返し読んでください。"},
    StringEntry {3006, "もう一度読んでください。"},
    StringEntry {3007, "録音ボタンを押してください。"},
    StringEntry {3008, "[%d]回の録音が成功しました。"},
    StringEntry {3009, "只今モデルを作成中。しばらくお待ちください。"},
    StringEntry {3012, "しばらくお待ちください。"},
    StringEntry {3013, "前もって録音された音声です。"},
    StringEntry {3014, "認証されました。"},
    StringEntry {3015, "申し訳ありませんが、認証が拒否されました。"},
    StringEntry {3019, "登録に失敗しました。"},
    StringEntry {3021, "IDを入力してください。"},
    StringEntry {3023, "[%s]は初登録です。ボイスパスワードを登録してください。"},
    StringEntry {3027, "[%s]ではありません。"},
    StringEntry {3029, "録音部分に問題があって正常な音声登録が不可能なことがあります. \nそれでも登録なさいますか?"},
    StringEntry {3030, "選択されたパスワードは既に登録されています。"},
    StringEntry {3031, "権限がないです。"},
};

// Replaces the first occurrence of `placeholder`; the texts carry at most one.
std::string Substitute(const char* text, const char* placeholder, const std::string& value)
{
    std::string result(text);
    const size_t at = result.find(placeholder);
    if (at != std::string::npos)
        result.replace(at, 2, value);
    return result;
}

} // namespace

const char* StringText(int id) noexcept
{
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id)
            return entry.text;
    }
    return "";
}

std::string FormatString(VoiceString id, const std::string& value)
{
    return Substitute(StringText(id), "%s", value);
}

std::string FormatString(VoiceString id, int value)
{
    return Substitute(StringText(id), "%d", std::to_string(value));
}

const char* PurposeWord(int purpose) noexcept
{
    switch (purpose) {
    case 0:
        return "Logon";
    case 1:
        return "Encrypt";
    case 2:
        return "Decrypt";
    case 3:
        return "Setting";
    default:
        return "User";
    }
}

} // namespace talk::voice
