#include "workflow/FilePasswordDlg.h"

#include "workflow/EncryptOptions.h"
#include "workflow/WorkflowStrings.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace deskwarden::workflow {

CFilePasswordDlg::CFilePasswordDlg(const std::string& bundleName, QWidget* parent)
    : QDialog(parent)
    , m_password(new QLineEdit(this))
{
    setObjectName("236");
    setWindowTitle(QString::fromUtf8(kFilePasswordTitle));
    setFont(QFont("IPAPGothic", 10));
    m_password->setObjectName("Password");
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(kLongestFilePassword);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(bundleName), this));
    layout->addWidget(m_password);
    layout->addWidget(buttons);
}

std::string CFilePasswordDlg::Password() const
{
    return m_password->text().toStdString();
}

} // namespace deskwarden::workflow
