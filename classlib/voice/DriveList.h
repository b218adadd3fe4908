#pragma once

#include <platform/RemovableDrives.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace talk::voice {

/**
 * The model behind the list of drives from which the voice dialog reads a by-pass key: one entry per
 * removable or CD-ROM drive, "(D:) Removable Drive" or "(E:) CD-ROM Drive", in the order and with the letters
 * of one listing of the platform's drives (see platform/RemovableDrives.h for how mounts get letters).
 * A choice is resolved against that same listing, so a drive attached or removed while the list is shown
 * cannot make a letter name another folder. No display is needed; the widget shows Entries(), the
 * messages below, and FolderOf() as each entry's tooltip, since the letter alone says nothing on Linux.
 */
class DriveList
{
public:
    /** Window title of the selection dialog. */
    static constexpr const char* kTitle = "ドライブを選択";
    /** Shown (exclamation icon, caption kNoDriveCaption) instead of an empty list, which then closes. */
    static constexpr const char* kNoDriveText = "There is not removable drive for backup the key.";
    static constexpr const char* kNoDriveCaption = "OpenHalvox";
    /** Shown (stop icon, the dialog's own caption) when a chosen entry names no drive; the choice is cancelled. */
    static constexpr const char* kNoKeyText = "By-passキーが存在しません。";
    /** The by-pass key file in the root of a drive. */
    static constexpr const char* kKeyFileName = "halvox.key";

    explicit DriveList(std::vector<platform::RemovableDrive> drives);

    /** The drives attached now (the system root's media/ folders in tests). */
    static DriveList OfAttachedDrives();

    bool IsEmpty() const { return m_drives.empty(); }
    /** The entry texts, one per drive, in list order. */
    const std::vector<std::string>& Entries() const { return m_entries; }
    /** The mount folder behind entry `index`; "" outside the list. */
    std::string FolderOf(std::size_t index) const;

    /**
     * The by-pass key file of the drive a chosen entry names: the letter before the entry's first ':' picks the
     * drive, whose folder/halvox.key is returned. nullopt when the text holds no ':' after a letter or its
     * letter is no drive of this list: show kNoKeyText and cancel.
     */
    std::optional<std::string> KeyPathOf(const std::string& entry) const;

private:
    std::vector<platform::RemovableDrive> m_drives;
    std::vector<std::string> m_entries;
};

/** The entry text of one drive. */
std::string DriveEntryText(const platform::RemovableDrive& drive);

} // namespace talk::voice
