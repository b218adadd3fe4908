#include "users/UserRegisterDlg.h"
#include "users/BypassKeyOffer.h"

#include "UserWindowTestSupport.h"

#include "users/UserStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace deskwarden::test {
namespace {

class RegisterDialog : public UserWindowTest
{
protected:
    std::unique_ptr<CUserRegisterDlg> Open(const DialogRequest& request)
    {
        auto dialog = std::make_unique<CUserRegisterDlg>(request, *m_stores, *m_voice, nullptr);
        dialog->show();
        return dialog;
    }

    static std::string Message(QWidget& dialog) { return Control<QLabel>(dialog, "1076").text().toStdString(); }

    static std::string Focused(QWidget& dialog)
    {
        return dialog.focusWidget() == nullptr ? "" : dialog.focusWidget()->objectName().toStdString();
    }

    static bool Checked(QWidget& dialog, const char* id) { return Control<QCheckBox>(dialog, id).isChecked(); }

    static void Fill(QWidget& dialog, const RegistrationForm& form)
    {
        Type(dialog, "1061", form.name);
        Type(dialog, "1063", form.id);
        Type(dialog, "1064", form.password);
        Type(dialog, "1066", form.reEntry);
        Control<QComboBox>(dialog, "1069").setCurrentIndex(form.group);
        Control<QCheckBox>(dialog, "1071").setChecked(form.logon);
        Control<QCheckBox>(dialog, "1073").setChecked(form.encrypt);
        Control<QCheckBox>(dialog, "1075").setChecked(form.decrypt);
    }
};

TEST_F(RegisterDialog, OkShowsTheFirstFailedCheckAndFocusesItsField)
{
    AddProgramUser("alice", kAdministratorGroup);
    auto dialog = Open({kModeNewUser, "", false, ""});
    struct Step
    {
        std::function<void(QWidget&)> edit;
        const char* message;
        const char* focus;
    };
    // Each step mends the previous failure, so every check is seen to come after the ones before it.
    const Step steps[] = {
        {[](QWidget&) {}, "名前を入力してください。", "1061"},
        {[](QWidget& d) { Type(d, "1061", "Al;ce"); }, "“';”文字は使うことができません。", "1061"},
        {[](QWidget& d) { Type(d, "1061", "Alice"); }, "IDを入力してください。", "1063"},
        {[](QWidget& d) { Type(d, "1063", "ali?ce"); }, "“'?”文字は使うことができません。", "1063"},
        {[](QWidget& d) { Type(d, "1063", "alice"); }, "パスワードを入力してください。", "1064"},
        {[](QWidget& d) { Type(d, "1064", "secret"), Type(d, "1066", "secreT"); }, "入力したパスワードが違います。",
            "1064"},
        {[](QWidget& d) { Type(d, "1064", "se;cret"), Type(d, "1066", "se;cret"); }, "“';”文字は使うことができません。",
            "1064"},
        {[](QWidget& d) { Type(d, "1064", "secret"), Type(d, "1066", "secret"); }, "すでに登録されたIDです。", "1063"},
    };
    for (const Step& step : steps) {
        step.edit(*dialog);
        Click(*dialog, "1");
        EXPECT_EQ(Message(*dialog), step.message);
        EXPECT_EQ(Focused(*dialog), step.focus) << step.message;
        EXPECT_TRUE(dialog->isVisible()) << step.message;
    }
    EXPECT_TRUE(m_voice->Requests().empty());
    EXPECT_TRUE(m_messages.Boxes().empty());
}

TEST_F(RegisterDialog, AnAccountThatRefusesThePasswordIsAlsoToldInABox)
{
    AddAccount("bob", "right");
    auto dialog = Open({kModeNewUser, "", false, ""});
    RegistrationForm form = ValidForm();
    form.id = "bob";
    form.password = form.reEntry = "wrong";
    Fill(*dialog, form);
    Click(*dialog, "1");
    EXPECT_EQ(Message(*dialog), "入力したパスワードが違います。");
    EXPECT_EQ(Focused(*dialog), "1064");
    ASSERT_EQ(m_messages.Boxes().size(), 1U);
    EXPECT_EQ(m_messages.Boxes()[0].caption, "Marlow Desk Warden");
    EXPECT_EQ(m_messages.Boxes()[0].text, kAccountPasswordBox);
    EXPECT_TRUE(PasswordIs("bob", "right"));
}

TEST_F(RegisterDialog, FirstRunRegistersTheAdministratorAndAnswersTheBypassQuestion)
{
    std::string error;
    ASSERT_EQ(m_accounts.AccountChangePassword("Administrator", "", "admin", error), 1) << error;
    auto dialog = Open({kModeNewUser, "", true, ""});
    EXPECT_EQ(dialog->windowTitle().toStdString(), "ユーザー登録");
    EXPECT_EQ(TextOf(*dialog, "1063"), "Administrator");
    EXPECT_FALSE(Control(*dialog, "1063").isEnabled());
    EXPECT_EQ(Control<QComboBox>(*dialog, "1069").currentText().toStdString(), "管理者");
    EXPECT_TRUE(Checked(*dialog, "1071") && Checked(*dialog, "1073") && Checked(*dialog, "1075"));

    Type(*dialog, "1061", "Owner");
    Type(*dialog, "1064", "admin");
    Type(*dialog, "1066", "admin");
    m_voice->Then(kVoiceAccepted);
    m_voice->Then(kVoiceAccepted);
    m_messages.Answer(true);
    Click(*dialog, "1");

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    CAppUserDic::USER_DICTIONARY info;
    ASSERT_EQ(m_users.GetUserInfo("Administrator", info), 1);
    EXPECT_EQ(info.group, kAdministratorGroup);
    EXPECT_EQ(info.authority, "111");
    EXPECT_EQ(m_messages.Questions(), std::vector<std::string> {"今すぐBy-passキーを作成しますか？"});
    EXPECT_EQ(
        m_messages.Texts(), (std::vector<std::string> {"ユーザー情報登録が完了しました。", kBypassKeyUnavailable}));
}

TEST_F(RegisterDialog, AYesToTheBypassQuestionOpensTheInstalledKeyMakerOverTheDialog)
{
    std::vector<QWidget*> owners;
    SetBypassKeyMaker([&owners](QWidget* owner) { owners.push_back(owner); });
    for (const bool yes : {false, true}) {
        const std::string id = yes ? "carol" : "dave";
        auto dialog = Open({kModeNewUser, "", false, ""});
        RegistrationForm form = ValidForm();
        form.id = id;
        Fill(*dialog, form);
        m_voice->Then(kVoiceAccepted);
        m_voice->Then(kVoiceAccepted);
        m_messages.Answer(yes);
        Click(*dialog, "1");
        ASSERT_EQ(dialog->result(), QDialog::Accepted) << id;
        EXPECT_EQ(owners.size(), yes ? 1U : 0U) << id;
        if (yes)
            EXPECT_EQ(owners.back(), dialog.get());
    }
    SetBypassKeyMaker({});
    const std::vector<std::string> texts = m_messages.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), kBypassKeyUnavailable), 0);
}

TEST_F(RegisterDialog, AFailedEnrolmentKeepsTheDialogOpenAndRegistersNobody)
{
    auto dialog = Open({kModeNewUser, "", false, ""});
    Fill(*dialog, ValidForm());
    m_voice->Then(kVoiceAccepted);
    m_voice->Then(2);
    Click(*dialog, "1");
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(m_users.VerifyUserInfo("alice"), -1);
    ASSERT_EQ(m_messages.Boxes().size(), 1U);
    EXPECT_EQ(m_messages.Boxes()[0].text, "音声登録が失敗しました。");
    EXPECT_EQ(m_messages.Boxes()[0].icon, MessageIcon::Warning);
}

TEST_F(RegisterDialog, ChangingLoadsTheUserAndKeepsTheLastAdministrator)
{
    AddProgramUser("alice", kAdministratorGroup, "aaj", "stored");
    auto dialog = Open({kModeExistingId, "", false, "alice"});
    EXPECT_EQ(dialog->windowTitle().toStdString(), "ユーザー情報変更");
    EXPECT_EQ(TextOf(*dialog, "1061"), "Name of alice");
    EXPECT_EQ(TextOf(*dialog, "1064"), "stored");
    EXPECT_EQ(TextOf(*dialog, "1066"), "stored");
    EXPECT_EQ(Control<QLineEdit>(*dialog, "1064").echoMode(), QLineEdit::Password);
    EXPECT_EQ(Control<QLineEdit>(*dialog, "1066").echoMode(), QLineEdit::Password);

    Control<QComboBox>(*dialog, "1069").setCurrentIndex(1);
    Click(*dialog, "1");
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string> {"管理者は必ず一人以上いなければならないです。"});
    CAppUserDic::USER_DICTIONARY info;
    ASSERT_EQ(m_users.GetUserInfo("alice", info), 1);
    EXPECT_EQ(info.group, kAdministratorGroup);

    Control<QComboBox>(*dialog, "1069").setCurrentIndex(0);
    Type(*dialog, "1061", "Alice Renamed");
    Click(*dialog, "1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_messages.Texts().back(), "情報変更が完了しました。");
    ASSERT_EQ(m_users.GetUserInfo("alice", info), 1);
    EXPECT_EQ(info.name, "Alice Renamed");
}

TEST_F(RegisterDialog, AnUnreadableUserClosesTheDialogWithCancel)
{
    CUserRegisterDlg dialog({kModeExistingId, "", false, "nobody"}, *m_stores, *m_voice, nullptr);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

TEST_F(RegisterDialog, EachControlTheUserMovesToShowsItsOwnHint)
{
    auto dialog = Open({kModeNewUser, "", false, ""});
    Click(*dialog, "1");
    const std::string failure = Message(*dialog);
    QFocusEvent programmatic(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(&Control(*dialog, "1063"), &programmatic);
    EXPECT_EQ(Message(*dialog), failure) << "focus set after a failed check keeps its message";

    const std::pair<const char*, int> hints[]
        = {{"1061", kHintName}, {"1063", kHintId}, {"1064", kHintPassword}, {"1066", kHintReEntry},
            {"1069", kHintGroup}, {"1071", kHintLogon}, {"1073", kHintEncrypt}, {"1075", kHintDecrypt}};
    std::set<std::string> shown;
    for (const auto& [id, hintId] : hints) {
        QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(&Control(*dialog, id), &tab);
        EXPECT_EQ(Message(*dialog), StringText(hintId)) << id;
        EXPECT_FALSE(StringText(hintId).empty()) << id;
        shown.insert(Message(*dialog));
    }
    EXPECT_EQ(shown.size(), std::size(hints)) << "every control has a hint of its own";
}

} // namespace
} // namespace deskwarden::test
