#include "users/VoiceDlgRunner.h"

#include "voice/VoiceDlg.h"

#include <platform/BoundaryGuard.h>

namespace deskwarden::users {

VoiceDlgRunner::VoiceDlgRunner(CSetupFile& setup, CAppUserDic& users, CAppUserVoiceDic& voices, QWidget* parent)
    : m_setup(setup)
    , m_users(users)
    , m_voices(voices)
    , m_parent(parent)
{
}

VoiceReply VoiceDlgRunner::Run(const VoiceRequest& request)
{
    return platform::Guarded(VoiceReply {}, [&] {
        CVoiceDlg dialog(m_parent);
        dialog.Purpose = request.purpose;
        dialog.Mode = request.mode;
        dialog.EnrolRepeat = request.enrolRepeat;
        dialog.VerifyRepeat = request.verifyRepeat;
        dialog.UserID = request.userId;
        dialog.Word = request.word;
        dialog.Nick = request.nick;
        dialog.SetupFile = &m_setup;
        dialog.UserDic = &m_users;
        dialog.VoiceDic = &m_voices;
        const int result = dialog.exec();
        return VoiceReply {result, dialog.Word, dialog.Nick, dialog.UserID};
    });
}

} // namespace deskwarden::users
