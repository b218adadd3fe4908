#pragma once

#include <string>
#include <string_view>

namespace talk {

/** ASCII letters folded to lower case; every other byte (UTF-8 included) is kept as it is. */
char FoldAscii(char c) noexcept;

/** True when both texts are equal once ASCII letters are folded; other bytes must match exactly. */
bool EqualsNoCase(std::string_view left, std::string_view right) noexcept;

/** The text with its ASCII letters folded to lower case. */
std::string FoldedCopy(std::string_view text);

} // namespace talk
