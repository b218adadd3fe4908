#pragma once

#include "lock/SaverSettingsForm.h"

#include <QDialog>

class CSetupFile;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QSpinBox;
class QTreeWidget;

namespace screenveil {

class ColourBox;

/**
 * The settings dialog "スクリーンセーバーの設定": pictures, interval, fit-to-screen, colours, comment, and
 * whether and after how long the desktop starts the lock. The SaverSettingsForm it edits decides and
 * writes; OK saves after the form's checks, Cancel saves nothing.
 */
class SettingsDlg final : public QDialog
{
    Q_OBJECT
public:
    SettingsDlg(CSetupFile& setup, SaverSystem system, QWidget* parent = nullptr);

    /** The form as the fields show it now. */
    SaverSettingsForm& Form() { return m_form; }

public slots:
    void accept() override;

private:
    void BuildFields();
    void ShowForm();
    void TakeFields();
    void FillList();
    void AddPictures();
    void RemovePictures();
    void ShowPicture();
    void FollowAutoStart();

    CSetupFile& m_setup;
    SaverSystem m_system;
    SaverSettingsForm m_form;
    QTreeWidget* m_list = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_pictureInfo = nullptr;
    QCheckBox* m_fullSize = nullptr;
    QSpinBox* m_interval = nullptr;
    QCheckBox* m_autoStart = nullptr;
    QSpinBox* m_waiting = nullptr;
    QPlainTextEdit* m_comment = nullptr;
    ColourBox* m_background = nullptr;
    ColourBox* m_commentColour = nullptr;
    ColourBox* m_memoColour = nullptr;
    ColourBox* m_nameColour = nullptr;
    ColourBox* m_shadowColour = nullptr;
};

/** Shows the settings dialog on `setup` modally. @return the program's exit status. */
int RunSettings(CSetupFile& setup);

} // namespace screenveil
