#include "settings/BypassKeyWriter.h"

#include "Setup/SetupSecure.h"

#include <fstream>

namespace deskwarden::settings::bypass_key {

std::string MenuItemText(const platform::RemovableDrive& drive)
{
    return drive.kind == platform::DriveKind::CdRom ? "CD-ROM Drive (" + drive.Name() + ")"
                                                    : "Removable Drive(" + drive.Name() + ")";
}

std::string ListEntryText(const platform::RemovableDrive& drive)
{
    return "[" + drive.Name() + "] " + (drive.kind == platform::DriveKind::CdRom ? "CD-ROM Drive" : "Removable Drive");
}

WriteResult WriteNewKey(CSetupSecure& secure, const std::string& driveFolder)
{
    const std::string key = secure.CreateBackupBypassKey();
    if (key.empty() || secure.SetBackupBypassKey(key) != 1)
        return WriteResult::NotRecorded;
    std::ofstream file(driveFolder + "/" + kKeyFileName, std::ios::binary | std::ios::trunc);
    if (!file)
        return WriteResult::NotSaved;
    file.write(key.data(), static_cast<std::streamsize>(key.size()));
    file.close();
    return file ? WriteResult::Written : WriteResult::NotSaved;
}

} // namespace deskwarden::settings::bypass_key
