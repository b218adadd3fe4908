#include "tooltip/MarkupValue.h"

#include <limits>

namespace deskwarden::tooltip {

namespace {

int DigitValue(char c) noexcept
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

} // namespace

std::uint32_t ReadTagNumber(std::string_view text) noexcept
{
    unsigned base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text[0] == '0') {
        base = 8;
    }
    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = DigitValue(c);
        if (digit >= static_cast<int>(base)) {
            break;
        }
        value = value * base + static_cast<unsigned>(digit);
        if (value > kLimit) {
            return static_cast<std::uint32_t>(kLimit);
        }
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace deskwarden::tooltip
