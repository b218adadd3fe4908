#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace deskwarden::workflow {

/** Asks for a bundle's file password (template 236): one hidden field of at most 50 characters. */
class CFilePasswordDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CFilePasswordDlg(const std::string& bundleName, QWidget* parent = nullptr);
    std::string Password() const;

private:
    QLineEdit* m_password;
};

} // namespace deskwarden::workflow
