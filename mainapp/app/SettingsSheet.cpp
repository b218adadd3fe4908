#include "app/SettingsSheet.h"

#include "app/MainStrings.h"
#include "users/UserManagePage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace deskwarden::app {

CSettingsSheet::CSettingsSheet(
    users::UserStores& stores, CSetupFile& setup, users::VoiceDialogRunner& voice, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("CSettingsSheet");
    setWindowTitle(QString::fromUtf8("環境設定 - ") + QString::fromUtf8(kProductCaption));
    setFont(QFont("IPAGothic", 9));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(new users::CUserManagePage(stores, setup, voice, tabs), QString::fromUtf8("ユーザー管理"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QString::fromUtf8("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    // Wide enough for every column of the user list without scrolling.
    resize(580, 620);
}

} // namespace deskwarden::app
