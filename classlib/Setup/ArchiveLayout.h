#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <vector>

// The archive layout in which collections are stored as binary registry values: little-endian counts and
// elements; a count takes 2 bytes below 0xFFFF, else 0xFFFF and 4 bytes; a text is its length (1 byte below
// 255, else 0xFF and 2 bytes below 0xFFFE, else 0xFF, 0xFFFF and 4 bytes) and its bytes without terminator.
// Parsers check every count and length against the bytes that are there before using it.
namespace talk::archive {

std::vector<std::uint8_t> StoreTexts(const std::vector<std::string>& texts);
std::vector<std::uint8_t> StoreBytes(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> StoreWords(const std::vector<std::uint16_t>& words);
std::vector<std::uint8_t> StoreDwords(const std::vector<std::uint32_t>& dwords);

/** The parsed collection, or nothing when the data does not hold a whole one. Bytes after it are ignored. */
std::optional<std::vector<std::string>> LoadTexts(const std::vector<std::uint8_t>& data);
std::optional<std::vector<std::uint8_t>> LoadBytes(const std::vector<std::uint8_t>& data);
std::optional<std::vector<std::uint16_t>> LoadWords(const std::vector<std::uint8_t>& data);
std::optional<std::vector<std::uint32_t>> LoadDwords(const std::vector<std::uint8_t>& data);

} // namespace talk::archive
