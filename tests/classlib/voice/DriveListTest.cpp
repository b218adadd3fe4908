#include "voice/DriveList.h"

#include "../../support/FreshRootTest.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using platform::DriveKind;
using platform::RemovableDrive;
using talk::voice::DriveList;

DriveList StickAndDisc()
{
    return DriveList({RemovableDrive {"/media/alice/STICK", 'D', DriveKind::Removable},
        RemovableDrive {"/media/alice/DISC", 'E', DriveKind::CdRom}});
}

TEST(DriveListTest, NamesEachDriveByItsLetterAndKind)
{
    const DriveList list = StickAndDisc();
    EXPECT_FALSE(list.IsEmpty());
    EXPECT_EQ(list.Entries(), (std::vector<std::string> {"(D:) Removable Drive", "(E:) CD-ROM Drive"}));
    EXPECT_EQ(list.FolderOf(1), "/media/alice/DISC");
    EXPECT_EQ(list.FolderOf(2), "");
}

TEST(DriveListTest, AChosenEntryGivesTheKeyFileOfItsDrive)
{
    const DriveList list = StickAndDisc();
    EXPECT_EQ(list.KeyPathOf("(D:) Removable Drive"), "/media/alice/STICK/halvox.key");
    EXPECT_EQ(list.KeyPathOf("(E:) CD-ROM Drive"), "/media/alice/DISC/halvox.key");
    EXPECT_EQ(
        DriveList({RemovableDrive {"/", 'D', DriveKind::Removable}}).KeyPathOf("(D:) Removable Drive"), "/halvox.key");
}

TEST(DriveListTest, RefusesAnEntryThatNamesNoDriveOfTheList)
{
    const DriveList list = StickAndDisc();
    EXPECT_EQ(list.KeyPathOf("Removable Drive"), std::nullopt);
    EXPECT_EQ(list.KeyPathOf(""), std::nullopt);
    EXPECT_EQ(list.KeyPathOf(":"), std::nullopt);
    EXPECT_EQ(list.KeyPathOf("(F:) Removable Drive"), std::nullopt);
}

TEST(DriveListTest, NoDriveMakesAnEmptyList)
{
    const DriveList list({});
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(list.KeyPathOf("(D:) Removable Drive"), std::nullopt);
}

class AttachedDrivesTest : public warden::test::FreshRootTest
{
};

TEST_F(AttachedDrivesTest, ListsTheMediaFoldersOfTheSystemRoot)
{
    fs::create_directories(Root() / "media" / "usb");
    const DriveList list = DriveList::OfAttachedDrives();
    ASSERT_EQ(list.Entries(), std::vector<std::string> {"(D:) Removable Drive"});
    EXPECT_EQ(list.KeyPathOf(list.Entries()[0]), (Root() / "media" / "usb" / "halvox.key").string());
}

} // namespace
