#include "settings/RegistryText.h"

#include <cstdint>
#include <vector>

namespace deskwarden::settings::registry_text {

namespace {

/** Closes the key it holds when it goes. */
class OpenKey
{
public:
    OpenKey(platform::HKEY root, const std::string& key, bool create)
    {
        const platform::LSTATUS status = create
            ? platform::RegCreateKeyEx(root, key, platform::KEY_ALL_ACCESS, &m_key, nullptr)
            : platform::RegOpenKeyEx(root, key, platform::KEY_ALL_ACCESS, &m_key);
        m_open = status == platform::ERROR_SUCCESS;
    }
    ~OpenKey()
    {
        if (m_open)
            platform::RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool IsOpen() const { return m_open; }
    platform::HKEY Handle() const { return m_key; }

private:
    platform::HKEY m_key = platform::kNullKey;
    bool m_open = false;
};

} // namespace

bool WriteBare(platform::HKEY root, const std::string& key, const std::string& name, const std::string& text)
{
    const OpenKey open(root, key, true);
    if (!open.IsOpen())
        return false;
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    return platform::RegSetValueEx(
               open.Handle(), name, platform::REG_SZ, data, static_cast<platform::DWORD>(text.size()))
        == platform::ERROR_SUCCESS;
}

std::optional<std::string> Read(platform::HKEY root, const std::string& key, const std::string& name)
{
    const OpenKey open(root, key, false);
    if (!open.IsOpen())
        return std::nullopt;
    platform::DWORD type = platform::REG_NONE;
    platform::DWORD size = 0;
    if (platform::RegQueryValueEx(open.Handle(), name, &type, nullptr, &size) != platform::ERROR_SUCCESS)
        return std::nullopt;
    if (type != platform::REG_SZ && type != platform::REG_EXPAND_SZ)
        return std::nullopt;
    std::vector<std::uint8_t> data(size);
    if (size > 0
        && platform::RegQueryValueEx(open.Handle(), name, &type, data.data(), &size) != platform::ERROR_SUCCESS)
        return std::nullopt;
    std::string text(data.begin(), data.begin() + size);
    return text.substr(0, text.find('\0'));
}

bool Delete(platform::HKEY root, const std::string& key, const std::string& name)
{
    const OpenKey open(root, key, false);
    if (!open.IsOpen())
        return true;
    const platform::LSTATUS status = platform::RegDeleteValue(open.Handle(), name);
    return status == platform::ERROR_SUCCESS || status == platform::ERROR_FILE_NOT_FOUND;
}

} // namespace deskwarden::settings::registry_text
