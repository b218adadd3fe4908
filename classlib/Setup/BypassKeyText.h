#pragma once

#include <ctime>
#include <string>

namespace talk {

/** Number of random capital letters in a by-pass key's plain text. */
inline constexpr std::size_t kBypassKeyLetters = 4;

/**
 * The plain text of a by-pass key: `letters` followed by the two-digit month, day, year, hour, minute
 * and second of `moment`. Every text made from kBypassKeyLetters letters has the same length.
 */
std::string BypassKeyPlainText(const std::string& letters, const std::tm& moment);

/** kBypassKeyLetters capital letters 'A' to 'Z' from the system's random source. */
std::string RandomCapitalLetters();

} // namespace talk
