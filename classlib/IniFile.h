#pragma once

#include "TalkExport.h"

#include <string>
#include <utility>
#include <vector>

/**
 * Reader and writer of one private-profile settings file ("[section]", "key=value" lines).
 * Section and key names compare without regard to ASCII case; values are kept as written, with the
 * blanks around them removed. Every write keeps all other lines and replaces the file atomically,
 * under a lock shared by all processes, so concurrent writers of different keys lose nothing.
 * A missing file reads as empty; the first write creates it. Methods never throw.
 */
class TALK_API CIniFile
{
public:
    /** Longest value ReadString returns, in bytes (the rest is cut at a character boundary). */
    static constexpr std::size_t kMaxValueBytes = 2047;
    /** Room for the section or key names of one listing: each name counts with one separator byte. */
    static constexpr std::size_t kNameListBytes = 16384;

    CIniFile();
    explicit CIniFile(std::string path);
    virtual ~CIniFile();
    CIniFile(const CIniFile&) = default;
    CIniFile& operator=(const CIniFile&) = default;

    /** @return the value of `key` in `section`, or `defaultValue` when either is missing or unreadable. */
    std::string ReadString(std::string section, std::string key, std::string defaultValue) const noexcept;

    /**
     * Sets `key` in `section` to `value`, creating both (and the file) when missing.
     * @return 1 on success; 0 when the file cannot be written or a name or value would break the
     *         file's lines (line breaks, ']' in a section, '=' in a key); GetLastErrorText says why.
     */
    int WriteString(std::string section, std::string key, std::string value) noexcept;

    /** Removes `key` from `section`. @return 1 when the file holds no such key afterwards, else 0. */
    int DeleteKey(std::string section, std::string key) noexcept;

    /** Removes `section` and all its keys. @return 1 when the file holds no such section afterwards, else 0. */
    int DeleteSection(std::string section) noexcept;

    /**
     * Makes `section` hold exactly the given keys and values, in order, in one atomic write; an empty
     * list removes the section. @return 1 on success; 0 as WriteString.
     */
    int WriteSection(std::string section, const std::vector<std::pair<std::string, std::string>>& entries) noexcept;

    /** Empties `names` and fills it with all section names in file order. @return 1 when there was one. */
    int ReadSections(std::vector<std::string>& names) const noexcept;

    /** Empties `keys` and fills it with the key names of `section` in file order. @return 1 when there was one. */
    int ReadSection(std::string section, std::vector<std::string>& keys) const noexcept;

    const std::string& GetPath() const noexcept { return m_path; }

    /** Reason of the last failed operation of this object, "" when none failed. */
    const std::string& GetLastErrorText() const noexcept { return m_lastError; }

private:
    bool LoadText(std::string& text) const;
    template<class Edit> int Modify(Edit&& edit) noexcept;

    std::string m_path;
    mutable std::string m_lastError;
};
