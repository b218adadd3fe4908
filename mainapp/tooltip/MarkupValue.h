#pragma once

#include <cstdint>
#include <string_view>

namespace deskwarden::tooltip {

/**
 * Reads the number a tag carries: "0x" starts hexadecimal, a leading "0" octal, anything else decimal.
 * Reading stops at the first character that is no digit of that base, so "0x" alone and "" are 0 and
 * "12ab" is 12. Values beyond 32 bits stay at 0xFFFFFFFF.
 */
std::uint32_t ReadTagNumber(std::string_view text) noexcept;

} // namespace deskwarden::tooltip
