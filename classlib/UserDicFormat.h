#pragma once

#include <string>
#include <string_view>
#include <vector>

// The byte layout of the user dictionary file: entries one after another, each a 4-byte
// little-endian length N followed by N bytes of enciphered text; no header, count or end marker.
namespace talk::user_dic_format {

struct Decoded
{
    std::vector<std::string> texts; // the entries read, in file order
    bool complete = true; // false when the bytes ended inside an entry (the rest is ignored)
};

/**
 * Reads entries until the bytes run out. A length that claims more bytes than remain marks the file
 * as damaged: the entries before it are returned and nothing past the data is ever touched.
 */
Decoded Decode(std::string_view bytes);

/**
 * Lays the texts out as entries.
 * @return false (leaving `bytes` empty) when a text is too long for its 4-byte length.
 */
[[nodiscard]] bool Encode(const std::vector<std::string>& texts, std::string& bytes);

} // namespace talk::user_dic_format
