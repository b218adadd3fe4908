#pragma once

#include "workflow/EncryptOptions.h"

#include <QDialog>

#include <string>
#include <vector>

class CAppUserDic;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace deskwarden::files {
class FileList;
}

namespace deskwarden::workflow {

/** The encryption settings a confirmed dialog hands to the job. */
struct EncryptSettings
{
    std::string password;
    std::string bundlePath;
    std::string ownerId;
    std::string ownerKey;
    std::vector<std::string> permittedIds;
    std::vector<std::string> permittedKeys;
};

/**
 * The encryption settings dialog (template 130): who else may decrypt the bundle (every user on the left,
 * the permitted ones on the right), an optional file password typed twice, and the bundle's name. OK runs
 * CheckEncryptOptions; the first failure is shown in the message area and focuses its field.
 */
class CEncryptOptionsDlg final : public QDialog
{
    Q_OBJECT
public:
    CEncryptOptionsDlg(const CAppUserDic& users, const files::FileList& list, std::string ownerId, std::string ownerKey,
        const std::string& defaultBundle, QWidget* parent = nullptr);

    /** Valid once exec() returned Accepted. */
    const EncryptSettings& Settings() const { return m_settings; }

public slots:
    void accept() override;

private:
    void FillUserLists();
    void ShowRows(QTreeWidget& view, const std::vector<std::string>& ids);
    void Move(bool toPermitted);
    void Browse();
    EncryptOptionsForm ReadForm() const;

    const CAppUserDic& m_users;
    const files::FileList& m_list;
    EncryptSettings m_settings;
    std::vector<std::string> m_everyone;
    std::vector<std::string> m_permitted;
    QTreeWidget* m_left = nullptr;
    QTreeWidget* m_right = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_reEntry = nullptr;
    QLineEdit* m_bundle = nullptr;
    QPushButton* m_browse = nullptr;
    QLabel* m_message = nullptr;
};

} // namespace deskwarden::workflow
