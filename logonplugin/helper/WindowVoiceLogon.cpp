#include "WindowVoiceLogon.h"

#include "LogonStores.h"

#include "MessageService.h"
#include "voice/VoiceAction.h"
#include "voice/VoiceDlg.h"

#include "platform/BoundaryGuard.h"

#include <QTimer>

namespace wardengate {
namespace {

constexpr int kVoiceOnly = 1;
constexpr int kPilotMs = 100;

/** Message boxes become info lines; every question is answered No, which never lets anyone in. */
class InfoMessages final : public CMessageService
{
public:
    explicit InfoMessages(const std::function<void(const std::string&)>& info)
        : m_info(info)
    {
    }
    void ShowMessage(const std::string&, const std::string& text, MessageIcon) noexcept override
    {
        platform::GuardedCall([&] { m_info(text); });
    }
    bool AskYesNo(const std::string&, const std::string& text) noexcept override
    {
        ShowMessage("", text, MessageIcon::Question);
        return false;
    }

private:
    const std::function<void(const std::string&)>& m_info;
};

} // namespace

VoiceVerdict RunWindowVoiceLogon(
    LogonStores& stores, const std::string& user, int attempts, const std::function<void(const std::string&)>& info)
{
    InfoMessages messages(info);
    CMessageService::Install(&messages);
    CVoiceDlg dialog;
    dialog.Purpose = 0;
    dialog.Mode = 2;
    dialog.VerifyRepeat = 1;
    dialog.UserID = user;
    dialog.SetupFile = &stores.setup;
    dialog.UserDic = &stores.users;
    dialog.VoiceDic = &stores.voices;
    dialog.FlowVariant.forcedAuthMethod = kVoiceOnly;
    dialog.FlowVariant.rememberLastUser = false;
    dialog.FlowVariant.voiceStartDefaultId = [user] { return user; };
    // The person is known already; like a fingerprint reader the dialog listens without being asked.
    int pressesLeft = attempts;
    QTimer pilot;
    QObject::connect(&pilot, &QTimer::timeout, &dialog, [&] {
        if (!dialog.IsWaitingForUser())
            return;
        dialog.PressButtonID(pressesLeft-- > 0 ? talk::voice::kButtonRecord : talk::voice::kButtonExit);
    });
    pilot.start(kPilotMs);
    const int result = dialog.exec();
    pilot.stop();
    CMessageService::Install(nullptr);
    if (result == 1 && dialog.UserID == user)
        return VoiceVerdict {VerdictKind::Accept, "voice accepted in the window", "-"};
    return VoiceVerdict {VerdictKind::Deny, "voice not accepted in the window", "-"};
}

} // namespace wardengate
