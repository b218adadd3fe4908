#include "RemovableDrives.h"

#include "BoundaryGuard.h"
#include "SystemRoot.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr char kFirstLetter = 'D';
constexpr char kLastLetter = 'Z';
// The SCSI peripheral type of a CD or DVD drive.
constexpr const char* kOpticalScsiType = "5";

// The kernel writes a blank, tab, line break or backslash in a device or folder name as "\ooo".
std::string DecodeMountField(std::string_view field)
{
    std::string decoded;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
        const bool escape = field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2])
            && isOctal(field[i + 3]);
        if (escape) {
            decoded += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

std::vector<std::string_view> SplitBlanks(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = line.find_first_not_of(" \t");
    while (start != std::string_view::npos) {
        const std::size_t end = line.find_first_of(" \t", start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        start = end == std::string_view::npos ? end : line.find_first_not_of(" \t", end);
    }
    return fields;
}

std::string FirstLineOf(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// The sysfs folder of the whole disk that holds the block device `name`: the disk itself, or for a
// partition the disk its sysfs entry lies in.
std::optional<fs::path> DiskFolder(const std::string& name, const fs::path& sysRoot)
{
    std::error_code ec;
    const fs::path disk = sysRoot / "block" / name;
    if (fs::is_directory(disk, ec)) {
        return disk;
    }
    const fs::path entry = fs::canonical(sysRoot / "class" / "block" / name, ec);
    if (ec || !fs::exists(entry / "partition", ec)) {
        return std::nullopt;
    }
    const fs::path parent = sysRoot / "block" / entry.parent_path().filename();
    return fs::is_directory(parent, ec) ? std::optional<fs::path>(parent) : std::nullopt;
}

std::vector<RemovableDrive> Lettered(const std::vector<std::pair<fs::path, DriveKind>>& found)
{
    std::vector<RemovableDrive> drives;
    char letter = kFirstLetter;
    for (const auto& [folder, kind] : found) {
        if (letter > kLastLetter) {
            break;
        }
        drives.push_back(RemovableDrive {folder, letter++, kind});
    }
    return drives;
}

std::string ReadMountTable()
{
    std::ifstream in("/proc/mounts");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

std::vector<MountEntry> ParseMountTable(std::string_view text)
{
    std::vector<MountEntry> entries;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::vector<std::string_view> fields = SplitBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (fields.size() >= 2) {
            entries.push_back(MountEntry {DecodeMountField(fields[0]), DecodeMountField(fields[1])});
        }
    }
    return entries;
}

std::optional<DriveKind> BlockDeviceKind(const std::string& device, const fs::path& sysRoot)
{
    std::error_code ec;
    fs::path path(device);
    // Mounts through a /dev/disk/by-... link name the device behind it.
    if (fs::is_symlink(path, ec)) {
        path = fs::canonical(path, ec);
    }
    if (path.parent_path() != "/dev" || !path.has_filename()) {
        return std::nullopt;
    }
    const std::optional<fs::path> disk = DiskFolder(path.filename().string(), sysRoot);
    if (!disk) {
        return std::nullopt;
    }
    if (disk->filename().string().rfind("sr", 0) == 0 || FirstLineOf(*disk / "device" / "type") == kOpticalScsiType) {
        return DriveKind::CdRom;
    }
    if (FirstLineOf(*disk / "removable") == "1") {
        return DriveKind::Removable;
    }
    return std::nullopt;
}

std::vector<RemovableDrive> DrivesFromMounts(const std::vector<MountEntry>& mounts, const fs::path& sysRoot)
{
    std::vector<std::pair<fs::path, DriveKind>> found;
    std::set<std::string> seen;
    for (const MountEntry& mount : mounts) {
        if (seen.count(mount.device) != 0) {
            continue;
        }
        if (const std::optional<DriveKind> kind = BlockDeviceKind(mount.device, sysRoot)) {
            seen.insert(mount.device);
            found.emplace_back(mount.folder, *kind);
        }
    }
    return Lettered(found);
}

std::vector<RemovableDrive> DrivesFromMediaFolder(const fs::path& media)
{
    std::vector<fs::path> folders;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(media, ec)) {
        if (entry.is_directory(ec)) {
            folders.push_back(entry.path());
        }
    }
    std::sort(folders.begin(), folders.end());
    std::vector<std::pair<fs::path, DriveKind>> found;
    for (const fs::path& folder : folders) {
        found.emplace_back(folder, DriveKind::Removable);
    }
    return Lettered(found);
}

std::vector<RemovableDrive> ListRemovableDrives() noexcept
{
    return Guarded(std::vector<RemovableDrive>(), [] {
        const fs::path media = MediaFolder();
        std::error_code ec;
        if (!media.empty() && fs::is_directory(media, ec)) {
            return DrivesFromMediaFolder(media);
        }
        return DrivesFromMounts(ParseMountTable(ReadMountTable()), "/sys");
    });
}

} // namespace platform
