#pragma once

#include "users/VoiceDialogRunner.h"

class CAppUserDic;
class CAppUserVoiceDic;
class CSetupFile;
class QWidget;

namespace deskwarden::users {

/**
 * Shows the voice dialog (CVoiceDlg) modally over `parent` on the application's settings file, user
 * dictionary and voice dictionary, which must outlive the runner. Run returns the dialog's result and its
 * Word and Nick outputs; a dialog that could not be shown reports result 0.
 */
class VoiceDlgRunner final : public VoiceDialogRunner
{
public:
    VoiceDlgRunner(CSetupFile& setup, CAppUserDic& users, CAppUserVoiceDic& voices, QWidget* parent);

    VoiceReply Run(const VoiceRequest& request) override;

private:
    CSetupFile& m_setup;
    CAppUserDic& m_users;
    CAppUserVoiceDic& m_voices;
    QWidget* m_parent;
};

} // namespace deskwarden::users
