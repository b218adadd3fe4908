#pragma once

#include <string>
#include <string_view>

// The suite's one case folding. Names of keys, values, accounts, users, sections and skins compare without
// regard to case for ASCII letters only; every other byte (UTF-8 included) compares exactly, so that
// folding never depends on the locale.
namespace platform {

/** The letter folded to lower case when it is an ASCII capital; any other byte as it is. */
inline char FoldAsciiChar(char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/** The text with its ASCII letters folded to lower case. */
inline std::string FoldAscii(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded) {
        c = FoldAsciiChar(c);
    }
    return folded;
}

/** The text with its ASCII letters raised to upper case. */
inline std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

/** True when both texts are equal once ASCII letters are folded; other bytes must match exactly. */
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiChar(a[i]) != FoldAsciiChar(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace platform
