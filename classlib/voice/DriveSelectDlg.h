#pragma once

#include "voice/VoicePorts.h"

#include <QDialog>

#include <string>

class QListWidget;
class QListWidgetItem;

namespace talk::voice {

/**
 * The small window (template 2035) in which the user picks the removable drive that holds his by-pass key:
 * a list of the drives attached now and a cancel button, opened at the mouse cursor. The entries, their
 * order and the messages come from DriveList; this class only shows them.
 */
class DriveSelectDlg final : public QDialog, public BypassDriveChooser
{
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 2035;
    static constexpr const char* kCancelText = "キャンセル";

    /** `caption` is the voice dialog's title, the caption of the message about a choice without a key. */
    DriveSelectDlg(std::string caption, QWidget* parent);

    /** Shows the drives attached now and waits for a choice; "" when cancelled or when there is none. */
    std::string ChooseDrive() override;

private:
    void Choose(QListWidgetItem* item);

    std::string m_caption;
    QListWidget* m_list;
    std::string m_chosenFolder;
};

} // namespace talk::voice
