#pragma once

#include <QDialog>

class CSetupFile;

namespace deskwarden::users {
class VoiceDialogRunner;
struct UserStores;
} // namespace deskwarden::users

namespace deskwarden::app {

/** The settings dialog: its pages in tabs, the user management among them. */
class CSettingsSheet final : public QDialog
{
public:
    CSettingsSheet(users::UserStores& stores, CSetupFile& setup, users::VoiceDialogRunner& voice, QWidget* parent);
};

} // namespace deskwarden::app
