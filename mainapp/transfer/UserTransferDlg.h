#pragma once

#include "users/UserList.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace deskwarden::transfer {

/**
 * Chooses a user and the computer to receive him. The window keeps no rules: the checks and lists come from
 * TransferForm, and sending is asked of whoever owns the dialog through SendRequested.
 */
class CUserTransferDlg final : public QDialog
{
    Q_OBJECT
public:
    /** `host` and `address` name this computer; `rows` are the users that may be sent. */
    CUserTransferDlg(const std::string& host, const std::string& address, std::vector<users::UserRow> rows,
        QWidget* parent = nullptr);

    /** The ID of the user chosen last, or "". */
    const std::string& SelectedId() const { return m_selectedId; }

signals:
    /** Sending was asked for with a user chosen and an address given. */
    void SendRequested(const QString& userId, const QString& address);

private:
    QWidget* NewThisComputerGroup(const std::string& host, const std::string& address);
    QWidget* NewReceiverGroup();
    void FillUsers();
    void FillNeighbourhood();
    void ResolveHostField();
    void TakeNeighbour(QTreeWidgetItem* item);
    void Send();

    std::vector<users::UserRow> m_rows;
    std::string m_selectedId;
    QTableWidget* m_users = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_address = nullptr;
    QTreeWidget* m_neighbours = nullptr;
};

} // namespace deskwarden::transfer
