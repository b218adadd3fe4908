#include "Setup/SetupFile.h"

#include "NumberText.h"
#include "Setup/InstallPath.h"
#include "Setup/RegistryEx.h"
#include <platform/AsciiCase.h>
#include "UserRecord.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string TrimBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string ReadRegistryText(platform::HKEY root, const char* key, const char* value)
{
    CRegistryEx registry(root);
    std::string text;
    if (!registry.VerifyKey(root, key) || !registry.Read(value, text)) {
        return {};
    }
    return text;
}

} // namespace

CSetupFile::CSetupFile()
    : m_baseKey(talk::kProductKey)
    , m_root(platform::HKEY_LOCAL_MACHINE)
{
}

CSetupFile::~CSetupFile() = default;

std::string CSetupFile::ReadSetting(const char* section, const std::string& key) const
{
    return Settings().ReadString(section, key, "");
}

int CSetupFile::WriteSetting(const char* section, const std::string& key, const std::string& value)
{
    if (m_settingsPath.empty()) {
        return 0;
    }
    return Settings().WriteString(section, key, value);
}

int CSetupFile::Initialize() noexcept
{
    try {
        const std::string appPath = GetAppPath();
        if (appPath.empty()) {
            return 0;
        }
        m_settingsPath = appPath + kSettingsFileName;
        return m_secure.SetSetupSecureFilePath(appPath + kSecureFileName);
    } catch (...) {
        return 0;
    }
}

int CSetupFile::SetAppPath(std::string path) noexcept
{
    try {
        return talk::WriteInstallPath(std::move(path)) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

std::string CSetupFile::GetAppPath() const noexcept
{
    try {
        return talk::ReadInstallPath();
    } catch (...) {
        return {};
    }
}

std::string CSetupFile::GetAppExecutePath() const noexcept
{
    try {
        std::string target(4096, '\0');
        const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return {};
        }
        target.resize(static_cast<std::size_t>(length));
        return target.substr(0, target.find_last_of('/') + 1);
    } catch (...) {
        return {};
    }
}

int CSetupFile::SetLastUserProgram(std::string id) noexcept
{
    try {
        return WriteSetting(kSectionDeskWarden, kKeyLastUser, id);
    } catch (...) {
        return 0;
    }
}

std::string CSetupFile::GetLastUserProgram() const noexcept
{
    try {
        return ReadSetting(kSectionDeskWarden, kKeyLastUser);
    } catch (...) {
        return {};
    }
}

std::string CSetupFile::GetLastUserLogon() const noexcept
{
    try {
        return ReadRegistryText(platform::HKEY_LOCAL_MACHINE, kWinlogonKey, kValueAltDefaultUserName);
    } catch (...) {
        return {};
    }
}

int CSetupFile::SetAppLastPos(int left, int top, int right, int bottom) noexcept
{
    try {
        const std::string text = std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(right) +
                                 "," + std::to_string(bottom);
        return WriteSetting(kSectionDeskWarden, kKeyLastExecutePos, text);
    } catch (...) {
        return 0;
    }
}

platform::RECT CSetupFile::GetAppLastPos() const noexcept
{
    platform::RECT rect;
    try {
        const std::vector<std::string> parts = talk::user_record::Split(ReadSetting(kSectionDeskWarden,
                                                                                    kKeyLastExecutePos), ',');
        const auto number = [&](std::size_t i) { return i < parts.size() ? talk::LeadingInt(parts[i]) : 0; };
        rect.left = number(0);
        rect.top = number(1);
        rect.right = number(2);
        rect.bottom = number(3);
    } catch (...) {
    }
    return rect;
}

std::string CSetupFile::GetSkinCurrent() const noexcept
{
    try {
        return ReadSetting(kSectionVoiceRecog, kKeySkin);
    } catch (...) {
        return {};
    }
}

int CSetupFile::SetSkinChange(std::string name) noexcept
{
    try {
        return name.empty() ? 0 : WriteSetting(kSectionVoiceRecog, kKeySkin, name);
    } catch (...) {
        return 0;
    }
}

int CSetupFile::GetSkinList(std::vector<std::string>& names) const noexcept
{
    try {
        const std::string list = ReadSetting(kSectionVoiceRecog, kKeySkinList);
        if (list.empty()) {
            return 1;
        }
        for (const std::string& name : talk::user_record::Split(list, ',')) {
            names.push_back(TrimBlanks(name));
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

std::string CSetupFile::GetAuthWord(std::string name) const noexcept
{
    try {
        return ReadSetting(kSectionWordList, name);
    } catch (...) {
        return {};
    }
}

int CSetupFile::GetAuthWordList(std::vector<std::string>& words) const noexcept
{
    try {
        std::vector<std::string> keys;
        const CIniFile settings = Settings();
        settings.ReadSection(kSectionWordList, keys);
        for (const std::string& key : keys) {
            words.push_back(settings.ReadString(kSectionWordList, key, ""));
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

std::string CSetupFile::GetAuthNick(std::string word) const noexcept
{
    try {
        std::vector<std::string> keys;
        const CIniFile settings = Settings();
        settings.ReadSection(kSectionWordList, keys);
        for (const std::string& key : keys) {
            if (platform::EqualsIgnoringAsciiCase(settings.ReadString(kSectionWordList, key, ""), word)) {
                return key;
            }
        }
        return {};
    } catch (...) {
        return {};
    }
}

int CSetupFile::SetAppSecureFolder(std::string folder) noexcept
{
    try {
        return folder.empty() ? 0 : WriteSetting(kSectionVoiceRecog, kKeyEncryptFileFolder, folder);
    } catch (...) {
        return 0;
    }
}

std::string CSetupFile::GetAppSecureFolder() const noexcept
{
    try {
        return ReadSetting(kSectionVoiceRecog, kKeyEncryptFileFolder);
    } catch (...) {
        return {};
    }
}

int CSetupFile::SetAppSecureMakeType(unsigned n) noexcept
{
    try {
        return WriteSetting(kSectionVoiceRecog, kKeyEncryptFileStyle, std::to_string(static_cast<int>(n)));
    } catch (...) {
        return 0;
    }
}

unsigned CSetupFile::GetAppSecureMakeType() const noexcept
{
    try {
        return static_cast<unsigned>(talk::LeadingInt(ReadSetting(kSectionVoiceRecog, kKeyEncryptFileStyle)));
    } catch (...) {
        return 0;
    }
}

int CSetupFile::SetScrImageFile(const std::vector<std::string>& files) noexcept
{
    try {
        if (m_settingsPath.empty()) {
            return 0;
        }
        std::vector<std::pair<std::string, std::string>> entries;
        for (std::size_t i = 0; i < files.size(); ++i) {
            entries.emplace_back(std::to_string(i + 1), files[i]);
        }
        return Settings().WriteSection(kSectionImageFiles, entries);
    } catch (...) {
        return 0;
    }
}

std::string CSetupFile::GetScrImageFile(int n) const noexcept
{
    try {
        return ReadSetting(kSectionImageFiles, std::to_string(n));
    } catch (...) {
        return {};
    }
}

int CSetupFile::GetScrImageFileList(std::vector<std::string>& files) const noexcept
{
    try {
        std::vector<std::string> keys;
        const CIniFile settings = Settings();
        settings.ReadSection(kSectionImageFiles, keys);
        for (const std::string& key : keys) {
            std::string path = settings.ReadString(kSectionImageFiles, key, "");
            if (!path.empty() && IsFileExist(path, 0)) {
                files.push_back(std::move(path));
            }
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

std::string CSetupFile::GetScrComment() const noexcept
{
    try {
        return ReadRegistryText(m_root, talk::kProgramKey, kValueScrMent);
    } catch (...) {
        return {};
    }
}

int CSetupFile::SetScrComment(std::string text) noexcept
{
    try {
        // A longer text would be stored but could never be read back.
        if (text.size() > talk::kMaxRegistryTextBytes) {
            return 0;
        }
        CRegistryEx registry(m_root);
        return registry.CreateKey(m_root, talk::kProgramKey) && registry.Write(kValueScrMent, text) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

unsigned CSetupFile::GetScrWaitTime() const noexcept
{
    try {
        return static_cast<unsigned>(talk::LeadingInt(ReadSetting(kSectionScreenSaver, kKeyWaitTime)));
    } catch (...) {
        return 0;
    }
}

int CSetupFile::SetScrWaitTime(int n) noexcept
{
    try {
        return n < 1 ? 0 : WriteSetting(kSectionScreenSaver, kKeyWaitTime, std::to_string(n));
    } catch (...) {
        return 0;
    }
}

int CSetupFile::GetScrAuto() const noexcept
{
    try {
        return talk::LeadingInt(ReadSetting(kSectionScreenSaver, kKeyAuto));
    } catch (...) {
        return 0;
    }
}

int CSetupFile::SetScrAuto(int flag) noexcept
{
    try {
        return WriteSetting(kSectionScreenSaver, kKeyAuto, std::to_string(flag));
    } catch (...) {
        return 0;
    }
}

CSetupSecure::tagSecureSettings CSetupFile::GetSecureAppSettings() const noexcept
{
    CSetupSecure::tagSecureSettings record;
    m_secure.GetAppSettings(record);
    return record;
}

int CSetupFile::SetSecureAppSettings(const CSetupSecure::tagSecureSettings& record) noexcept
{
    return m_secure.SetAppSettings(record);
}

int CSetupFile::IsFileExist(std::string path, int wantFolder) noexcept
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return 0;
    }
    const bool isFolder = S_ISDIR(info.st_mode);
    return (wantFolder != 0) == isFolder ? 1 : 0;
}
