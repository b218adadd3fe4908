#pragma once

#include "bundle/BundleHeader.h"

#include <string>

namespace deskwarden::bundle::header_text {

/**
 * The plain header "password*ownerID,ownerKey*ID1,key1;ID2,key2".
 * @return false with `error` set when a value holds a character that would split it differently when read
 *         ('*' anywhere, ';' in an entry, ',' in an ID) or a zero byte, or when the owner is missing.
 */
[[nodiscard]] bool Compose(const HeaderValues& values, std::string& text, std::string& error);

/** Splits a plain header. @return false when it has not exactly three parts or an entry lacks its ','. */
[[nodiscard]] bool Parse(const std::string& text, HeaderValues& values);

} // namespace deskwarden::bundle::header_text
