#pragma once

#include "MessageService.h"
#include "voice/DriveList.h"
#include "voice/VoicePorts.h"

#include <QDialog>

#include <string>

class QListWidget;
class QListWidgetItem;

namespace talk::voice {

/** The template of a drive selection window; the defaults are the voice dialog's own (2035). */
struct DriveSelectLook
{
    unsigned templateId = 2035;
    std::string buttonText = "キャンセル";
    int width = 170; // 83 x 67 dialog units of a 9 pt font come to about this many pixels
    int height = 140;
    std::string listName; // object names of the list and the button; "" leaves them unnamed
    std::string buttonName;
    std::string noDriveText = DriveList::kNoDriveText;
    std::string noDriveCaption = DriveList::kNoDriveCaption;
    MessageIcon noKeyIcon = MessageIcon::Error;
};

/**
 * The small window (template 2035 unless a look says otherwise) in which the user picks the removable drive that holds
 * his by-pass key: a list of the drives attached now and a cancel button, opened at the mouse cursor. The entries,
 * their order and the messages come from DriveList; this class only shows them.
 */
class DriveSelectDlg final : public QDialog, public BypassDriveChooser
{
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 2035;
    static constexpr const char* kCancelText = "キャンセル";

    /** `caption` is the voice dialog's title, the caption of the message about a choice without a key. */
    DriveSelectDlg(std::string caption, QWidget* parent, DriveSelectLook look = {});

    /** Shows the drives attached now and waits for a choice; "" when cancelled or when there is none. */
    std::string ChooseDrive() override;

private:
    void Choose(QListWidgetItem* item);

    std::string m_caption;
    DriveSelectLook m_look;
    QListWidget* m_list;
    std::string m_chosenFolder;
};

} // namespace talk::voice
