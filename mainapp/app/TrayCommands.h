#pragma once

#include <span>

namespace deskwarden::app {

/** What a command of the tray menu or of a main-window button does. */
enum class Command
{
    LockScreen,
    ShowMainWindow,
    LockScreenSettings,
    ToggleAutoLock,
    Settings,
    Backup,
    Restore,
    Transfer,
    OpenLog,
    OpenManual,
    About,
    Exit,
};

/** One item of the tray menu: its menu id, its text and its command. */
struct TrayItem
{
    int id;
    const char* text;
    Command command;
};

/** The tray menu's items in their order; the first is the default item. */
std::span<const TrayItem> TrayItems();

/** The item with menu id `id`, or null. */
const TrayItem* TrayItemById(int id);

/** True for the commands that run only after the operator's voice has been checked. */
bool NeedsVoiceCheck(Command command);

} // namespace deskwarden::app
