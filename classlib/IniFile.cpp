#include "IniFile.h"
#include <platform/BoundaryGuard.h>

#include "AtomicFile.h"
#include "FileLock.h"
#include "ProfileText.h"

using talk::ProfileText;

namespace {

// Cuts at the last UTF-8 character start at or before `limit`, so a cut never leaves half a character.
std::string CutAtCharacter(std::string text, std::size_t limit)
{
    if (text.size() <= limit) {
        return text;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    text.resize(cut);
    return text;
}

std::vector<std::string> LimitNameList(std::vector<std::string> names)
{
    std::size_t used = 1; // the list's final terminator
    std::size_t kept = 0;
    for (; kept < names.size(); ++kept) {
        used += names[kept].size() + 1;
        if (used > CIniFile::kNameListBytes) {
            break;
        }
    }
    names.resize(kept);
    return names;
}

} // namespace

CIniFile::CIniFile() = default;

CIniFile::CIniFile(std::string path)
    : m_path(std::move(path))
{
}

CIniFile::~CIniFile() = default;

bool CIniFile::LoadText(std::string& text) const
{
    if (!talk::PathExists(m_path)) {
        text.clear();
        return true;
    }
    return talk::ReadWholeFile(m_path, text, m_lastError);
}

std::string CIniFile::ReadString(std::string section, std::string key, std::string defaultValue) const noexcept
{
    return platform::Guarded(defaultValue, m_lastError, [&] {
        std::string text;
        if (!LoadText(text)) {
            return defaultValue;
        }
        const auto value = ProfileText(text).Value(section, key);
        return value ? CutAtCharacter(*value, kMaxValueBytes) : defaultValue;
    });
}

template<class Edit> int CIniFile::Modify(Edit&& edit) noexcept
{
    return platform::Guarded(0, m_lastError, [&] {
        m_lastError.clear();
        if (m_path.empty()) {
            m_lastError = "no settings file set";
            return 0;
        }
        talk::FileLock lock(m_path);
        if (!lock.IsHeld()) {
            m_lastError = lock.ErrorText();
            return 0;
        }
        std::string before;
        if (!LoadText(before)) {
            return 0;
        }
        ProfileText profile(before);
        if (!edit(profile)) {
            return 0;
        }
        const std::string after = profile.Text();
        if (after == before) {
            return 1;
        }
        return talk::ReplaceFileAtomically(m_path, after, m_lastError) ? 1 : 0;
    });
}

int CIniFile::WriteString(std::string section, std::string key, std::string value) noexcept
{
    return Modify([&](ProfileText& profile) {
        if (!profile.SetValue(section, key, value)) {
            m_lastError = "section, key or value not allowed in a settings file (line break, ']' or '=')";
            return false;
        }
        return true;
    });
}

int CIniFile::WriteSection(
    std::string section, const std::vector<std::pair<std::string, std::string>>& entries) noexcept
{
    return Modify([&](ProfileText& profile) {
        if (!profile.ReplaceSection(section, entries)) {
            m_lastError = "section, key or value not allowed in a settings file (line break, ']' or '=')";
            return false;
        }
        return true;
    });
}

int CIniFile::DeleteKey(std::string section, std::string key) noexcept
{
    return Modify([&](ProfileText& profile) {
        profile.DeleteKey(section, key);
        return true;
    });
}

int CIniFile::DeleteSection(std::string section) noexcept
{
    return Modify([&](ProfileText& profile) {
        profile.DeleteSection(section);
        return true;
    });
}

int CIniFile::ReadSections(std::vector<std::string>& names) const noexcept
{
    return platform::GuardedOr(
        [&] {
            names.clear();
            std::string text;
            if (!LoadText(text)) {
                return 0;
            }
            names = LimitNameList(ProfileText(text).SectionNames());
            return names.empty() ? 0 : 1;
        },
        [&] {
            names.clear();
            return 0;
        });
}

int CIniFile::ReadSection(std::string section, std::vector<std::string>& keys) const noexcept
{
    return platform::GuardedOr(
        [&] {
            keys.clear();
            std::string text;
            if (!LoadText(text)) {
                return 0;
            }
            keys = LimitNameList(ProfileText(text).KeyNames(section));
            return keys.empty() ? 0 : 1;
        },
        [&] {
            keys.clear();
            return 0;
        });
}
