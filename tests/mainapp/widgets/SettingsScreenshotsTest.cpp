// Pictures of the settings windows for the documentation. Disabled, because they write into the source tree:
//   mainapp_widget_tests --gtest_also_run_disabled_tests --gtest_filter='SettingsScreenshots.*'
#include "settings/BackupSet.h"
#include "settings/RestoreDlg.h"
#include "settings/SettingsDlg.h"

#include "SettingsWindowTestSupport.h"

#include <QListWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

class SettingsScreenshots : public SettingsWindowTest
{
protected:
    static void Save(QWidget& window, const std::string& file)
    {
        std::filesystem::create_directories(WARDEN_SCREENSHOT_FOLDER);
        const QString path = QString::fromUtf8(WARDEN_SCREENSHOT_FOLDER) + "/" + QString::fromStdString(file);
        EXPECT_TRUE(window.grab().save(path, "PNG")) << path.toStdString();
    }
};

TEST_F(SettingsScreenshots, DISABLED_EachPageOfTheSettingsDialog)
{
    AddProgramUser("yamada", 0, "aaj,abj");
    AddProgramUser("sato", 1, "abj");
    ASSERT_EQ(m_setup.SetAppSecureFolder(Path("secure")), 1);
    settings::CSettingsDlg dialog(Context(), *m_voice, nullptr);
    dialog.show();
    const char* files[] = {"settings-program.png", "settings-users.png", "settings-backup.png", "settings-skin.png"};
    for (int page = 0; page < 4; ++page) {
        dialog.ShowPage(page);
        if (page == settings::CSettingsDlg::kUserPage)
            Control<QTableWidget>(dialog, "1046").selectRow(0);
        QApplication::processEvents();
        Save(dialog, files[page]);
    }
}

TEST_F(SettingsScreenshots, DISABLED_RestoreDialogAfterARestore)
{
    AddProgramUser("yamada", 0);
    AddProgramUser("sato", 1);
    AddProgramUser("suzuki", 1);
    std::filesystem::create_directories(Path("backup"));
    std::string error;
    ASSERT_TRUE(settings::backup::CopyToFolder(m_folder, Path("backup"), error)) << error;
    ASSERT_EQ(m_users.DelUserWholeInfo("sato"), 1);
    ASSERT_EQ(m_users.DelUserWholeInfo("suzuki"), 1);
    settings::CRestoreDlg dialog(*settings::backup::FindBackup(Path("backup")), *m_stores, nullptr);
    dialog.show();
    dialog.ShowUserCount();
    m_messages.Answer(false);
    Click(dialog, "IDOK");
    QApplication::processEvents();
    Save(dialog, "restore-dialog.png");
}

} // namespace
} // namespace deskwarden::test
