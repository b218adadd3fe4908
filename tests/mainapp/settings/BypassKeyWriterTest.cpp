#include "settings/BypassKeyWriter.h"

#include "SettingsTestSupport.h"

#include <fstream>
#include <sstream>

namespace deskwarden::test {
namespace {

namespace key = settings::bypass_key;

class BypassKey : public InstallationTest
{
protected:
    CSetupSecure& Secure() { return m_setup.GetSetupSecure(); }
};

TEST_F(BypassKey, TheNewKeyIsRecordedAndItsFileHoldsExactlyItsText)
{
    const std::string drive = Path("media/stick");
    std::filesystem::create_directories(drive);
    std::ofstream(drive + "/halvox.key") << "an older key that is much longer than any new key would ever be......";
    ASSERT_EQ(key::WriteNewKey(Secure(), drive), key::WriteResult::Written);
    std::ifstream file(drive + "/halvox.key", std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    EXPECT_FALSE(bytes.str().empty());
    EXPECT_EQ(bytes.str(), Secure().GetBackupBypassKey());
}

TEST_F(BypassKey, OnlyTheNewestKeyIsValid)
{
    const std::string drive = Path("media/stick");
    std::filesystem::create_directories(drive);
    ASSERT_EQ(key::WriteNewKey(Secure(), drive), key::WriteResult::Written);
    const std::string first = Secure().GetBackupBypassKey();
    ASSERT_EQ(key::WriteNewKey(Secure(), drive), key::WriteResult::Written);
    EXPECT_NE(Secure().GetBackupBypassKey(), first);
}

TEST_F(BypassKey, ADriveThatCannotBeWrittenStillLeavesTheNewKeyRecorded)
{
    ASSERT_EQ(key::WriteNewKey(Secure(), Path("media/gone")), key::WriteResult::NotSaved);
    EXPECT_FALSE(Secure().GetBackupBypassKey().empty());
}

TEST(BypassKeyTexts, MenuAndListNameTheDriveAndItsKind)
{
    const platform::RemovableDrive stick {"/media/stick", 'D', platform::DriveKind::Removable};
    const platform::RemovableDrive disc {"/media/cdrom", 'E', platform::DriveKind::CdRom};
    EXPECT_EQ(key::MenuItemText(stick), "Removable Drive(D:)");
    EXPECT_EQ(key::MenuItemText(disc), "CD-ROM Drive (E:)");
    EXPECT_EQ(key::ListEntryText(stick), "[D:] Removable Drive");
    EXPECT_EQ(key::ListEntryText(disc), "[E:] CD-ROM Drive");
}

} // namespace
} // namespace deskwarden::test
