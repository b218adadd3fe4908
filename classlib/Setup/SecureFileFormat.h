#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The byte layout of the secure settings file: entries of a 4-byte little-endian length and that many
// bytes of text. Entry 0 holds the settings, entry 1 an installation record, entry 2 the by-pass key;
// bytes after entry 2 belong to nobody here and are kept.
namespace talk::secure_file_format {

inline constexpr std::size_t kSettingsCount = 6;
using SettingsDigits = std::array<int, kSettingsCount>;

/** One entry found in the bytes. */
struct EntrySpan
{
    std::size_t offset = 0; // of its length field
    std::size_t size = 0; // of its text
    std::size_t End() const noexcept { return offset + 4 + size; }
};

/** Entry `index` (0, 1, 2 ...) when it and every entry before it lie wholly inside the bytes. */
std::optional<EntrySpan> FindEntry(std::string_view bytes, std::size_t index);

/** The text of entry `index`, or nullopt when the bytes do not hold it whole. */
std::optional<std::string> EntryText(std::string_view bytes, std::size_t index);

/** Length field and text of one entry. */
std::string EncodeEntry(std::string_view text);

/** A new file: entry 0 holding `settingsCipher`, entries 1 and 2 empty. */
std::string NewFile(std::string_view settingsCipher);

/** The bytes with entry 0 written over their start, as an in-place write of it would leave them. */
std::string WithSettingsEntry(std::string_view bytes, std::string_view settingsCipher);

/**
 * The bytes with entry 2 replaced by `keyCipher` and the bytes after the old entry 2 kept behind it.
 * @return nullopt when entries 0 and 1 are not whole (there is no place for entry 2).
 */
std::optional<std::string> WithBypassEntry(std::string_view bytes, std::string_view keyCipher);

/** The six values as the text of entry 0 ("%d" each); values must be 0 to 9. */
std::string FormatSettings(const SettingsDigits& digits);

/** The six values of a settings text: digit i of the text, 0 where it is missing or not a digit. */
SettingsDigits ParseSettings(std::string_view text);

} // namespace talk::secure_file_format
