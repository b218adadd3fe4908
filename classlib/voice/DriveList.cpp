#include "voice/DriveList.h"

#include <algorithm>

namespace talk::voice {

std::string DriveEntryText(const platform::RemovableDrive& drive)
{
    const char* kind = drive.kind == platform::DriveKind::CdRom ? "CD-ROM Drive" : "Removable Drive";
    return "(" + drive.Name() + ") " + kind;
}

DriveList::DriveList(std::vector<platform::RemovableDrive> drives)
    : m_drives(std::move(drives))
{
    for (const platform::RemovableDrive& drive : m_drives) {
        m_entries.push_back(DriveEntryText(drive));
    }
}

DriveList DriveList::OfAttachedDrives()
{
    return DriveList(platform::ListRemovableDrives());
}

std::string DriveList::FolderOf(std::size_t index) const
{
    return index < m_drives.size() ? m_drives[index].folder.string() : std::string();
}

std::optional<std::string> DriveList::KeyPathOf(const std::string& entry) const
{
    const std::size_t colon = entry.find(':');
    if (colon == std::string::npos || colon == 0) {
        return std::nullopt;
    }
    const std::string name = entry.substr(colon - 1, 2);
    const auto drive = std::find_if(
        m_drives.begin(), m_drives.end(), [&](const platform::RemovableDrive& d) { return d.Name() == name; });
    if (drive == m_drives.end()) {
        return std::nullopt;
    }
    return (drive->folder / kKeyFileName).string();
}

} // namespace talk::voice
