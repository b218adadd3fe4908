#pragma once

#include <string>
#include <string_view>

// Names of keys, values and accounts compare without regard to case for ASCII letters only; every other
// byte (UTF-8 included) compares exactly, so that folding never depends on the locale.
namespace platform {

inline char FoldAsciiChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string FoldAscii(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded) {
        c = FoldAsciiChar(c);
    }
    return folded;
}

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

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
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
