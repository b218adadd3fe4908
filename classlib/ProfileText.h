#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talk {

/**
 * The text of a private-profile settings file ("[section]" lines and "key=value" lines) held as
 * lines, so that an edit changes only the line it concerns and keeps every other line, comment and
 * line ending as written. Section and key names compare without regard to ASCII case; the first
 * section or key of a name wins, as later duplicates are never reached by a lookup.
 */
class ProfileText
{
public:
    explicit ProfileText(std::string_view content);

    /** The value of `key` in `section`, blanks around it removed; nullopt when either is missing. */
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    /** Names of all sections in file order. */
    std::vector<std::string> SectionNames() const;

    /** Key names of `section` in file order; empty when the section is missing. */
    std::vector<std::string> KeyNames(std::string_view section) const;

    /**
     * Sets `key` in `section` to `value`, adding the key at the end of the section or the section at
     * the end of the text when missing. An existing key keeps its spelling.
     * @return false, changing nothing, for a name or value that would break the line structure
     *         (line breaks anywhere, ']' in a section name, '=' in a key, empty names).
     */
    [[nodiscard]] bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    /** Removes the first line of `key` in `section`; true when there was one. */
    bool DeleteKey(std::string_view section, std::string_view key);

    /** Removes `section` with all its lines up to the next section; true when there was one. */
    bool DeleteSection(std::string_view section);

    /**
     * Makes `section` hold exactly `entries` (key, value) in that order, in place of its old lines;
     * an empty list removes the section. @return false, changing nothing, for an invalid name or value.
     */
    [[nodiscard]] bool ReplaceSection(
        std::string_view section, const std::vector<std::pair<std::string, std::string>>& entries);

    /** The whole text as it is to be written back. */
    std::string Text() const;

    /** True when the name can stand in a "[name]" line. */
    static bool IsValidSectionName(std::string_view name) noexcept;
    /** True when the name can stand left of '=' in a key line. */
    static bool IsValidKeyName(std::string_view name) noexcept;
    /** True when the value fits on one line. */
    static bool IsValidValue(std::string_view value) noexcept;

private:
    struct Line
    {
        std::string body; // without its line break
        std::string ending; // "\n", "\r\n" or "" for a last line without a break
    };
    struct SectionSpan
    {
        std::size_t header; // index of the "[name]" line
        std::size_t end; // one past the last line that belongs to the section
    };

    std::optional<SectionSpan> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKeyLine(const SectionSpan& span, std::string_view key) const;
    void AppendLine(std::string body);

    std::vector<Line> m_lines;
    bool m_hasBom = false;
    std::string m_newline = "\n";
};

} // namespace talk
