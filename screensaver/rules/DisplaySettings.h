#pragma once

#include <string>

namespace screenveil {

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

/**
 * Reads a colour text "red,green,blue". Each number is taken modulo 256; a missing or unreadable number
 * reads as 0, so a damaged setting still gives a colour.
 */
Rgb ParseColourText(const std::string& text);
/** The colour as "%d,%d,%d". */
std::string ColourText(const Rgb& colour);

/** How the lock screen draws its pictures and texts (the settings file's "SCREEN_SAVER" section). */
struct DisplaySettings
{
    bool fullSize = false;
    Rgb background {128, 128, 192};
    Rgb comment {202, 188, 21};
    Rgb memo {206, 187, 49};
    Rgb name {218, 137, 37};
    Rgb shadow {0, 0, 0};
    int waitSeconds = 0;
};

// The settings file's keys of the display settings, with the texts of their defaults.
inline constexpr const char* kKeyFullSize = "FullSize";
inline constexpr const char* kKeyBackground = "BGColor";
inline constexpr const char* kKeyComment = "MentColor";
inline constexpr const char* kKeyMemo = "MemoColor";
inline constexpr const char* kKeyName = "NameColor";
inline constexpr const char* kKeyShadow = "SHColor";

} // namespace screenveil
