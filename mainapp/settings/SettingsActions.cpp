#include "settings/SettingsActions.h"

#include "settings/BackupSet.h"
#include "settings/BypassDriveDlg.h"
#include "settings/BypassKeyWriter.h"
#include "settings/RestoreDlg.h"
#include "settings/SettingsPrompts.h"
#include "settings/SettingsStrings.h"

#include "MessageService.h"
#include "Setup/SetupFile.h"

#include <platform/RemovableDrives.h>

namespace deskwarden::settings::actions {

namespace {

void Tell(const char* text, MessageIcon icon = MessageIcon::Information)
{
    CMessageService::Report(kProductCaption, text, icon);
}

} // namespace

void ReportKeyWrite(bypass_key::WriteResult result)
{
    if (result == bypass_key::WriteResult::Written)
        Tell(kBypassSaved);
    else
        Tell(kBypassNotSaved, MessageIcon::Error);
}

void MakeBypassKeyFromMenu(CSetupFile& setup, QWidget* owner)
{
    const std::vector<platform::RemovableDrive> drives = platform::ListRemovableDrives();
    if (drives.empty())
        return;
    std::vector<std::string> items;
    for (const platform::RemovableDrive& drive : drives)
        items.push_back(bypass_key::MenuItemText(drive));
    const int chosen = Prompts().chooseMenuItem(owner, items);
    if (chosen < 0 || chosen >= static_cast<int>(drives.size()))
        return;
    ReportKeyWrite(bypass_key::WriteNewKey(setup.GetSetupSecure(), drives[chosen].folder.string()));
}

void BackUp(const CSetupFile& setup, QWidget* owner)
{
    const std::string folder = Prompts().chooseFolder(owner, kBackupPrompt);
    if (folder.empty())
        return;
    std::string error;
    if (backup::CopyToFolder(setup.GetAppPath(), folder, error))
        Tell(kBackupDone);
    else
        Tell(kBackupFailed, MessageIcon::Error);
}

void Restore(users::UserStores& stores, QWidget* owner)
{
    const std::string folder = Prompts().chooseFolder(owner, kRestorePrompt);
    if (folder.empty())
        return;
    const auto files = backup::FindBackup(folder);
    if (!files)
        return Tell(kNoBackupFiles, MessageIcon::Error);
    CRestoreDlg dialog(*files, stores, owner);
    dialog.exec();
}

void OpenBypassDriveDialog(CSetupFile& setup, QWidget* owner)
{
    CBypassDriveDlg dialog(setup, owner);
    dialog.exec();
}

} // namespace deskwarden::settings::actions
