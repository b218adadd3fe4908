#include "users/UserManagePage.h"

#include "users/CentredIconDelegate.h"
#include "users/ManagementRules.h"
#include "users/OutcomeReport.h"
#include "users/UserLabels.h"
#include "users/UserPageIcons.h"
#include "users/UserRegisterDlg.h"
#include "users/UserStrings.h"
#include "users/VoiceList.h"

#include "MessageService.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace deskwarden::users {
namespace {

constexpr const char* kPageFont = "IPAPGothic";
constexpr int kPageFontPoints = 10;
constexpr int kRowIconSize = 16;
constexpr int kButtonWidth = 100;

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QTableWidgetItem* NewCell(const QString& text)
{
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

QTableWidgetItem* NewPermissionCell(bool granted)
{
    QTableWidgetItem* cell = NewCell({});
    if (granted) {
        cell->setIcon(PermissionCheckIcon());
    }
    return cell;
}

// The widths are the least a column gets: a longer ID or group text widens its column rather than being cut.
void FitTextColumns(QTableWidget& table)
{
    for (int column = 0; column < kFirstPermissionColumn; ++column) {
        table.resizeColumnToContents(column);
        if (table.columnWidth(column) < kUserColumns[column].width) {
            table.setColumnWidth(column, kUserColumns[column].width);
        }
    }
}

void FillRow(QTableWidget& table, int at, const UserRow& row)
{
    QTableWidgetItem* name = NewCell(Text(row.name));
    name->setIcon(UserRowIcon(row));
    table.setItem(at, 0, name);
    table.setItem(at, 1, NewCell(Text(row.id)));
    table.setItem(at, 2, NewCell(Text(StringText(row.groupStringId))));
    const bool granted[] = {row.logon, row.encrypt, row.decrypt};
    for (int i = 0; i < 3; ++i) {
        table.setItem(at, kFirstPermissionColumn + i, NewPermissionCell(granted[i]));
    }
}

QTableWidget* NewUserTable(QWidget* parent)
{
    auto* table = new QTableWidget(0, static_cast<int>(std::size(kUserColumns)), parent);
    table->setObjectName("1046");
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setShowGrid(true);
    table->setIconSize(QSize(kRowIconSize, kRowIconSize));
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setHighlightSections(false);
    for (int column = 0; column < table->columnCount(); ++column) {
        table->setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromUtf8(kUserColumns[column].title)));
        table->setColumnWidth(column, kUserColumns[column].width);
    }
    auto* centred = new CentredIconDelegate(table);
    for (int column = kFirstPermissionColumn; column < table->columnCount(); ++column) {
        table->setItemDelegateForColumn(column, centred);
    }
    return table;
}

QTreeWidget* NewVoiceList(QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName("1050");
    list->setColumnCount(1);
    list->setHeaderLabels({QString::fromUtf8(kVoiceColumn)});
    list->setColumnWidth(0, kVoiceColumnWidth);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QPushButton* NewButton(const char* id, const char* text, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(id);
    button->setMinimumWidth(kButtonWidth);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    return row;
}

} // namespace

CUserManagePage::CUserManagePage(UserStores& stores, CSetupFile& setup, VoiceDialogRunner& voice, QWidget* parent)
    : QWidget(parent)
    , m_stores(stores)
    , m_setup(setup)
    , m_voice(voice)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8(kUserPageTitle));
    setFont(QFont(kPageFont, kPageFontPoints));
    CreateControls();
    FillUsers();
}

void CUserManagePage::CreateControls()
{
    m_users = NewUserTable(this);
    m_voices = NewVoiceList(this);
    QPushButton* registerUser = NewButton("1047", kRegisterButton, this);
    QPushButton* change = NewButton("1048", kChangeButton, this);
    QPushButton* deleteUser = NewButton("3", kDeleteUserButton, this);
    QPushButton* addVoice = NewButton("1052", kAddVoiceButton, this);
    QPushButton* deleteVoice = NewButton("4", kDeleteVoiceButton, this);
    connect(registerUser, &QPushButton::clicked, this, &CUserManagePage::RegisterNewUser);
    connect(change, &QPushButton::clicked, this, &CUserManagePage::ChangeSelectedUser);
    connect(deleteUser, &QPushButton::clicked, this, &CUserManagePage::DeleteSelectedUser);
    connect(addVoice, &QPushButton::clicked, this, &CUserManagePage::AddVoiceToSelected);
    connect(deleteVoice, &QPushButton::clicked, this, &CUserManagePage::DeleteSelectedVoice);
    connect(m_users, &QTableWidget::itemSelectionChanged, this, &CUserManagePage::FillVoices);
    connect(m_users, &QTableWidget::cellDoubleClicked, this, &CUserManagePage::ChangeSelectedUser);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 12, 12, 12);
    page->addWidget(m_users, 3);
    page->addLayout(ButtonRow({registerUser, change, deleteUser}));
    page->addSpacing(6);
    page->addWidget(m_voices, 2);
    page->addLayout(ButtonRow({addVoice, deleteVoice}));
}

void CUserManagePage::FillUsers()
{
    const std::optional<UserRow> selected = SelectedRow();
    m_rows = ListUserRows(m_stores.users, m_stores.accounts, m_stores.ntFamily);
    const QSignalBlocker quiet(m_users);
    m_users->clearSelection();
    m_users->setRowCount(static_cast<int>(m_rows.size()));
    int reselect = -1;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        FillRow(*m_users, static_cast<int>(i), m_rows[i]);
        if (selected && m_rows[i].id == selected->id) {
            reselect = static_cast<int>(i);
        }
    }
    FitTextColumns(*m_users);
    if (reselect >= 0) {
        m_users->selectRow(reselect);
    }
    FillVoices();
}

void CUserManagePage::FillVoices()
{
    m_voices->clear();
    const std::optional<UserRow> row = SelectedRow();
    if (!row || row->IsAccountOnly()) {
        return;
    }
    for (const std::string& word : ShownVoiceWords(m_stores.users, m_setup, row->id)) {
        m_voices->addTopLevelItem(new QTreeWidgetItem({Text(word)}));
    }
}

std::optional<UserRow> CUserManagePage::SelectedRow() const
{
    const QList<QTableWidgetSelectionRange> ranges = m_users->selectedRanges();
    if (ranges.isEmpty()) {
        return std::nullopt;
    }
    const auto at = static_cast<std::size_t>(ranges.front().topRow());
    return at < m_rows.size() ? std::optional<UserRow>(m_rows[at]) : std::nullopt;
}

void CUserManagePage::RunRegisterDialog(const DialogRequest& request)
{
    CUserRegisterDlg dialog(request, m_stores, m_voice, this);
    if (dialog.exec() == QDialog::Accepted) {
        FillUsers();
    }
}

void CUserManagePage::RegisterNewUser()
{
    RunRegisterDialog({kModeNewUser, "", false, ""});
}

void CUserManagePage::ChangeSelectedUser()
{
    const std::optional<UserRow> row = SelectedRow();
    if (!row) {
        return;
    }
    // An account that is no program user yet is taken over under its own name.
    RunRegisterDialog({kModeExistingId, row->IsAccountOnly() ? row->id : "", false, row->id});
}

void CUserManagePage::DeleteSelectedUser()
{
    const std::optional<UserRow> row = SelectedRow();
    if (!row) {
        return;
    }
    if (const auto refusal = RefuseUserDeletion(m_stores.users, row->name, row->id, m_stores.ntFamily)) {
        CMessageService::Report(kProductCaption, *refusal, MessageIcon::Warning);
        return;
    }
    if (!CMessageService::Ask(kProductCaption, DeleteUserQuestion(row->id))) {
        return;
    }
    ReportOutcome(DeleteUser(row->id, m_stores));
    FillUsers();
}

void CUserManagePage::AddVoiceToSelected()
{
    const std::optional<UserRow> row = SelectedRow();
    if (!row || row->IsAccountOnly()) {
        return;
    }
    ReportOutcome(AddVoice(row->id, m_stores, m_voice));
    FillVoices();
}

void CUserManagePage::DeleteSelectedVoice()
{
    const std::optional<UserRow> row = SelectedRow();
    const QTreeWidgetItem* voice = m_voices->currentItem();
    if (!row || row->IsAccountOnly() || voice == nullptr) {
        return;
    }
    if (const auto refusal = RefuseVoiceDeletion(m_stores.users, row->id)) {
        CMessageService::Report(kProductCaption, *refusal, MessageIcon::Warning);
        return;
    }
    const std::string word = voice->text(0).toStdString();
    if (!CMessageService::Ask(kProductCaption, DeleteVoiceQuestion(word))) {
        return;
    }
    ReportOutcome(DeleteShownVoice(row->id, word, m_setup, m_stores));
    FillVoices();
}

} // namespace deskwarden::users
