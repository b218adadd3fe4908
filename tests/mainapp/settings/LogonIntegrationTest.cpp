#include "settings/LogonIntegration.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryText.h"

#include "SettingsTestSupport.h"

#include <fstream>

namespace deskwarden::test {
namespace {

namespace logon = settings::logon;
using platform::HKEY_LOCAL_MACHINE;

class LogonSwitch : public InstallationTest
{
protected:
    settings::LogonPlace Place(bool nt = true) { return {nt, Path("system"), Path("bin")}; }

    void WriteModule(const std::string& value)
    {
        CRegistryEx key;
        ASSERT_EQ(key.CreateKey(HKEY_LOCAL_MACHINE, logon::kWinlogonKey), 1);
        ASSERT_EQ(key.Write(logon::kModuleValue, value), 1);
    }

    std::optional<std::string> HostText(const std::string& name)
    {
        CRegistryEx key;
        std::string text;
        if (key.Open(HKEY_LOCAL_MACHINE, logon::kHostKey) != 1 || key.Read(name, text) != 1)
            return std::nullopt;
        return text;
    }

    std::optional<int> HostNumber(const std::string& name)
    {
        CRegistryEx key;
        int number = -1;
        if (key.Open(HKEY_LOCAL_MACHINE, logon::kHostKey) != 1 || key.Read(name, number) != 1
            || key.GetLastType() != platform::REG_DWORD)
            return std::nullopt;
        return number;
    }

    void ExpectHostDefaults()
    {
        for (const logon::HostValue& value : logon::HostValues()) {
            if (value.text == nullptr) {
                EXPECT_EQ(HostNumber(value.name), value.number) << value.name;
            } else if (std::string(value.name) != "pathPlugin") {
                EXPECT_EQ(HostText(value.name), std::string(value.text)) << value.name;
            }
        }
        EXPECT_EQ(HostText("pathPlugin"), Path("system") + "/WardenGate.so");
    }
};

TEST_F(LogonSwitch, OnlyOurModuleInAnyFolderAndCaseShowsOn)
{
    EXPECT_FALSE(logon::IsOn(true)) << "no module value";
    WriteModule("/usr/lib/security/other_gina.so");
    EXPECT_FALSE(logon::IsOn(true));
    WriteModule("/somewhere/else/wardenseal.SO");
    EXPECT_TRUE(logon::IsOn(true));
    WriteModule("C:\\WINNT\\system32\\WARDENSEAL.so");
    EXPECT_TRUE(logon::IsOn(true));
    WriteModule("/x/WardenSeal.so.bak");
    EXPECT_FALSE(logon::IsOn(true));
}

TEST_F(LogonSwitch, SwitchingOnWritesTheModuleAndEveryHostValue)
{
    logon::SwitchOn(true, Path("system"), Path("bin"));
    EXPECT_EQ(RawText(HKEY_LOCAL_MACHINE, logon::kWinlogonKey, "GinaDLL"),
        std::optional<std::string>(Path("system") + "/WardenSeal.so" + '\0'));
    ExpectHostDefaults();
    EXPECT_EQ(logon::HostValues().size(), 25u);
    EXPECT_TRUE(logon::IsOn(true));
}

TEST_F(LogonSwitch, SwitchingOffDeletesOnlyTheModuleAndOnAgainRestoresTheDefaults)
{
    logon::SwitchOn(true, Path("system"), Path("bin"));
    {
        CRegistryEx key;
        ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, logon::kHostKey), 1);
        ASSERT_EQ(key.Write("motd", std::string("changed")), 1);
        ASSERT_EQ(key.Write("forceLogin", 1), 1);
    }
    logon::SwitchOff(true);
    EXPECT_FALSE(logon::IsOn(true));
    EXPECT_FALSE(RawText(HKEY_LOCAL_MACHINE, logon::kWinlogonKey, "GinaDLL"));
    EXPECT_EQ(HostText("motd"), "changed") << "the host's configuration stays when switched off";
    logon::SwitchOn(true, Path("system"), Path("bin"));
    ExpectHostDefaults();
}

TEST_F(LogonSwitch, NineXFamilyStartsTheLockScreenWithoutATerminatorInTheValue)
{
    logon::SwitchOn(false, Path("system"), Path("bin"));
    EXPECT_EQ(RawText(HKEY_LOCAL_MACHINE, logon::kRunKey, "Marlow"), Path("bin") + "/ScreenVeil /k");
    EXPECT_TRUE(logon::IsOn(false));
    EXPECT_FALSE(logon::IsOn(true));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, logon::kHostKey));
    logon::SwitchOff(false);
    EXPECT_FALSE(logon::IsOn(false));
    settings::registry_text::WriteBare(HKEY_LOCAL_MACHINE, logon::kRunKey, "Marlow", "/opt/suite/SCREENVEIL /K");
    EXPECT_TRUE(logon::IsOn(false));
    settings::registry_text::WriteBare(HKEY_LOCAL_MACHINE, logon::kRunKey, "Marlow", "/opt/suite/NotScreenVeil /k");
    EXPECT_FALSE(logon::IsOn(false));
}

TEST_F(LogonSwitch, ConfirmingThePageWithoutChangeWritesNothingToTheRegistry)
{
    settings::ProgramSettingsForm form = settings::LoadProgramSettings(m_setup, true);
    form.secureFolder = Path("secure");
    form.deleteSource = true;
    EXPECT_EQ(settings::SaveProgramSettings(form, m_setup, Place()), settings::SaveResult::Saved);
    EXPECT_FALSE(RawText(HKEY_LOCAL_MACHINE, logon::kWinlogonKey, "GinaDLL"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, logon::kHostKey));
    EXPECT_EQ(m_setup.GetSecureAppSettings().deleteSourceAfterEncrypt, 1);
}

TEST_F(LogonSwitch, ThePageStoresTheSwitchThenAsksForARestartOnlyWhenSwitchedOn)
{
    settings::ProgramSettingsForm form = settings::LoadProgramSettings(m_setup, true);
    form.secureFolder = Path("secure");
    form.logonVoice = true;
    EXPECT_EQ(settings::SaveProgramSettings(form, m_setup, Place()), settings::SaveResult::SavedAskRestart);
    EXPECT_EQ(m_setup.GetSecureAppSettings().logonVoiceEnabled, 1);
    EXPECT_TRUE(settings::LoadProgramSettings(m_setup, true).logonVoice);

    form.logonVoice = false;
    EXPECT_EQ(settings::SaveProgramSettings(form, m_setup, Place()), settings::SaveResult::Saved);
    EXPECT_EQ(m_setup.GetSecureAppSettings().logonVoiceEnabled, 0);
    EXPECT_FALSE(logon::IsOn(true));
}

TEST_F(LogonSwitch, ThePageShowsTheRegistryStateNotTheStoredFlag)
{
    CSetupSecure::tagSecureSettings secure = m_setup.GetSecureAppSettings();
    secure.logonVoiceEnabled = 1;
    ASSERT_EQ(m_setup.SetSecureAppSettings(secure), 1);
    EXPECT_FALSE(settings::LoadProgramSettings(m_setup, true).logonVoice);
}

class SecureFolderOnThePage : public LogonSwitch
{
};

TEST_F(SecureFolderOnThePage, AMissingFolderIsMadeLevelByLevelAndStored)
{
    settings::ProgramSettingsForm form = settings::LoadProgramSettings(m_setup, true);
    form.secureMakeType = true;
    form.secureFolder = Path("data/secure/deep");
    EXPECT_EQ(settings::SaveProgramSettings(form, m_setup, Place()), settings::SaveResult::Saved);
    EXPECT_TRUE(std::filesystem::is_directory(form.secureFolder));
    EXPECT_EQ(m_setup.GetAppSecureFolder(), form.secureFolder);
    EXPECT_EQ(m_setup.GetAppSecureMakeType(), 1u);
}

TEST_F(SecureFolderOnThePage, ARelativeFolderIsRefusedAndTheSecureSettingsStay)
{
    const CSetupSecure::tagSecureSettings before = m_setup.GetSecureAppSettings();
    for (const std::string text : {"", "data/secure", "D:\\data\\secure"}) {
        settings::ProgramSettingsForm form = settings::LoadProgramSettings(m_setup, true);
        form.secureFolder = text;
        form.deleteBundle = true;
        form.logonVoice = true;
        EXPECT_EQ(settings::SaveProgramSettings(form, m_setup, Place()), settings::SaveResult::InvalidFolder) << text;
    }
    EXPECT_EQ(m_setup.GetSecureAppSettings().deleteBundleAfterDecrypt, before.deleteBundleAfterDecrypt);
    EXPECT_FALSE(logon::IsOn(true));
}

TEST_F(SecureFolderOnThePage, AFolderThatCannotBeMadeIsRefused)
{
    std::ofstream(Path("file")) << "x";
    settings::ProgramSettingsForm form = settings::LoadProgramSettings(m_setup, true);
    form.secureFolder = Path("file/secure");
    EXPECT_EQ(settings::SaveProgramSettings(form, m_setup, Place()), settings::SaveResult::InvalidFolder);
}

} // namespace
} // namespace deskwarden::test
