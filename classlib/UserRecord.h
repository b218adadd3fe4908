#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text form of one user of the user dictionary: seven fields separated by ';'
// (ID, name, password, group, certificate key, three permission digits, voice names joined by ',').
namespace talk::user_record {

inline constexpr char kFieldSeparator = ';';
inline constexpr char kNickSeparator = ',';
inline constexpr std::size_t kFieldCount = 7;

enum Field : std::size_t
{
    kId = 0,
    kName = 1,
    kPassword = 2,
    kGroup = 3,
    kCertiKey = 4,
    kAuthority = 5,
    kVoiceList = 6,
};

/** Splits at `separator`; an empty text gives one empty element, a trailing separator an empty last one. */
std::vector<std::string> Split(std::string_view text, char separator);

/** Field `index` of `record`; "" when the record has fewer fields. */
std::string FieldOf(std::string_view record, std::size_t index);

/** The seven fields of `record`, missing ones empty, any beyond the seventh dropped. */
std::vector<std::string> SevenFields(std::string_view record);

/** Joins fields with ';' between them and, when `trailing`, one more ';' after the last. */
std::string Join(const std::vector<std::string>& fields, bool trailing);

/** Joins names with ','. */
std::string JoinNicks(const std::vector<std::string>& nicks);

/** The record with field `index` replaced by `value`, rebuilt from its seven fields with ';' between them. */
std::string WithField(std::string_view record, std::size_t index, std::string value);

/** True when `value` can be one field (holds no ';', so it cannot shift the fields after it). */
bool IsValidField(std::string_view value) noexcept;

/** True when `nick` can be one voice name (no ';' and no ','). */
bool IsValidNick(std::string_view nick) noexcept;

} // namespace talk::user_record
