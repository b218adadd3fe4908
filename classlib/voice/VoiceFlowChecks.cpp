// Identity, permission and by-pass key checks of the voice flow, and its result log.
#include "voice/VoiceFlow.h"

#include "AppUserDic.h"
#include "Setup/SetupFile.h"
#include "voice/VoiceResultLog.h"

#include <fstream>
#include <iterator>

namespace talk::voice {
namespace {

constexpr const char* kBypassKeyName = "/halvox.key";

// The key file is compared as a zero-terminated text: anything after a NUL byte does not count.
bool ReadKeyFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const size_t end = text.find('\0');
    if (end != std::string::npos)
        text.resize(end);
    return true;
}

} // namespace

int VoiceFlow::CheckAuthUser(const std::string& id)
{
    CAppUserDic::USER_INFORMATION info;
    bool allowed = m_services.userDic->GetUser(id, info) != 0;
    if (allowed) {
        switch (m_state.Purpose) {
        case 0:
            allowed = info.logonRight != 0;
            break;
        case 1:
            allowed = info.encryptRight != 0;
            break;
        case 2:
            allowed = info.decryptRight != 0;
            break;
        case 3:
            allowed = info.isGeneralUser == 0;
            break;
        default:
            break;
        }
    }
    if (!allowed)
        Prompt(VoiceString::NoPermission);
    return allowed ? 1 : 0;
}

int VoiceFlow::VerifySysUser()
{
    m_state.UserID = Field(kIdField);
    m_state.TypedPassword = Field(kPasswordField);
    const char* refusal = nullptr;
    if (m_services.userDic->VerifyUserInfo(m_state.UserID) == -1)
        refusal = literal::kNoMatchingUser;
    else if (m_services.userDic->GetPassWord(m_state.UserID) != m_state.TypedPassword)
        refusal = literal::kWrongPassword;
    if (refusal) {
        Prompt(refusal);
        m_state.EnterRecords = 1;
        return 0;
    }
    m_state.EnterRecords = 0;
    return 1;
}

int VoiceFlow::VerifyCanRegisterVoicePassword()
{
    if (m_services.userDic->VerifyNick(m_state.UserID, m_state.Nick) == -1)
        return 1;
    Prompt(VoiceString::WordAlreadyEnrolled);
    return 0;
}

int VoiceFlow::SelectDrive()
{
    const std::string drive = m_services.drives ? m_services.drives->ChooseDrive() : std::string();
    if (drive.empty())
        return 0;
    std::string presented;
    if (!ReadKeyFile(drive + kBypassKeyName, presented)) {
        Emit(TextAct(VoiceActionKind::ShowMessage, m_state.Title, literal::kBypassKeyMissing));
        return 0;
    }
    const std::string stored = m_services.setup->GetSetupSecure().GetBackupBypassKey();
    // An installation without a key must not let an empty file in.
    if (stored.empty() || presented != stored) {
        Emit(TextAct(VoiceActionKind::ShowMessage, m_state.Title, literal::kBypassKeyWrong));
        return 0;
    }
    Emit(Act(VoiceActionKind::DetachToolTip));
    End(1);
    return 1;
}

void VoiceFlow::WriteLogFile(int accepted)
{
    // A log that cannot be opened loses the line; the decision stands.
    const std::string line = FormatResultLine(m_services.clock->LocalNow(), m_state.UserID, m_state.Purpose,
        accepted != 0, accepted == 0 && m_state.CapturedRefusal ? kCapturedReason : "");
    (void)AppendResultLine(m_state.AppPath, line);
}

} // namespace talk::voice
