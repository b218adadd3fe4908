#include "bundle/HeaderText.h"

#include <vector>

namespace deskwarden::bundle::header_text {
namespace {

constexpr char kPartSeparator = '*';
constexpr char kEntrySeparator = ';';
constexpr char kFieldSeparator = ',';

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

bool ParseEntry(const std::string& text, AccessEntry& entry)
{
    const auto comma = text.find(kFieldSeparator);
    if (comma == std::string::npos || comma == 0) {
        return false;
    }
    entry = {text.substr(0, comma), text.substr(comma + 1)};
    return true;
}

bool EntryIsWritable(const AccessEntry& entry)
{
    const auto bad = [](const std::string& s, bool id) {
        for (const char c : s) {
            if (c == '\0' || c == kPartSeparator || c == kEntrySeparator || (id && c == kFieldSeparator)) {
                return true;
            }
        }
        return false;
    };
    return !entry.id.empty() && !bad(entry.id, true) && !bad(entry.key, false);
}

} // namespace

bool Compose(const HeaderValues& values, std::string& text, std::string& error)
{
    if (values.password.find_first_of(std::string("*\0", 2)) != std::string::npos) {
        error = "the file password holds a character a bundle cannot keep";
        return false;
    }
    if (!EntryIsWritable(values.owner)) {
        error = "the owner's ID or key is missing or holds a character a bundle cannot keep";
        return false;
    }
    text = values.password + kPartSeparator + values.owner.id + kFieldSeparator + values.owner.key + kPartSeparator;
    for (std::size_t i = 0; i < values.permitted.size(); ++i) {
        if (!EntryIsWritable(values.permitted[i])) {
            error = "a permitted user's ID or key is missing or holds a character a bundle cannot keep";
            return false;
        }
        text += (i == 0 ? "" : std::string(1, kEntrySeparator)) + values.permitted[i].id + kFieldSeparator
            + values.permitted[i].key;
    }
    return true;
}

bool Parse(const std::string& text, HeaderValues& values)
{
    const auto parts = Split(text, kPartSeparator);
    if (parts.size() != 3) {
        return false;
    }
    HeaderValues parsed;
    parsed.password = parts[0];
    if (!ParseEntry(parts[1], parsed.owner)) {
        return false;
    }
    if (!parts[2].empty()) {
        for (const auto& entryText : Split(parts[2], kEntrySeparator)) {
            AccessEntry entry;
            if (!ParseEntry(entryText, entry)) {
                return false;
            }
            parsed.permitted.push_back(std::move(entry));
        }
    }
    values = std::move(parsed);
    return true;
}

} // namespace deskwarden::bundle::header_text
