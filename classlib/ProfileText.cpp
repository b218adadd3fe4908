#include "ProfileText.h"

#include <platform/AsciiCase.h>

namespace talk {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A section header is "[name]" after blanks; text after the ']' is ignored, as the system's reader does.
std::optional<std::string_view> SectionNameOf(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(trimmed.substr(1, close - 1));
}

bool IsComment(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    return !trimmed.empty() && trimmed.front() == ';';
}

std::optional<std::string_view> KeyNameOf(std::string_view line)
{
    if (IsComment(line) || SectionNameOf(line)) {
        return std::nullopt;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) {
        return std::nullopt;
    }
    return key;
}

std::string_view ValueOf(std::string_view line)
{
    return Trim(line.substr(line.find('=') + 1));
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos || text.find('\0') != std::string_view::npos;
}

} // namespace

ProfileText::ProfileText(std::string_view content)
{
    if (content.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        m_hasBom = true;
        content.remove_prefix(kUtf8Bom.size());
    }
    bool sawCrLf = false;
    while (!content.empty()) {
        const auto newline = content.find('\n');
        if (newline == std::string_view::npos) {
            m_lines.push_back({std::string(content), ""});
            break;
        }
        std::string_view body = content.substr(0, newline);
        std::string ending = "\n";
        if (!body.empty() && body.back() == '\r') {
            body.remove_suffix(1);
            ending = "\r\n";
            sawCrLf = true;
        }
        m_lines.push_back({std::string(body), ending});
        content.remove_prefix(newline + 1);
    }
    if (sawCrLf) {
        m_newline = "\r\n";
    }
}

std::optional<ProfileText::SectionSpan> ProfileText::FindSection(std::string_view section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = SectionNameOf(m_lines[i].body);
        if (!name || !platform::EqualsIgnoringAsciiCase(*name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < m_lines.size() && !SectionNameOf(m_lines[end].body)) {
            ++end;
        }
        return SectionSpan {i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileText::FindKeyLine(const SectionSpan& span, std::string_view key) const
{
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto name = KeyNameOf(m_lines[i].body);
        if (name && platform::EqualsIgnoringAsciiCase(*name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileText::Value(std::string_view section, std::string_view key) const
{
    const auto span = FindSection(section);
    if (!span) {
        return std::nullopt;
    }
    const auto line = FindKeyLine(*span, key);
    if (!line) {
        return std::nullopt;
    }
    return std::string(ValueOf(m_lines[*line].body));
}

std::vector<std::string> ProfileText::SectionNames() const
{
    std::vector<std::string> names;
    for (const Line& line : m_lines) {
        if (const auto name = SectionNameOf(line.body)) {
            names.emplace_back(*name);
        }
    }
    return names;
}

std::vector<std::string> ProfileText::KeyNames(std::string_view section) const
{
    std::vector<std::string> names;
    const auto span = FindSection(section);
    if (!span) {
        return names;
    }
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (const auto name = KeyNameOf(m_lines[i].body)) {
            names.emplace_back(*name);
        }
    }
    return names;
}

bool ProfileText::IsValidSectionName(std::string_view name) noexcept
{
    return !Trim(name).empty() && !HasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool ProfileText::IsValidKeyName(std::string_view name) noexcept
{
    const std::string_view trimmed = Trim(name);
    return !trimmed.empty() && !HasLineBreak(name) && name.find('=') == std::string_view::npos && trimmed.front() != ';'
        && trimmed.front() != '[';
}

bool ProfileText::IsValidValue(std::string_view value) noexcept
{
    return !HasLineBreak(value);
}

void ProfileText::AppendLine(std::string body)
{
    if (!m_lines.empty() && m_lines.back().ending.empty()) {
        m_lines.back().ending = m_newline;
    }
    m_lines.push_back({std::move(body), m_newline});
}

bool ProfileText::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    if (!IsValidSectionName(section) || !IsValidKeyName(key) || !IsValidValue(value)) {
        return false;
    }
    const std::string_view trimmedKey = Trim(key);
    const auto span = FindSection(section);
    if (!span) {
        AppendLine("[" + std::string(Trim(section)) + "]");
        AppendLine(std::string(trimmedKey) + "=" + std::string(value));
        return true;
    }
    if (const auto line = FindKeyLine(*span, trimmedKey)) {
        const std::string kept(*KeyNameOf(m_lines[*line].body));
        m_lines[*line].body = kept + "=" + std::string(value);
        return true;
    }
    // New keys go after the section's last non-blank line so the blank separator stays before the next section.
    std::size_t insertAt = span->end;
    while (insertAt > span->header + 1 && Trim(m_lines[insertAt - 1].body).empty()) {
        --insertAt;
    }
    if (m_lines[insertAt - 1].ending.empty()) {
        m_lines[insertAt - 1].ending = m_newline;
    }
    const auto position = m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt);
    m_lines.insert(position, Line {std::string(trimmedKey) + "=" + std::string(value), m_newline});
    return true;
}

bool ProfileText::DeleteKey(std::string_view section, std::string_view key)
{
    const auto span = FindSection(section);
    if (!span) {
        return false;
    }
    const auto line = FindKeyLine(*span, key);
    if (!line) {
        return false;
    }
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*line));
    return true;
}

bool ProfileText::DeleteSection(std::string_view section)
{
    const auto span = FindSection(section);
    if (!span) {
        return false;
    }
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(span->header),
        m_lines.begin() + static_cast<std::ptrdiff_t>(span->end));
    return true;
}

bool ProfileText::ReplaceSection(
    std::string_view section, const std::vector<std::pair<std::string, std::string>>& entries)
{
    if (!IsValidSectionName(section)) {
        return false;
    }
    for (const auto& [key, value] : entries) {
        if (!IsValidKeyName(key) || !IsValidValue(value)) {
            return false;
        }
    }
    DeleteSection(section);
    for (const auto& [key, value] : entries) {
        if (!SetValue(section, key, value)) {
            return false;
        }
    }
    return true;
}

std::string ProfileText::Text() const
{
    std::string text = m_hasBom ? std::string(kUtf8Bom) : std::string();
    for (const Line& line : m_lines) {
        text += line.body;
        text += line.ending;
    }
    return text;
}

} // namespace talk
