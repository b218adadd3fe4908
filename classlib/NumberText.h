#pragma once

#include <string_view>

namespace talk {

/** The integer value of a decimal digit character; 0 for anything else. */
int DigitValue(char c) noexcept;

/**
 * The C library's reading of a leading integer (as atoi, without its overflow fault): blanks, an
 * optional sign, digits; 0 when there are none; values beyond int are clamped.
 */
int LeadingInt(std::string_view text) noexcept;

} // namespace talk
