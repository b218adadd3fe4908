#include "transfer/UserTransferDlg.h"

#include "transfer/TransferForm.h"
#include "transfer/TransferTexts.h"
#include "users/UserLabels.h"
#include "users/UserPageIcons.h"
#include "users/UserStrings.h"

#include "MessageService.h"

#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHostAddress>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace deskwarden::transfer {
namespace {

constexpr int kUserListTimer = 2;
constexpr int kNeighbourhoodTimer = 1;

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

void Warn(const char* text)
{
    CMessageService::Report(users::kProductCaption, text, MessageIcon::Warning);
}

QTableWidgetItem* Cell(const QString& text)
{
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

std::string ReadSmallFile(const char* path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.read(1 << 20).toStdString() : std::string();
}

/** The first IPv4 address of `name`, or "" when it does not resolve. */
std::string FirstAddress(const QString& name)
{
    const QHostAddress literal(name);
    if (literal.protocol() == QAbstractSocket::IPv4Protocol) {
        return literal.toString().toStdString();
    }
    for (const QHostAddress& address : QHostInfo::fromName(name).addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            return address.toString().toStdString();
        }
    }
    return {};
}

} // namespace

CUserTransferDlg::CUserTransferDlg(
    const std::string& host, const std::string& address, std::vector<users::UserRow> rows, QWidget* parent)
    : QDialog(parent)
    , m_rows(std::move(rows))
{
    setObjectName("134");
    setWindowTitle(QString::fromUtf8(kTransferTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewThisComputerGroup(host, address));
    layout->addWidget(NewReceiverGroup());
    auto* buttons = new QHBoxLayout;
    auto* send = new QPushButton(QString::fromUtf8(kSendButton), this);
    send->setObjectName("1094");
    auto* close = new QPushButton(QString::fromUtf8(kCloseButton), this);
    close->setObjectName("2");
    buttons->addStretch();
    buttons->addWidget(send);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(send, &QPushButton::clicked, this, &CUserTransferDlg::Send);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // The lists fill after the window shows, as the original timers did, so the dialog opens at once.
    QTimer::singleShot(kUserListTimer, this, &CUserTransferDlg::FillUsers);
    QTimer::singleShot(kNeighbourhoodTimer, this, &CUserTransferDlg::FillNeighbourhood);
}

QWidget* CUserTransferDlg::NewThisComputerGroup(const std::string& host, const std::string& address)
{
    auto* group = new QGroupBox(QString::fromUtf8(kThisComputer), this);
    auto* layout = new QVBoxLayout(group);
    auto* hostLabel = new QLabel(Text(host), group);
    hostLabel->setObjectName("1011");
    auto* addressLabel = new QLabel(Text(address), group);
    addressLabel->setObjectName("1012");
    auto* line = new QHBoxLayout;
    line->addWidget(hostLabel);
    line->addWidget(addressLabel);
    layout->addLayout(line);
    layout->addWidget(new QLabel(QString::fromUtf8(kUserToSend), group));
    m_users = new QTableWidget(0, static_cast<int>(std::size(users::kUserColumns)), group);
    m_users->setObjectName("1008");
    m_users->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_users->setSelectionMode(QAbstractItemView::SingleSelection);
    m_users->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_users->verticalHeader()->hide();
    for (int column = 0; column < m_users->columnCount(); ++column) {
        m_users->setHorizontalHeaderItem(
            column, new QTableWidgetItem(QString::fromUtf8(users::kUserColumns[column].title)));
        m_users->setColumnWidth(column, users::kUserColumns[column].width);
    }
    connect(m_users, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < m_rows.size()) {
            m_selectedId = m_rows[static_cast<std::size_t>(row)].id;
        }
    });
    layout->addWidget(m_users);
    return group;
}

QWidget* CUserTransferDlg::NewReceiverGroup()
{
    auto* group = new QGroupBox(QString::fromUtf8(kReceivingComputer), this);
    auto* layout = new QVBoxLayout(group);
    auto* hostLine = new QHBoxLayout;
    hostLine->addWidget(new QLabel(QString::fromUtf8(kHostNameLabel), group));
    m_host = new QLineEdit(group);
    m_host->setObjectName("1026");
    hostLine->addWidget(m_host);
    auto* resolve = new QPushButton("...", group);
    resolve->setObjectName("1029");
    hostLine->addWidget(resolve);
    layout->addLayout(hostLine);
    auto* addressLine = new QHBoxLayout;
    addressLine->addWidget(new QLabel(QString::fromUtf8(kAddressLabel), group));
    m_address = new QLineEdit(group);
    m_address->setObjectName("1006");
    m_address->setPlaceholderText("0.0.0.0");
    addressLine->addWidget(m_address);
    layout->addLayout(addressLine);
    m_neighbours = new QTreeWidget(group);
    m_neighbours->setObjectName("1027");
    m_neighbours->setHeaderHidden(true);
    layout->addWidget(m_neighbours);
    connect(resolve, &QPushButton::clicked, this, &CUserTransferDlg::ResolveHostField);
    connect(m_neighbours, &QTreeWidget::itemClicked, this, &CUserTransferDlg::TakeNeighbour);
    return group;
}

void CUserTransferDlg::FillUsers()
{
    m_users->setRowCount(static_cast<int>(m_rows.size()));
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const users::UserRow& row = m_rows[i];
        const int at = static_cast<int>(i);
        QTableWidgetItem* name = Cell(Text(row.name));
        name->setIcon(users::UserRowIcon(row));
        m_users->setItem(at, 0, name);
        m_users->setItem(at, 1, Cell(Text(row.id)));
        m_users->setItem(at, 2, Cell(Text(users::StringText(row.groupStringId))));
        const bool granted[] = {row.logon, row.encrypt, row.decrypt};
        for (int p = 0; p < 3; ++p) {
            QTableWidgetItem* mark = Cell({});
            if (granted[p]) {
                mark->setIcon(users::PermissionCheckIcon());
            }
            m_users->setItem(at, users::kFirstPermissionColumn + p, mark);
        }
    }
}

void CUserTransferDlg::FillNeighbourhood()
{
    auto* root = new QTreeWidgetItem({QString::fromUtf8(kNeighbourhoodRoot)});
    m_neighbours->addTopLevelItem(root);
    for (const std::string& name : NeighbourNames(ReadSmallFile("/proc/net/arp"), ReadSmallFile("/etc/hosts"))) {
        root->addChild(new QTreeWidgetItem({Text(name)}));
    }
    root->setExpanded(true);
}

void CUserTransferDlg::ResolveHostField()
{
    const std::string name = ComputerName(m_host->text().toStdString());
    const std::string address = name.empty() ? std::string() : FirstAddress(Text(name));
    if (address.empty()) {
        Warn(kHostNotFound);
        m_host->clear();
        m_address->clear();
        return;
    }
    m_host->setText(Text(name));
    m_address->setText(Text(address));
}

void CUserTransferDlg::TakeNeighbour(QTreeWidgetItem* item)
{
    if (item == nullptr || item->parent() == nullptr) {
        return;
    }
    const std::string name = ComputerName(item->text(0).toStdString());
    const std::string address = FirstAddress(Text(name));
    m_host->setText(address.empty() ? QString() : Text(name));
    m_address->setText(Text(address));
}

void CUserTransferDlg::Send()
{
    const std::string address = m_address->text().trimmed().toStdString();
    if (const auto refusal = SendRefusal(address, m_selectedId)) {
        CMessageService::Report(users::kProductCaption, *refusal, MessageIcon::Warning);
        return;
    }
    emit SendRequested(Text(m_selectedId), Text(address));
}

} // namespace deskwarden::transfer
