#include "users/UserRegisterDlg.h"

#include "users/BypassKeyOffer.h"
#include "users/OutcomeReport.h"
#include "users/UserLabels.h"
#include "users/UserStrings.h"

#include "MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace deskwarden::users {
namespace {

constexpr const char* kDialogFont = "IPAPGothic";
constexpr int kDialogFontPoints = 10;
constexpr int kFieldWidth = 220;
constexpr int kMessageLines = 3;

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QLineEdit* NewField(const char* id, QWidget* parent, bool hidden)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(id);
    field->setMinimumWidth(kFieldWidth);
    if (hidden) {
        field->setEchoMode(QLineEdit::Password);
    }
    return field;
}

QCheckBox* NewPermission(const char* id, const char* text, QWidget* parent)
{
    auto* box = new QCheckBox(Text(text), parent);
    box->setObjectName(id);
    return box;
}

// Only focus the user moved himself shows a hint: focus set after a failed check must keep its message.
bool MovedByUser(Qt::FocusReason reason)
{
    return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
        || reason == Qt::ShortcutFocusReason;
}

} // namespace

CUserRegisterDlg::CUserRegisterDlg(
    const DialogRequest& request, UserStores& stores, VoiceDialogRunner& voice, QWidget* parent)
    : QDialog(parent)
    , m_stores(stores)
    , m_voice(voice)
{
    setObjectName(QString::number(kTemplateId));
    setFont(QFont(kDialogFont, kDialogFontPoints));
    CreateControls();
    LayOut();
    Present(StartDialogFromStores(request, m_stores.ntFamily, m_stores.users, m_stores.accounts));
}

void CUserRegisterDlg::CreateControls()
{
    m_name = NewField("1061", this, false);
    m_id = NewField("1063", this, false);
    m_password = NewField("1064", this, true);
    m_reEntry = NewField("1066", this, true);
    m_group = new QComboBox(this);
    m_group->setObjectName("1069");
    m_group->addItem(Text(StringText(kGroupAdministrator)));
    m_group->addItem(Text(StringText(kGroupGeneral)));
    m_logon = NewPermission("1071", kLogonPermission, this);
    m_encrypt = NewPermission("1073", kEncryptPermission, this);
    m_decrypt = NewPermission("1075", kDecryptPermission, this);
    m_message = new QLabel(this);
    m_message->setObjectName("1076");
    m_message->setWordWrap(true);
    m_message->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_message->setMargin(4);
    m_message->setMinimumHeight(m_message->fontMetrics().lineSpacing() * kMessageLines + 10);
    WatchForHint(m_name, kHintName);
    WatchForHint(m_id, kHintId);
    WatchForHint(m_password, kHintPassword);
    WatchForHint(m_reEntry, kHintReEntry);
    WatchForHint(m_group, kHintGroup);
    WatchForHint(m_logon, kHintLogon);
    WatchForHint(m_encrypt, kHintEncrypt);
    WatchForHint(m_decrypt, kHintDecrypt);
}

void CUserRegisterDlg::LayOut()
{
    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->addRow(Text(kNameLabel), m_name);
    fields->addRow(Text(kIdLabel), m_id);
    fields->addRow(Text(kPasswordLabel), m_password);
    fields->addRow(Text(kReEntryLabel), m_reEntry);
    fields->addRow(Text(kGroupLabel), m_group);

    auto* permissions = new QGroupBox(Text(kPermissionsLabel), this);
    auto* boxes = new QVBoxLayout(permissions);
    boxes->addWidget(m_logon);
    boxes->addWidget(m_encrypt);
    boxes->addWidget(m_decrypt);

    auto* ok = new QPushButton(Text(kOkButton), this);
    ok->setObjectName("1");
    ok->setDefault(true);
    auto* cancel = new QPushButton(Text(kCancelButton), this);
    cancel->setObjectName("2");
    connect(ok, &QPushButton::clicked, this, &CUserRegisterDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CUserRegisterDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(16, 16, 16, 12);
    page->setSpacing(10);
    page->addLayout(fields);
    page->addWidget(permissions);
    page->addWidget(m_message);
    page->addLayout(buttons);
    page->setSizeConstraint(QLayout::SetFixedSize);
}

void CUserRegisterDlg::Present(const DialogStart& start)
{
    setWindowTitle(Text(start.title));
    m_start = start.form;
    m_closeAtStart = start.closeWithCancel;
    m_name->setText(Text(start.form.name));
    m_id->setText(Text(start.form.id));
    m_id->setEnabled(!start.idFixed);
    m_password->setText(Text(start.form.password));
    m_reEntry->setText(Text(start.form.reEntry));
    m_group->setCurrentIndex(start.form.group == kAdministratorGroup ? 0 : 1);
    m_logon->setChecked(start.form.logon);
    m_encrypt->setChecked(start.form.encrypt);
    m_decrypt->setChecked(start.form.decrypt);
    m_name->setFocus();
    m_message->setText(Text(StringText(kHintName)));
}

void CUserRegisterDlg::WatchForHint(QWidget* control, int hintId)
{
    control->installEventFilter(this);
    m_hints.emplace_back(control, hintId);
}

bool CUserRegisterDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && MovedByUser(static_cast<QFocusEvent*>(event)->reason())) {
        for (const auto& [control, hintId] : m_hints) {
            if (control == watched) {
                m_message->setText(Text(StringText(hintId)));
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

int CUserRegisterDlg::exec()
{
    if (m_closeAtStart) {
        setResult(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

RegistrationForm CUserRegisterDlg::ReadForm() const
{
    RegistrationForm form = m_start;
    form.name = m_name->text().toStdString();
    form.id = m_id->text().toStdString();
    form.password = m_password->text().toStdString();
    form.reEntry = m_reEntry->text().toStdString();
    form.group = m_group->currentIndex() == 0 ? kAdministratorGroup : kGeneralGroup;
    form.logon = m_logon->isChecked();
    form.encrypt = m_encrypt->isChecked();
    form.decrypt = m_decrypt->isChecked();
    return form;
}

void CUserRegisterDlg::accept()
{
    const RegistrationForm form = ReadForm();
    if (const auto failure = CheckRegistration(form, m_stores.users, m_stores.accounts, m_stores.ntFamily)) {
        ShowFailure(*failure);
        return;
    }
    const Outcome outcome = form.Registers() ? RegisterUser(form, m_stores, m_voice) : ChangeUser(form, m_stores);
    ReportOutcome(outcome);
    if (!outcome.done) {
        return;
    }
    if (outcome.offerBypassKey) {
        OfferBypassKey();
    }
    QDialog::accept();
}

void CUserRegisterDlg::ShowFailure(const CheckFailure& failure)
{
    QLineEdit* field = failure.focus == Field::Name ? m_name
        : failure.focus == Field::Id                ? m_id
        : failure.focus == Field::Password          ? m_password
                                                    : nullptr;
    if (field != nullptr) {
        field->setFocus();
        field->selectAll();
    }
    m_message->setText(Text(failure.message.text));
    if (!failure.boxText.empty()) {
        CMessageService::Report(kProductCaption, failure.boxText, MessageIcon::Warning);
    }
}

void CUserRegisterDlg::OfferBypassKey()
{
    if (!CMessageService::Ask(kProductCaption, kBypassKeyQuestion)) {
        return;
    }
    if (const BypassKeyMaker& maker = InstalledBypassKeyMaker()) {
        maker(this);
    } else {
        CMessageService::Report(kProductCaption, kBypassKeyUnavailable, MessageIcon::Information);
    }
}

} // namespace deskwarden::users
