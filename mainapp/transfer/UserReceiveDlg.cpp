#include "transfer/UserReceiveDlg.h"

#include "transfer/TransferTexts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace deskwarden::transfer {
namespace {

QLineEdit* ShownField(const std::string& text, const char* objectName, QWidget* parent)
{
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setObjectName(objectName);
    field->setReadOnly(true);
    return field;
}

} // namespace

CUserReceiveDlg::CUserReceiveDlg(const TransferMessage& message, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("136");
    setWindowTitle(QString::fromUtf8(kReceiveTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(kReceiveLine1), this));
    layout->addWidget(new QLabel(QString::fromUtf8(kReceiveLine2), this));
    auto* fields = new QFormLayout;
    fields->addRow(QString::fromUtf8(kHostNameLabel), ShownField(message.host, "host", this));
    fields->addRow(QString::fromUtf8(kAddressLabel), ShownField(message.address, "address", this));
    fields->addRow(QString::fromUtf8(kNameLabel), ShownField(message.name, "name", this));
    fields->addRow(QString::fromUtf8(kIdLabel), ShownField(message.id, "id", this));
    layout->addLayout(fields);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace deskwarden::transfer
