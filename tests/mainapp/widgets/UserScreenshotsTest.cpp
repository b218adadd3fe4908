// Pictures of the user windows for the documentation. Disabled, because they write into the source tree:
//   mainapp_widget_tests --gtest_also_run_disabled_tests --gtest_filter='UserScreenshots.*'
#include "users/UserManagePage.h"
#include "users/UserRegisterDlg.h"

#include "UserWindowTestSupport.h"

#include <QTableWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

class UserScreenshots : public UserWindowTest
{
protected:
    static void Save(QWidget& window, const char* file)
    {
        std::filesystem::create_directories(WARDEN_SCREENSHOT_FOLDER);
        const QString path = QString::fromUtf8(WARDEN_SCREENSHOT_FOLDER) + "/" + file;
        EXPECT_TRUE(window.grab().save(path, "PNG")) << path.toStdString();
    }
};

TEST_F(UserScreenshots, DISABLED_RegistrationDialogAtFirstStart)
{
    CUserRegisterDlg dialog({kModeNewUser, "", true, ""}, *m_stores, *m_voice, nullptr);
    Type(dialog, "1061", "山田 太郎");
    dialog.show();
    Save(dialog, "registration-dialog.png");
}

TEST_F(UserScreenshots, DISABLED_UserPageWithTwoUsersAndAnAccount)
{
    std::ofstream(m_folder + "/halvox.ini") << "[WORD_LIST]\naaj=ひまわり\nabj=さくらんぼ\nacj=かぶとむし\n";
    ASSERT_EQ(m_setup.Initialize(), 1);
    ASSERT_EQ(m_users.CreateUser("山田 太郎", "yamada", "", "pw", kAdministratorGroup, 1, 1, 1, "aaj,abj"), 1);
    ASSERT_EQ(m_users.CreateUser("佐藤 花子", "sato", "", "pw", kGeneralGroup, 1, 1, 0, "acj"), 1);
    CUserManagePage page(*m_stores, m_setup, *m_voice, nullptr);
    page.resize(520, 470);
    page.show();
    Control<QTableWidget>(page, "1046").selectRow(0);
    auto& voices = Control<QTreeWidget>(page, "1050");
    voices.setCurrentItem(voices.topLevelItem(0));
    Save(page, "user-page.png");
}

} // namespace
} // namespace deskwarden::test
