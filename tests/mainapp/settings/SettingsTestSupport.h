#pragma once

#include "../../support/FreshRootTest.h"

#include "Setup/RegistryEx.h"
#include "Setup/SetupFile.h"

#include <platform/Registry.h>

#include <filesystem>
#include <optional>
#include <string>

namespace deskwarden::test {

/** A registered installation with its settings file and secure settings, in a fresh system root. */
class InstallationTest : public warden::test::FreshRootTest
{
protected:
    void SetUp() override
    {
        FreshRootTest::SetUp();
        m_app = Path("program");
        std::filesystem::create_directories(m_app + "/work");
        ASSERT_EQ(m_setup.SetAppPath(m_app), 1);
        ASSERT_EQ(m_setup.Initialize(), 1);
    }

    /** A text value as stored, terminator included, or nullopt when it is missing. */
    static std::optional<std::string> RawText(platform::HKEY root, const std::string& key, const std::string& name)
    {
        platform::HKEY open = platform::kNullKey;
        if (platform::RegOpenKeyEx(root, key, platform::KEY_READ, &open) != platform::ERROR_SUCCESS)
            return std::nullopt;
        platform::DWORD type = 0;
        platform::DWORD size = 4096;
        std::string data(size, '\0');
        const auto status
            = platform::RegQueryValueEx(open, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size);
        platform::RegCloseKey(open);
        if (status != platform::ERROR_SUCCESS || type != platform::REG_SZ)
            return std::nullopt;
        return data.substr(0, size);
    }

    static bool KeyExists(platform::HKEY root, const std::string& key)
    {
        CRegistryEx registry(root);
        return registry.VerifyKey(root, key) == 1;
    }

    std::string m_app;
    CSetupFile m_setup;
};

} // namespace deskwarden::test
