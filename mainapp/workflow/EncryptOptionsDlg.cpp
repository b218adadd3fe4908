#include "workflow/EncryptOptionsDlg.h"

#include "files/BundleNaming.h"

#include "AppUserDic.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace deskwarden::workflow {

namespace {

QTreeWidget* MakeUserList(const char* id, QWidget* parent)
{
    auto* view = new QTreeWidget(parent);
    view->setObjectName(id);
    view->setRootIsDecorated(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setAllColumnsShowFocus(true);
    view->setHeaderLabels({QString::fromUtf8("名前"), "ID"});
    view->setColumnWidth(0, 100);
    view->setColumnWidth(1, 75);
    view->setMinimumWidth(200);
    return view;
}

QLineEdit* MakePasswordField(const char* id, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(id);
    field->setEchoMode(QLineEdit::Password);
    field->setMaxLength(kLongestFilePassword);
    return field;
}

std::string SelectedId(const QTreeWidget& view)
{
    const QTreeWidgetItem* item = view.currentItem();
    return item == nullptr ? std::string() : item->text(1).toStdString();
}

} // namespace

CEncryptOptionsDlg::CEncryptOptionsDlg(const CAppUserDic& users, const files::FileList& list, std::string ownerId,
    std::string ownerKey, const std::string& defaultBundle, QWidget* parent)
    : QDialog(parent)
    , m_users(users)
    , m_list(list)
{
    m_settings.ownerId = std::move(ownerId);
    m_settings.ownerKey = std::move(ownerKey);
    setObjectName("130");
    setWindowTitle(QString::fromUtf8(kOptionsTitle));
    setFont(QFont("IPAPGothic", 10));

    m_left = MakeUserList("LeftUsers", this);
    m_right = MakeUserList("RightUsers", this);
    auto* toRight = new QPushButton(">>", this);
    toRight->setObjectName("ToRight");
    auto* toLeft = new QPushButton("<<", this);
    toLeft->setObjectName("ToLeft");
    m_password = MakePasswordField("Password", this);
    m_reEntry = MakePasswordField("ReEntry", this);
    m_bundle = new QLineEdit(QString::fromStdString(defaultBundle), this);
    m_bundle->setObjectName("BundleName");
    m_browse = new QPushButton("...", this);
    m_browse->setObjectName("Browse");
    m_message = new QLabel(this);
    m_message->setObjectName("Message");
    m_message->setStyleSheet("color: #b00020;");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("1");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), this);
    cancel->setObjectName("2");

    connect(toRight, &QPushButton::clicked, this, [this] { Move(true); });
    connect(toLeft, &QPushButton::clicked, this, [this] { Move(false); });
    connect(m_left, &QTreeWidget::itemDoubleClicked, this, [this] { Move(true); });
    connect(m_right, &QTreeWidget::itemDoubleClicked, this, [this] { Move(false); });
    connect(m_browse, &QPushButton::clicked, this, &CEncryptOptionsDlg::Browse);
    connect(ok, &QPushButton::clicked, this, &CEncryptOptionsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(QString::fromUtf8(kAllUsersTitle), this), 0, 0);
    lists->addWidget(new QLabel(QString::fromUtf8(kPermittedUsersTitle), this), 0, 2);
    lists->addWidget(m_left, 1, 0);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(toRight);
    arrows->addWidget(toLeft);
    arrows->addStretch();
    lists->addLayout(arrows, 1, 1);
    lists->addWidget(m_right, 1, 2);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QString::fromUtf8("パスワード"), this), 0, 0);
    fields->addWidget(m_password, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QString::fromUtf8("パスワード再入力"), this), 1, 0);
    fields->addWidget(m_reEntry, 1, 1, 1, 2);
    fields->addWidget(new QLabel(QString::fromUtf8("暗号化ファイル名設定"), this), 2, 0);
    fields->addWidget(m_bundle, 2, 1);
    fields->addWidget(m_browse, 2, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_message, 1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    FillUserLists();
}

void CEncryptOptionsDlg::FillUserLists()
{
    m_users.GetUserIDList(m_everyone);
    ShowRows(*m_left, m_everyone);
    ShowRows(*m_right, m_permitted);
}

void CEncryptOptionsDlg::ShowRows(QTreeWidget& view, const std::vector<std::string>& ids)
{
    view.clear();
    for (const std::string& id : ids) {
        CAppUserDic::USER_DICTIONARY info;
        const std::string name = m_users.GetUserInfo(id, info) == 1 ? info.name : std::string();
        auto* row = new QTreeWidgetItem(&view);
        row->setText(0, QString::fromStdString(name));
        row->setText(1, QString::fromStdString(id));
    }
}

void CEncryptOptionsDlg::Move(bool toPermitted)
{
    if (toPermitted)
        MoveUser(m_everyone, m_permitted, SelectedId(*m_left));
    else
        MoveUser(m_permitted, m_everyone, SelectedId(*m_right));
    ShowRows(*m_left, m_everyone);
    ShowRows(*m_right, m_permitted);
}

void CEncryptOptionsDlg::Browse()
{
    const QString chosen = QFileDialog::getSaveFileName(this, QString::fromUtf8(kOptionsTitle), m_bundle->text(),
        "Encrypted files (*.wdv);;All files (*.*)", nullptr, QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty())
        m_bundle->setText(QString::fromStdString(files::WithBundleExtension(chosen.toStdString())));
}

EncryptOptionsForm CEncryptOptionsDlg::ReadForm() const
{
    return EncryptOptionsForm {
        m_password->text().toStdString(), m_reEntry->text().toStdString(), m_bundle->text().toStdString(), m_permitted};
}

void CEncryptOptionsDlg::accept()
{
    const EncryptOptionsForm form = ReadForm();
    if (const auto failure = CheckEncryptOptions(form, m_list)) {
        m_message->setText(QString::fromStdString(failure->message.text));
        QWidget* focus = failure->focus == OptionsField::Password ? static_cast<QWidget*>(m_password)
            : failure->focus == OptionsField::Browse              ? static_cast<QWidget*>(m_browse)
                                                                  : static_cast<QWidget*>(m_bundle);
        focus->setFocus();
        return;
    }
    m_settings.password = form.password;
    m_settings.bundlePath = form.bundlePath;
    m_settings.permittedIds = form.permittedIds;
    m_settings.permittedKeys.clear();
    // The keys are looked up now: a user changed since the dialog opened is bound by his current key.
    for (const std::string& id : form.permittedIds)
        m_settings.permittedKeys.push_back(m_users.GetCertiKey(id));
    QDialog::accept();
}

} // namespace deskwarden::workflow
