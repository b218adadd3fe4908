#pragma once

#include <cstddef>
#include <string_view>

namespace talk {

inline constexpr std::size_t kProcessKeyLength = 1003;

/** The system-wide pass phrase: 1003 characters of Base64, the same in every program. */
std::string_view ProcessKeyText();

} // namespace talk
