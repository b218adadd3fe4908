#include "settings/BackupPage.h"

#include "settings/SettingsActions.h"
#include "settings/SettingsStrings.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace deskwarden::settings {

namespace {

QLabel* Explanation(const char* const (&lines)[4], QWidget* parent)
{
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + "\n";
    auto* label = new QLabel(text.trimmed(), parent);
    label->setWordWrap(true);
    return label;
}

QPushButton* Button(const char* text, const char* id, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(id);
    return button;
}

} // namespace

CBackupPage::CBackupPage(CSetupFile& setup, users::UserStores& stores, QWidget* parent)
    : QWidget(parent)
{
    setObjectName("171");
    auto* bypass = Button(kMakeBypassButton, "1049", this);
    auto* backUp = Button(kBackupButton, "1051", this);
    auto* restore = Button(kRestoreButton, "1052", this);
    connect(bypass, &QPushButton::clicked, this, [this, &setup] { actions::MakeBypassKeyFromMenu(setup, this); });
    connect(backUp, &QPushButton::clicked, this, [this, &setup] { actions::BackUp(setup, this); });
    connect(restore, &QPushButton::clicked, this, [this, &stores] { actions::Restore(stores, this); });

    auto* backupBox = new QGroupBox(this);
    auto* backupLayout = new QVBoxLayout(backupBox);
    backupLayout->addWidget(Explanation(kBackupTexts, backupBox));
    backupLayout->addWidget(backUp, 0, Qt::AlignRight);
    backupLayout->addWidget(restore, 0, Qt::AlignRight);
    auto* keyBox = new QGroupBox(this);
    auto* keyLayout = new QVBoxLayout(keyBox);
    keyLayout->addWidget(Explanation(kBypassTexts, keyBox));
    keyLayout->addWidget(bypass, 0, Qt::AlignRight);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(backupBox);
    layout->addWidget(keyBox);
    layout->addStretch();
}

} // namespace deskwarden::settings
