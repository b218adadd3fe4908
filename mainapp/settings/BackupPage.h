#pragma once

#include <QWidget>

class CSetupFile;

namespace deskwarden::users {
struct UserStores;
} // namespace deskwarden::users

namespace deskwarden::settings {

/** The backup page (dialog 171): by-pass key (1049), backup (1051) and restore (1052), each acting at once. */
class CBackupPage final : public QWidget
{
    Q_OBJECT
public:
    CBackupPage(CSetupFile& setup, users::UserStores& stores, QWidget* parent);
};

} // namespace deskwarden::settings
