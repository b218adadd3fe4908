#include "settings/ProgramSettingsPage.h"

#include "settings/PamUsage.h"
#include "settings/SecureFolder.h"
#include "settings/SettingsPrompts.h"
#include "settings/SettingsStrings.h"

#include "MessageService.h"
#include "SystemInfo.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace deskwarden::settings {

namespace {

constexpr const char* kPamFolder = "/etc/pam.d";

QCheckBox* Check(const char* text, const char* id, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(id);
    return box;
}

/** A group of the three modes, with the control ids of its first, second and third button. */
QGroupBox* ModeGroup(const char* title, const char* const ids[3], QRadioButton* buttons[3], QWidget* parent)
{
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    auto* layout = new QVBoxLayout(group);
    const char* texts[3] = {kModeVoiceAndPassword, kModeVoice, kModePassword};
    auto* exclusive = new QButtonGroup(group);
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new QRadioButton(QString::fromUtf8(texts[i]), group);
        buttons[i]->setObjectName(ids[i]);
        exclusive->addButton(buttons[i], i);
        layout->addWidget(buttons[i]);
    }
    return group;
}

int CheckedMode(QRadioButton* const buttons[3])
{
    for (int i = 0; i < 3; ++i) {
        if (buttons[i]->isChecked())
            return i;
    }
    return 1;
}

std::string PamState(const std::string& programFolder)
{
    const std::string module = pam_usage::InstalledModule(pam_usage::ModuleCandidates(programFolder));
    return pam_usage::Describe(
        module, module.empty() ? std::vector<std::string>() : pam_usage::ServicesUsingModule(kPamFolder));
}

} // namespace

CProgramSettingsPage::CProgramSettingsPage(CSetupFile& setup, LogonPlace place, QWidget* parent)
    : QWidget(parent)
    , m_setup(setup)
    , m_place(std::move(place))
    , m_logonVoice(Check(kLogonVoice, "1037", this))
    , m_deleteSource(Check(kDeleteSource, "1038", this))
    , m_deleteBundle(Check(kDeleteBundle, "1039", this))
    , m_makeType(Check(kSecureMakeType, "1097", this))
    , m_folder(new QLineEdit(this))
    , m_browse(new QPushButton("...", this))
    , m_pam(new QLabel(this))
{
    setObjectName("109");
    static const char* const kLogonIds[3] = {"1031", "1032", "1033"};
    static const char* const kFileIds[3] = {"1034", "1035", "1036"};
    m_folder->setObjectName("1040");
    m_browse->setObjectName("1041");
    m_pam->setObjectName("PamState");
    m_pam->setWordWrap(true);
    connect(m_makeType, &QCheckBox::clicked, this, &CProgramSettingsPage::UpdateFolderControls);
    connect(m_browse, &QPushButton::clicked, this, &CProgramSettingsPage::Browse);

    auto* modes = new QHBoxLayout;
    modes->addWidget(ModeGroup(kLogonModeGroup, kLogonIds, m_logonModes, this));
    modes->addWidget(ModeGroup(kFileModeGroup, kFileIds, m_fileModes, this));
    auto* folder = new QHBoxLayout;
    folder->addWidget(m_folder);
    folder->addWidget(m_browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_logonVoice);
    layout->addWidget(m_pam);
    layout->addLayout(modes);
    layout->addWidget(m_deleteSource);
    layout->addWidget(m_deleteBundle);
    layout->addWidget(m_makeType);
    layout->addLayout(folder);
    layout->addStretch();
    Load();
}

void CProgramSettingsPage::Load()
{
    const ProgramSettingsForm form = LoadProgramSettings(m_setup, m_place.ntFamily);
    m_makeType->setChecked(form.secureMakeType);
    m_folder->setText(QString::fromStdString(form.secureFolder));
    m_logonVoice->setChecked(form.logonVoice);
    m_deleteSource->setChecked(form.deleteSource);
    m_deleteBundle->setChecked(form.deleteBundle);
    m_logonModes[std::clamp(form.logonAuthMode, 0, 2)]->setChecked(true);
    m_fileModes[std::clamp(form.fileAuthMode, 0, 2)]->setChecked(true);
    m_pam->setText(QString::fromStdString(PamState(m_place.programFolder)));
    UpdateFolderControls();
}

void CProgramSettingsPage::UpdateFolderControls()
{
    m_folder->setEnabled(m_makeType->isChecked());
    m_browse->setEnabled(m_makeType->isChecked());
}

void CProgramSettingsPage::Browse()
{
    const std::string chosen = Prompts().chooseFolder(this, kBrowseSecureFolder);
    if (secure_folder::IsUsableChoice(chosen))
        m_folder->setText(QString::fromStdString(chosen));
}

ProgramSettingsForm CProgramSettingsPage::ReadForm() const
{
    ProgramSettingsForm form;
    form.secureMakeType = m_makeType->isChecked();
    form.secureFolder = m_folder->text().toStdString();
    form.logonVoice = m_logonVoice->isChecked();
    form.deleteSource = m_deleteSource->isChecked();
    form.deleteBundle = m_deleteBundle->isChecked();
    form.logonAuthMode = CheckedMode(m_logonModes);
    form.fileAuthMode = CheckedMode(m_fileModes);
    return form;
}

bool CProgramSettingsPage::Save()
{
    switch (SaveProgramSettings(ReadForm(), m_setup, m_place)) {
    case SaveResult::InvalidFolder:
        CMessageService::Report(kShortCaption, kInvalidDirectory, MessageIcon::Warning);
        m_folder->setFocus();
        return false;
    case SaveResult::SavedAskRestart:
        if (CMessageService::Ask(kProductCaption, kRestartQuestion))
            CSystemInfo().SystemReboot();
        return true;
    case SaveResult::Saved:
        return true;
    }
    return false;
}

} // namespace deskwarden::settings
