#include "UserRecord.h"

namespace talk::user_record {

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    for (;;) {
        const auto at = text.find(separator);
        if (at == std::string_view::npos) {
            parts.emplace_back(text);
            return parts;
        }
        parts.emplace_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
}

std::string FieldOf(std::string_view record, std::size_t index)
{
    for (std::size_t i = 0; i < index; ++i) {
        const auto at = record.find(kFieldSeparator);
        if (at == std::string_view::npos) {
            return {};
        }
        record.remove_prefix(at + 1);
    }
    return std::string(record.substr(0, record.find(kFieldSeparator)));
}

std::vector<std::string> SevenFields(std::string_view record)
{
    std::vector<std::string> fields = Split(record, kFieldSeparator);
    fields.resize(kFieldCount);
    return fields;
}

std::string Join(const std::vector<std::string>& fields, bool trailing)
{
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            text += kFieldSeparator;
        }
        text += fields[i];
    }
    if (trailing) {
        text += kFieldSeparator;
    }
    return text;
}

std::string JoinNicks(const std::vector<std::string>& nicks)
{
    std::string text;
    for (std::size_t i = 0; i < nicks.size(); ++i) {
        if (i > 0) {
            text += kNickSeparator;
        }
        text += nicks[i];
    }
    return text;
}

std::string WithField(std::string_view record, std::size_t index, std::string value)
{
    std::vector<std::string> fields = SevenFields(record);
    fields.at(index) = std::move(value);
    return Join(fields, false);
}

bool IsValidField(std::string_view value) noexcept
{
    return value.find(kFieldSeparator) == std::string_view::npos;
}

bool IsValidNick(std::string_view nick) noexcept
{
    return IsValidField(nick) && nick.find(kNickSeparator) == std::string_view::npos;
}

} // namespace talk::user_record
