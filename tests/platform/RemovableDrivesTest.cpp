#include "TestRoot.h"

#include <platform/RemovableDrives.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using platform::DriveKind;
using platform::RemovableDrive;

TEST(MountTableTest, ReadsDeviceAndFolderAndDecodesEscapes)
{
    const auto entries = platform::ParseMountTable("/dev/sdb1 /media/alice/MY\\040STICK vfat rw 0 0\n"
                                                   "\n"
                                                   "proc /proc proc rw,nosuid 0 0\n"
                                                   "lonely\n"
                                                   "/dev/sr0\t/media/cd\\134disc iso9660 ro 0 0");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].device, "/dev/sdb1");
    EXPECT_EQ(entries[0].folder, "/media/alice/MY STICK");
    EXPECT_EQ(entries[1].device, "proc");
    EXPECT_EQ(entries[2].folder, "/media/cd\\disc");
}

TEST(MountTableTest, KeepsABackslashThatStartsNoEscape)
{
    const auto entries = platform::ParseMountTable("/dev/sdc /mnt/a\\9z ext4 rw 0 0\n/dev/sdd /mnt/b\\04 ext4\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].folder, "/mnt/a\\9z");
    EXPECT_EQ(entries[1].folder, "/mnt/b\\04");
}

// A sysfs tree as the kernel lays it out: whole disks in block/, every block device in class/block/ as a
// link into its disk's folder.
class SysfsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "warden-sysfs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_sys = pattern;
        Disk("sda", "0", {"sda1", "sda2"}); // the fixed system disk
        Disk("sdb", "1", {"sdb1"}); // a memory stick with a partition
        Disk("sdc", "1", {}); // a stick formatted without partitions
        Disk("sr0", "1", {}); // an optical drive
        Disk("sdd", "1", {}); // an optical drive that the SCSI layer names like a disk
        platform_test::WriteFile(m_sys / "block" / "sdd" / "device" / "type", "5\n");
    }
    void TearDown() override { fs::remove_all(m_sys); }

    void Disk(const std::string& name, const std::string& removable, const std::vector<std::string>& partitions)
    {
        const fs::path disk = m_sys / "block" / name;
        platform_test::WriteFile(disk / "removable", removable + "\n");
        fs::create_directories(m_sys / "class" / "block");
        fs::create_directory_symlink(fs::path("../..") / "block" / name, m_sys / "class" / "block" / name);
        for (const std::string& partition : partitions) {
            platform_test::WriteFile(disk / partition / "partition", "1\n");
            fs::create_directory_symlink(
                fs::path("../..") / "block" / name / partition, m_sys / "class" / "block" / partition);
        }
    }

    std::optional<DriveKind> Kind(const std::string& device) const { return platform::BlockDeviceKind(device, m_sys); }

    fs::path m_sys;
};

TEST_F(SysfsTest, JudgesDisksAndPartitionsByTheirDisk)
{
    EXPECT_EQ(Kind("/dev/sdb1"), DriveKind::Removable);
    EXPECT_EQ(Kind("/dev/sdc"), DriveKind::Removable);
    EXPECT_EQ(Kind("/dev/sr0"), DriveKind::CdRom);
    EXPECT_EQ(Kind("/dev/sdd"), DriveKind::CdRom);
    EXPECT_EQ(Kind("/dev/sda1"), std::nullopt);
    EXPECT_EQ(Kind("/dev/sda"), std::nullopt);
}

TEST_F(SysfsTest, IgnoresWhatIsNoKnownBlockDevice)
{
    EXPECT_EQ(Kind("tmpfs"), std::nullopt);
    EXPECT_EQ(Kind("/dev/sdz9"), std::nullopt);
    EXPECT_EQ(Kind("/home/sdb1"), std::nullopt);
    EXPECT_EQ(Kind("server:/export"), std::nullopt);
}

TEST_F(SysfsTest, LettersTheRemovableMountsInMountOrder)
{
    const auto mounts = platform::ParseMountTable("/dev/sda2 / ext4 rw 0 0\n"
                                                  "proc /proc proc rw 0 0\n"
                                                  "/dev/sr0 /media/cd iso9660 ro 0 0\n"
                                                  "/dev/sda1 /boot ext4 rw 0 0\n"
                                                  "/dev/sdb1 /media/stick vfat rw 0 0\n"
                                                  "/dev/sdb1 /mnt/again vfat rw 0 0\n");
    const std::vector<RemovableDrive> drives = platform::DrivesFromMounts(mounts, m_sys);
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].Name(), "D:");
    EXPECT_EQ(drives[0].folder, "/media/cd");
    EXPECT_EQ(drives[0].kind, DriveKind::CdRom);
    EXPECT_EQ(drives[1].Name(), "E:");
    EXPECT_EQ(drives[1].folder, "/media/stick");
    EXPECT_EQ(drives[1].kind, DriveKind::Removable);
}

class MediaFolderTest : public platform_test::FreshRoot
{
};

TEST_F(MediaFolderTest, EachFolderOfMediaIsARemovableDriveInNameOrder)
{
    fs::create_directories(Root() / "media" / "stick");
    fs::create_directories(Root() / "media" / "card");
    platform_test::WriteFile(Root() / "media" / "notes.txt", "a file is no drive");
    const std::vector<RemovableDrive> drives = platform::ListRemovableDrives();
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].folder, Root() / "media" / "card");
    EXPECT_EQ(drives[0].Name(), "D:");
    EXPECT_EQ(drives[1].folder, Root() / "media" / "stick");
    EXPECT_EQ(drives[1].Name(), "E:");
    EXPECT_EQ(drives[1].kind, DriveKind::Removable);
}

TEST_F(MediaFolderTest, AnEmptyMediaFolderMeansNoDrive)
{
    fs::create_directories(Root() / "media");
    EXPECT_TRUE(platform::ListRemovableDrives().empty());
}

TEST_F(MediaFolderTest, DrivesBeyondZAreNotOffered)
{
    for (int i = 0; i < 30; ++i) {
        fs::create_directories(Root() / "media" / ("drive" + std::to_string(100 + i)));
    }
    const std::vector<RemovableDrive> drives = platform::DrivesFromMediaFolder(Root() / "media");
    ASSERT_EQ(drives.size(), 23u);
    EXPECT_EQ(drives.back().Name(), "Z:");
    EXPECT_EQ(drives.back().folder.filename(), "drive122");
}

} // namespace
