#pragma once

#include "RecordingSession.h"
#include "skin/FlatPopupMenu.h"
#include "skin/SkinDlg.h"
#include "voice/MixerLogic.h"

#include <QTimer>

#include <memory>

class CSkinCombo;
class CSkinEdit;
class MixerWatcher;

namespace skin_preview {

/** A skin dialog with every item of the voice dialog: record a reading and see it drawn. */
class PreviewDialog : public CSkinDlg
{
    Q_OBJECT
public:
    explicit PreviewDialog(QWidget* parent = nullptr);
    ~PreviewDialog() override;

    void PressButtonID(int id) override;
    void ProgressChanged(const std::string& name) override;
    bool OnInitDialog() override;

    void StartRecording();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnTick();
    void FinishRecording();
    void ShowKeyMenu();
    void Prompt(const std::string& text);

    CSkinEdit* m_idEdit;
    CSkinCombo* m_wordCombo;
    CSkinEdit* m_passwordEdit;
    RecordingSession m_session;
    std::unique_ptr<MixerLogic> m_mixer;
    MixerWatcher* m_watcher = nullptr;
    QTimer m_tickTimer;
    int m_takes = 0;
    CFlatPopupMenu m_keyMenu;
};

} // namespace skin_preview
