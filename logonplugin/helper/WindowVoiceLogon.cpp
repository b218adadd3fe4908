#include "WindowVoiceLogon.h"

#include "LogonFlow.h"
#include "LogonWindow.h"

#include "MessageService.h"
#include "voice/VoiceAction.h"
#include "voice/VoiceResultLog.h"

#include <HalvoxEngine.h>

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
    const std::string& user, int attempts, const std::function<void(const std::string&)>& info)
{
    InfoMessages messages(info);
    CMessageService::Install(&messages);
    LogonWindowOptions options;
    options.forcedMethod = kVoiceOnly;
    options.userId = user;
    options.attempts = attempts;
    options.lastLogonUser = [user] { return user; };
    options.engineStatus = [] { return std::string(SVE_GetStatusString()); };
    LogonWindow dialog(std::move(options));
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
    const std::string score = ScoreOfDecisionLine(dialog.EngineStatus());
    if (result == 1 && dialog.LogonUser() == user)
        return VoiceVerdict {VerdictKind::Accept, "voice accepted in the window", score};
    // As on the console, the auth log tells a recording of an earlier unlock apart from a voice not his.
    if (dialog.Flow() != nullptr && dialog.Flow()->State().CapturedRefusal)
        return VoiceVerdict {VerdictKind::Deny, std::string(talk::voice::kCapturedReason) + " in the window", score};
    return VoiceVerdict {
        VerdictKind::Deny, score == "-" ? "no reading was judged in the window" : "voice denied in the window", score};
}

} // namespace wardengate
