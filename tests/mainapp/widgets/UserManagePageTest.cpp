#include "users/UserManagePage.h"

#include "UserWindowTestSupport.h"

#include "users/UserRegisterDlg.h"
#include "users/UserStrings.h"

#include "art/ArtNames.h"

#include <QCheckBox>
#include <QImage>
#include <QTableWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

class UserPage : public UserWindowTest
{
protected:
    void SetUp() override
    {
        UserWindowTest::SetUp();
        AddProgramUser("alice", kAdministratorGroup, "aaj,abj");
        AddProgramUser("bob", kGeneralGroup, "aaj");
        ASSERT_EQ(m_users.SetAuthority("bob", "100"), 1);
        AddAccount("bob", "pw");
    }

    std::unique_ptr<CUserManagePage> Open()
    {
        auto page = std::make_unique<CUserManagePage>(*m_stores, m_setup, *m_voice, nullptr);
        page->show();
        return page;
    }

    static QTableWidget& Users(QWidget& page) { return Control<QTableWidget>(page, "1046"); }

    static std::vector<std::string> Column(QWidget& page, int column)
    {
        std::vector<std::string> texts;
        for (int row = 0; row < Users(page).rowCount(); ++row) {
            texts.push_back(Users(page).item(row, column)->text().toStdString());
        }
        return texts;
    }

    static void Select(QWidget& page, const std::string& id)
    {
        for (int row = 0; row < Users(page).rowCount(); ++row) {
            if (Users(page).item(row, 1)->text().toStdString() == id) {
                Users(page).selectRow(row);
                return;
            }
        }
        ADD_FAILURE() << "no row of " << id;
    }

    static std::vector<std::string> Voices(QWidget& page)
    {
        auto& list = Control<QTreeWidget>(page, "1050");
        std::vector<std::string> words;
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            words.push_back(list.topLevelItem(i)->text(0).toStdString());
        }
        return words;
    }

    static void SelectVoice(QWidget& page, int at)
    {
        auto& list = Control<QTreeWidget>(page, "1050");
        list.setCurrentItem(list.topLevelItem(at));
    }
};

TEST_F(UserPage, ListsProgramUsersThenAccountsWithTheirPermissionsAndVoices)
{
    auto page = Open();
    // The built-in Administrator account is no program user yet; the disabled guest is never listed.
    EXPECT_EQ(Column(*page, 0), (std::vector<std::string> {"Name of alice", "Name of bob", ""}));
    EXPECT_EQ(Column(*page, 1), (std::vector<std::string> {"alice", "bob", "Administrator"}));
    EXPECT_EQ(Column(*page, 2), (std::vector<std::string> {"管理者", "一般ユーザー", ""}));
    QTableWidget& users = Users(*page);
    EXPECT_EQ(users.horizontalHeaderItem(0)->text().toStdString(), "名前");
    // Short texts keep the given widths; a longer one widens its column instead of being cut.
    EXPECT_EQ(users.columnWidth(5), 60);
    EXPECT_GE(users.columnWidth(0), 100);
    EXPECT_GT(users.columnWidth(1), users.fontMetrics().horizontalAdvance("Administrator"));
    for (int column = 3; column < 6; ++column) {
        EXPECT_FALSE(users.item(0, column)->icon().isNull()) << "alice has every permission";
        EXPECT_EQ(users.item(1, column)->icon().isNull(), column != 3) << "bob may only log on";
    }
    const auto shows = [&](int row, int column, const char* picture) {
        const QImage expected = QImage(QString::fromUtf8(picture)).convertToFormat(QImage::Format_ARGB32);
        return !expected.isNull()
            && users.item(row, column)->icon().pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32)
            == expected;
    };
    EXPECT_TRUE(shows(0, 0, art::kRowAdmin));
    EXPECT_TRUE(shows(1, 0, art::kRowUser));
    EXPECT_TRUE(shows(2, 0, art::kRowAccount));
    EXPECT_TRUE(shows(1, 3, art::kCheck));

    EXPECT_TRUE(Voices(*page).empty());
    Select(*page, "alice");
    EXPECT_EQ(Voices(*page), (std::vector<std::string> {"Sesame", "Harbour"}));
    Select(*page, "Administrator");
    EXPECT_TRUE(Voices(*page).empty());
}

TEST_F(UserPage, ChangingAnAccountRowRegistersItUnderItsOwnFixedId)
{
    auto page = Open();
    Select(*page, "Administrator");
    std::string title;
    std::string id;
    bool idEditable = true;
    OnNextDialog<CUserRegisterDlg>([&](CUserRegisterDlg& dialog) {
        title = dialog.windowTitle().toStdString();
        id = TextOf(dialog, "1063");
        idEditable = Control(dialog, "1063").isEnabled();
        dialog.reject();
    });
    Click(*page, "1048");
    EXPECT_EQ(title, "WINDOWSユーザー登録");
    EXPECT_EQ(id, "Administrator");
    EXPECT_FALSE(idEditable);
}

TEST_F(UserPage, ADoubleClickOnAUserChangesHisInformation)
{
    auto page = Open();
    Select(*page, "bob");
    std::string title;
    std::string name;
    OnNextDialog<CUserRegisterDlg>([&](CUserRegisterDlg& dialog) {
        title = dialog.windowTitle().toStdString();
        name = TextOf(dialog, "1061");
        dialog.reject();
    });
    emit Users(*page).cellDoubleClicked(1, 0);
    EXPECT_EQ(title, "ユーザー情報変更");
    EXPECT_EQ(name, "Name of bob");
}

TEST_F(UserPage, ARegisteredUserGetsARow)
{
    auto page = Open();
    OnNextDialog<CUserRegisterDlg>([](CUserRegisterDlg& dialog) {
        Type(dialog, "1061", "Carol");
        Type(dialog, "1063", "carol");
        Type(dialog, "1064", "secret");
        Type(dialog, "1066", "secret");
        Control<QCheckBox>(dialog, "1071").setChecked(false);
        Click(dialog, "1");
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    m_voice->Then(kVoiceAccepted, "Lantern", "acj");
    m_voice->Then(kVoiceAccepted);
    Click(*page, "1047");
    EXPECT_EQ(Column(*page, 1), (std::vector<std::string> {"alice", "bob", "carol", "Administrator"}));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string> {"ユーザー情報登録が完了しました。"});
    EXPECT_TRUE(m_messages.Questions().empty()) << "no by-pass key without the logon permission";
}

TEST_F(UserPage, DeletingAsksFirstAndCancelKeepsUserAndAccount)
{
    auto page = Open();
    Select(*page, "bob");
    m_messages.Answer(false);
    Click(*page, "3");
    EXPECT_EQ(m_messages.Questions(), std::vector<std::string> {"ユーザー'bob'の情報を削除しますか？"});
    EXPECT_NE(m_users.VerifyUserInfo("bob"), -1);
    EXPECT_TRUE(AccountExists("bob"));
    EXPECT_EQ(Users(*page).rowCount(), 3);

    m_messages.Answer(true);
    Click(*page, "3");
    EXPECT_EQ(m_users.VerifyUserInfo("bob"), -1);
    EXPECT_FALSE(AccountExists("bob"));
    EXPECT_EQ(Column(*page, 1), (std::vector<std::string> {"alice", "Administrator"}));
    EXPECT_TRUE(Voices(*page).empty());
}

TEST_F(UserPage, RowsThatMayNotGoAreRefusedWithoutAQuestion)
{
    auto page = Open();
    Select(*page, "Administrator");
    Click(*page, "3");
    Select(*page, "alice");
    Click(*page, "3");
    EXPECT_EQ(m_messages.Texts(),
        (std::vector<std::string> {
            "OSログオン一体化ユーザーは削除できません。", "管理者は必ず一人以上いなければならないです。"}));
    EXPECT_TRUE(m_messages.Questions().empty());
    EXPECT_EQ(Users(*page).rowCount(), 3);
}

TEST_F(UserPage, TheLastVoiceStaysAndAnotherGoesAfterTheQuestion)
{
    auto page = Open();
    Select(*page, "bob");
    SelectVoice(*page, 0);
    Click(*page, "4");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string> {"登録音声は最低1語必要です。"});
    EXPECT_TRUE(m_messages.Questions().empty());
    EXPECT_EQ(Voices(*page), std::vector<std::string> {"Sesame"});

    Select(*page, "alice");
    SelectVoice(*page, 1);
    m_messages.Answer(true);
    Click(*page, "4");
    EXPECT_EQ(m_messages.Questions(), std::vector<std::string> {"'Harbour'ユーザー音声情報を削除しますか?"});
    EXPECT_EQ(Voices(*page), std::vector<std::string> {"Sesame"});
    EXPECT_EQ(m_users.GetVoiceList("alice"), "aaj");
}

TEST_F(UserPage, AnAddedVoiceIsListed)
{
    auto page = Open();
    Select(*page, "alice");
    m_voice->Then(kVoiceAccepted); // the check of alice's voice
    m_voice->Then(kVoiceAccepted, "Lantern", "acj");
    m_voice->Then(kVoiceAccepted);
    Click(*page, "1052");
    EXPECT_EQ(Voices(*page), (std::vector<std::string> {"Sesame", "Harbour", "Lantern"}));
    EXPECT_EQ(m_voice->Requests().front().purpose, kPurposeUser);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string> {"ユーザー情報登録が完了しました。"});
}

} // namespace
} // namespace deskwarden::test
