#pragma once

#include "settings/BackupSet.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace deskwarden::users {
struct UserStores;
} // namespace deskwarden::users

namespace deskwarden::settings {

/**
 * The restore dialog (dialog 237): shortly after it opens it counts the backup's users; "スタ-ト" restores
 * them into the live stores, with the log, the progress and the overwrite questions; afterwards the button
 * reads "OK" and closes the dialog.
 */
class CRestoreDlg final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kCountDelayMs = 200;

    CRestoreDlg(backup::BackupFiles files, users::UserStores& stores, QWidget* parent);

    void ShowUserCount();
    void Start();
    bool IsDone() const { return m_done; }

private:
    class Listener;

    backup::BackupFiles m_files;
    users::UserStores& m_stores;
    QLabel* m_count;
    QProgressBar* m_progress;
    QPlainTextEdit* m_log;
    QPushButton* m_start;
    bool m_done = false;
};

} // namespace deskwarden::settings
