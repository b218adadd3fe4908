#pragma once

#include "settings/BypassKeyWriter.h"

class CSetupFile;
class QWidget;

namespace deskwarden::users {
struct UserStores;
} // namespace deskwarden::users

// What the backup page's buttons and the tray's backup and restore commands do. They act at once and tell
// the outcome in the product's message boxes.
namespace deskwarden::settings::actions {

/** Offers the removable drives in a popup menu and writes a new by-pass key to the chosen one. */
void MakeBypassKeyFromMenu(CSetupFile& setup, QWidget* owner);

/** Asks for a folder and copies the two dictionaries into it. */
void BackUp(const CSetupFile& setup, QWidget* owner);

/** Asks for a backup folder and, when it holds a backup, opens the restore dialog on it. */
void Restore(users::UserStores& stores, QWidget* owner);

/** Opens the drive dialog in which a new by-pass key is written to the chosen drive. */
void OpenBypassDriveDialog(CSetupFile& setup, QWidget* owner);

/** Tells how writing a by-pass key ended. */
void ReportKeyWrite(bypass_key::WriteResult result);

} // namespace deskwarden::settings::actions
