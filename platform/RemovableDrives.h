#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The removable and CD-ROM drives on which a user keeps his by-pass key.
//
// A drive is a mounted file system whose block device is removable or optical, found through
// /proc/mounts and /sys/block. When the system root holds a media/ folder, each folder in it counts as one
// removable drive instead and the real mounts are not looked at, so that tests and demonstrations see
// exactly the drives they made.
//
// Drive letters: the suite's dialogs name a drive "X:". Each listing gives its drives the letters
// D, E, F, ... in listing order (mount order, or name order of the media/ folders); A to C are left out so
// that no letter passes for a floppy or the system drive. A drive keeps its mount folder beside its letter,
// and the letter means that folder only within the listing that assigned it: a caller that shows a listing
// resolves the user's choice through the same listing. Drives beyond Z are not offered.
namespace platform {

enum class DriveKind
{
    Removable,
    CdRom
};

struct RemovableDrive
{
    std::filesystem::path folder; // where its file system is mounted
    char letter = 'D';
    DriveKind kind = DriveKind::Removable;

    /** The drive name the dialogs show: the letter and a colon, such as "D:". */
    std::string Name() const { return std::string(1, letter) + ":"; }
};

/** One line of the mount table: the mounted device and the folder it is mounted on. */
struct MountEntry
{
    std::string device;
    std::string folder;
};

/**
 * Reads mount-table text in the /proc/mounts format. The octal escapes the kernel writes for blanks,
 * tabs, line breaks and backslashes in names are decoded; lines with fewer than two fields are skipped.
 */
std::vector<MountEntry> ParseMountTable(std::string_view text);

/**
 * What kind of drive holds the block device `device` (such as "/dev/sdb1" or "/dev/sr0"), judged from the
 * sysfs tree below `sysRoot` ("/sys" on a running system): optical drives are CD-ROM drives, other disks
 * whose "removable" flag is set are removable drives. A partition is judged by its disk.
 * @return nullopt for a fixed disk, for anything that is not a block device, and when sysfs does not know it.
 */
std::optional<DriveKind> BlockDeviceKind(const std::string& device, const std::filesystem::path& sysRoot);

/** The removable and CD-ROM drives among `mounts` (each device once, at its first mount), lettered. */
std::vector<RemovableDrive> DrivesFromMounts(
    const std::vector<MountEntry>& mounts, const std::filesystem::path& sysRoot);

/** Each folder in `media` as one removable drive, in name order, lettered; none when it cannot be read. */
std::vector<RemovableDrive> DrivesFromMediaFolder(const std::filesystem::path& media);

/**
 * The drives now: the system root's media/ folders when that folder exists, else the mounted removable and
 * optical drives. Never throws; an unreadable mount table gives no drives.
 */
std::vector<RemovableDrive> ListRemovableDrives() noexcept;

} // namespace platform
