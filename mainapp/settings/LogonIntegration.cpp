#include "settings/LogonIntegration.h"

#include "settings/RegistryText.h"

#include "Setup/RegistryEx.h"

#include <platform/AsciiCase.h>

#include <string_view>

namespace deskwarden::settings::logon {

namespace {

// A value longer than this is not one the system would load as its logon module.
constexpr std::size_t kModuleValueLimit = 260;

constexpr HostValue kHostValues[] = {
    {"allowLocking", nullptr, 0},
    {"buttonAction", nullptr, 0},
    {"debugOutput", nullptr, 0},
    {"defaultDomain", "", 0},
    {"DefaultDomainNameSAVE", "", 0},
    {"displayErrors", nullptr, 0},
    {"forceLogin", nullptr, 0},
    {"globalGroups", "Users", 0},
    {"hideMotd", nullptr, 0},
    {"hidePlugin", nullptr, 0},
    {"keepProfiles", nullptr, 0},
    {"logo", "", 0},
    {"mapAdmin", nullptr, 0},
    {"mapPaths", "", 0},
    {"motd", "Marlow", 0},
    {"passThru", nullptr, 0},
    {"pathMSGina", "msgina.dll", 0},
    {"pathPlugin", "", 0},
    {"pathProfile", "", 0},
    {"scrCheck", nullptr, 0},
    {"sPassword", "", 0},
    {"sUserLogin", nullptr, 0},
    {"sUsername", "", 0},
    {"title", "Nordvale", 0},
    {"UserLoginScript", "", 0},
};

/** The last component of a path written with either separator. */
std::string_view LastComponent(std::string_view value)
{
    const auto slash = value.find_last_of("/\\");
    return slash == std::string_view::npos ? value : value.substr(slash + 1);
}

/** Opens (or creates) `key` below HKEY_LOCAL_MACHINE, once per value, and runs `write` on it. */
template<class Write> void WriteOne(const char* key, Write&& write)
{
    CRegistryEx registry(platform::HKEY_LOCAL_MACHINE);
    const bool open = registry.VerifyKey(platform::HKEY_LOCAL_MACHINE, key) == 1
        ? registry.Open(platform::HKEY_LOCAL_MACHINE, key) == 1
        : registry.CreateKey(platform::HKEY_LOCAL_MACHINE, key) == 1;
    if (open)
        write(registry);
    registry.Close();
}

std::string JoinPath(const std::string& folder, const char* name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::optional<std::string> ReadCreatingKey(const char* key, const char* name)
{
    CRegistryEx registry(platform::HKEY_LOCAL_MACHINE);
    registry.CreateKey(platform::HKEY_LOCAL_MACHINE, key);
    registry.Close();
    return registry_text::Read(platform::HKEY_LOCAL_MACHINE, key, name);
}

} // namespace

std::span<const HostValue> HostValues()
{
    return kHostValues;
}

bool NamesLogonModule(const std::string& value)
{
    return value.size() <= kModuleValueLimit && platform::EqualsIgnoringAsciiCase(LastComponent(value), kLogonModule);
}

bool NamesLockCommand(const std::string& value)
{
    // The command's own argument holds a '/', so the program is told by how the value ends.
    const std::string command = platform::FoldAscii(value);
    const std::string wanted = platform::FoldAscii(kLockCommand);
    return command == wanted || command.ends_with("/" + wanted) || command.ends_with("\\" + wanted);
}

bool IsOn(bool ntFamily)
{
    if (ntFamily) {
        const auto module = ReadCreatingKey(kWinlogonKey, kModuleValue);
        return module && NamesLogonModule(*module);
    }
    const auto run = ReadCreatingKey(kRunKey, kRunValue);
    return run && NamesLockCommand(*run);
}

void SwitchOn(bool ntFamily, const std::string& systemFolder, const std::string& programFolder)
{
    if (!ntFamily) {
        // The shell's run list takes the command's length without the terminating zero.
        registry_text::WriteBare(
            platform::HKEY_LOCAL_MACHINE, kRunKey, kRunValue, JoinPath(programFolder, kLockCommand));
        return;
    }
    const std::string module = JoinPath(systemFolder, kLogonModule);
    WriteOne(kWinlogonKey, [&](CRegistryEx& key) { key.Write(kModuleValue, module); });
    const std::string plugin = JoinPath(systemFolder, kVoicePlugin);
    for (const HostValue& value : kHostValues) {
        WriteOne(kHostKey, [&](CRegistryEx& key) {
            if (value.text == nullptr)
                key.Write(value.name, value.number);
            else
                key.Write(value.name, std::string(value.name) == "pathPlugin" ? plugin : std::string(value.text));
        });
    }
}

void SwitchOff(bool ntFamily)
{
    if (ntFamily) {
        CRegistryEx registry(platform::HKEY_LOCAL_MACHINE);
        if (registry.Open(platform::HKEY_LOCAL_MACHINE, kWinlogonKey) == 1)
            registry.DeleteValue(kModuleValue);
        registry.Close();
        return;
    }
    registry_text::Delete(platform::HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
}

} // namespace deskwarden::settings::logon
