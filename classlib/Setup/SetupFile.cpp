#include "Setup/SetupFile.h"

#include "NumberText.h"
#include "Setup/InstallPath.h"
#include "Setup/RegistryEx.h"
#include "UserRecord.h"
#include <platform/AsciiCase.h>

#include <platform/BoundaryGuard.h>

#include <sys/stat.h>
#include <unistd.h>

using platform::Guarded;

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
    return Guarded(0, [&] {
        const std::string appPath = GetAppPath();
        if (appPath.empty()) {
            return 0;
        }
        m_settingsPath = appPath + kSettingsFileName;
        return m_secure.SetSetupSecureFilePath(appPath + kSecureFileName);
    });
}

int CSetupFile::SetAppPath(std::string path) noexcept
{
    return Guarded(0, [&] { return talk::WriteInstallPath(std::move(path)) ? 1 : 0; });
}

std::string CSetupFile::GetAppPath() const noexcept
{
    return Guarded(std::string(), [&]() -> std::string { return talk::ReadInstallPath(); });
}

std::string CSetupFile::GetAppExecutePath() const noexcept
{
    return Guarded(std::string(), [&]() -> std::string {
        std::string target(4096, '\0');
        const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return {};
        }
        target.resize(static_cast<std::size_t>(length));
        return target.substr(0, target.find_last_of('/') + 1);
    });
}

int CSetupFile::SetLastUserProgram(std::string id) noexcept
{
    return Guarded(0, [&] { return WriteSetting(kSectionDeskWarden, kKeyLastUser, id); });
}

std::string CSetupFile::GetLastUserProgram() const noexcept
{
    return Guarded(std::string(), [&]() -> std::string { return ReadSetting(kSectionDeskWarden, kKeyLastUser); });
}

std::string CSetupFile::GetLastUserLogon() const noexcept
{
    return Guarded(std::string(), [&]() -> std::string {
        return ReadRegistryText(platform::HKEY_LOCAL_MACHINE, kWinlogonKey, kValueAltDefaultUserName);
    });
}

int CSetupFile::SetAppLastPos(int left, int top, int right, int bottom) noexcept
{
    return Guarded(0, [&] {
        const std::string text = std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(right) + ","
            + std::to_string(bottom);
        return WriteSetting(kSectionDeskWarden, kKeyLastExecutePos, text);
    });
}

platform::RECT CSetupFile::GetAppLastPos() const noexcept
{
    return Guarded(platform::RECT(), [&] {
        const std::vector<std::string> parts
            = talk::user_record::Split(ReadSetting(kSectionDeskWarden, kKeyLastExecutePos), ',');
        const auto number = [&](std::size_t i) { return i < parts.size() ? talk::LeadingInt(parts[i]) : 0; };
        platform::RECT rect;
        rect.left = number(0);
        rect.top = number(1);
        rect.right = number(2);
        rect.bottom = number(3);
        return rect;
    });
}

std::string CSetupFile::GetSkinCurrent() const noexcept
{
    return Guarded(std::string(), [&]() -> std::string { return ReadSetting(kSectionVoiceRecog, kKeySkin); });
}

int CSetupFile::SetSkinChange(std::string name) noexcept
{
    return Guarded(0, [&] { return name.empty() ? 0 : WriteSetting(kSectionVoiceRecog, kKeySkin, name); });
}

int CSetupFile::GetSkinList(std::vector<std::string>& names) const noexcept
{
    return Guarded(0, [&] {
        const std::string list = ReadSetting(kSectionVoiceRecog, kKeySkinList);
        if (list.empty()) {
            return 1;
        }
        for (const std::string& name : talk::user_record::Split(list, ',')) {
            names.push_back(TrimBlanks(name));
        }
        return 1;
    });
}

std::string CSetupFile::GetAuthWord(std::string name) const noexcept
{
    return Guarded(std::string(), [&]() -> std::string { return ReadSetting(kSectionWordList, name); });
}

int CSetupFile::GetAuthWordList(std::vector<std::string>& words) const noexcept
{
    return Guarded(0, [&] {
        std::vector<std::string> keys;
        const CIniFile settings = Settings();
        settings.ReadSection(kSectionWordList, keys);
        for (const std::string& key : keys) {
            words.push_back(settings.ReadString(kSectionWordList, key, ""));
        }
        return 1;
    });
}

std::string CSetupFile::GetAuthNick(std::string word) const noexcept
{
    return Guarded(std::string(), [&]() -> std::string {
        std::vector<std::string> keys;
        const CIniFile settings = Settings();
        settings.ReadSection(kSectionWordList, keys);
        for (const std::string& key : keys) {
            if (platform::EqualsIgnoringAsciiCase(settings.ReadString(kSectionWordList, key, ""), word)) {
                return key;
            }
        }
        return {};
    });
}

int CSetupFile::SetAppSecureFolder(std::string folder) noexcept
{
    return Guarded(
        0, [&] { return folder.empty() ? 0 : WriteSetting(kSectionVoiceRecog, kKeyEncryptFileFolder, folder); });
}

std::string CSetupFile::GetAppSecureFolder() const noexcept
{
    return Guarded(
        std::string(), [&]() -> std::string { return ReadSetting(kSectionVoiceRecog, kKeyEncryptFileFolder); });
}

int CSetupFile::SetAppSecureMakeType(unsigned n) noexcept
{
    return Guarded(
        0, [&] { return WriteSetting(kSectionVoiceRecog, kKeyEncryptFileStyle, std::to_string(static_cast<int>(n))); });
}

unsigned CSetupFile::GetAppSecureMakeType() const noexcept
{
    return Guarded(0u, [&]() -> unsigned {
        return static_cast<unsigned>(talk::LeadingInt(ReadSetting(kSectionVoiceRecog, kKeyEncryptFileStyle)));
    });
}

int CSetupFile::SetScrImageFile(const std::vector<std::string>& files) noexcept
{
    return Guarded(0, [&] {
        if (m_settingsPath.empty()) {
            return 0;
        }
        std::vector<std::pair<std::string, std::string>> entries;
        for (std::size_t i = 0; i < files.size(); ++i) {
            entries.emplace_back(std::to_string(i + 1), files[i]);
        }
        return Settings().WriteSection(kSectionImageFiles, entries);
    });
}

std::string CSetupFile::GetScrImageFile(int n) const noexcept
{
    return Guarded(std::string(), [&]() -> std::string { return ReadSetting(kSectionImageFiles, std::to_string(n)); });
}

int CSetupFile::GetScrImageFileList(std::vector<std::string>& files) const noexcept
{
    return Guarded(0, [&] {
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
    });
}

std::string CSetupFile::GetScrComment() const noexcept
{
    return Guarded(
        std::string(), [&]() -> std::string { return ReadRegistryText(m_root, talk::kProgramKey, kValueScrMent); });
}

int CSetupFile::SetScrComment(std::string text) noexcept
{
    return Guarded(0, [&] {
        // A longer text would be stored but could never be read back.
        if (text.size() > talk::kMaxRegistryTextBytes) {
            return 0;
        }
        CRegistryEx registry(m_root);
        return registry.CreateKey(m_root, talk::kProgramKey) && registry.Write(kValueScrMent, text) ? 1 : 0;
    });
}

unsigned CSetupFile::GetScrWaitTime() const noexcept
{
    return Guarded(0u, [&]() -> unsigned {
        return static_cast<unsigned>(talk::LeadingInt(ReadSetting(kSectionScreenSaver, kKeyWaitTime)));
    });
}

int CSetupFile::SetScrWaitTime(int n) noexcept
{
    return Guarded(0, [&] { return n < 1 ? 0 : WriteSetting(kSectionScreenSaver, kKeyWaitTime, std::to_string(n)); });
}

int CSetupFile::GetScrAuto() const noexcept
{
    return Guarded(0, [&] { return talk::LeadingInt(ReadSetting(kSectionScreenSaver, kKeyAuto)); });
}

int CSetupFile::SetScrAuto(int flag) noexcept
{
    return Guarded(0, [&] { return WriteSetting(kSectionScreenSaver, kKeyAuto, std::to_string(flag)); });
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
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        return 0;
    }
    const bool isFolder = S_ISDIR(info.st_mode);
    return (wantFolder != 0) == isFolder ? 1 : 0;
}
