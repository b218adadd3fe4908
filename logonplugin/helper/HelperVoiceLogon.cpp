#include "HelperVoiceLogon.h"

#include "ConsoleLogon.h"
#include "LogonFlow.h"
#include "LogonStores.h"

#include "AudioCapture.h"
#include "voice/VoiceEngine.h"
#include "voice/VoiceResultLog.h"
#include "voice/VoiceTexts.h"

#include <HalvoxEngine.h>

namespace wardengate {

namespace voice = talk::voice;

namespace {

constexpr int kVoiceOnly = 1;

/** Presses Record for the known user while attempts are left, then Exit. */
class VoiceOnlyUser final : public ConsoleUser
{
public:
    VoiceOnlyUser(std::string user, int attempts)
        : m_user(std::move(user))
        , m_pressesLeft(attempts)
    {
    }

    void Act(LogonFlow& flow, int /*layout*/) override
    {
        if (m_pressesLeft-- <= 0) {
            flow.PressButton(voice::kButtonExit);
            return;
        }
        flow.SetFieldText(voice::kIdField, m_user);
        flow.PressButton(voice::kButtonRecord);
    }

private:
    std::string m_user;
    int m_pressesLeft;
};

VoiceVerdict Verdict(VerdictKind kind, std::string reason, std::string score = "-")
{
    return VoiceVerdict {kind, std::move(reason), std::move(score)};
}

bool UserHasVoiceLogon(LogonStores& stores, const std::string& user, std::string& reason)
{
    CAppUserDic::USER_INFORMATION info;
    if (stores.users.GetUser(user, info) == 0) {
        reason = "not a user of the installation";
        return false;
    }
    if (info.logonRight == 0) {
        reason = "no logon permission";
        return false;
    }
    if (stores.users.GetVoiceList(user).empty()) {
        reason = "no enrolled word";
        return false;
    }
    return true;
}

// The recorder would take silence from a missing device for a reading; asking first tells the two apart.
bool SoundInputOpens(std::string& reason)
{
    const std::unique_ptr<platform::audio::AudioCapture> capture = platform::audio::CreateDefaultCapture();
    if (!capture || capture->Open(platform::audio::CaptureFormat {}) != platform::audio::kAudioOk) {
        reason = "no sound input: " + (capture ? capture->ErrorText() : std::string("none"));
        return false;
    }
    capture->Close();
    return true;
}

} // namespace

VoiceVerdict RunVoiceLogon(const std::string& user, int attempts, const VoiceLogonReport& report)
{
    LogonStores stores;
    std::string reason;
    if (!stores.Open(reason))
        return Verdict(VerdictKind::Unavailable, "damaged stores: " + reason);
    if (!UserHasVoiceLogon(stores, user, reason))
        return Verdict(VerdictKind::Unknown, reason);
    if (!SoundInputOpens(reason))
        return Verdict(VerdictKind::Unavailable, reason);
    if (report.window)
        return report.window(stores);

    voice::HalvoxVoiceEngine engine;
    voice::SystemVoiceClock clock;
    // Nobody presses Record here: the reading starts by itself, so the dialog's call to press it is left out.
    const std::string pressRecord = voice::StringText(voice::VoiceString::PressRecord);
    const auto prompt = [&](const std::string& text) {
        if (text != pressRecord)
            report.info(text);
    };
    ConsoleWindow window(
        prompt, [&](const std::string& word) { report.info("Say your password word: " + word); }, report.readingEnded);
    LogonServices services;
    services.stores = &stores;
    services.engine = &engine;
    services.clock = &clock;
    services.window = &window;
    services.forcedMethod = kVoiceOnly;
    services.engineStatus = [] { return std::string(SVE_GetStatusString()); };
    LogonFlow flow(std::move(services), true);
    flow.State().UserID = user;
    flow.State().AttemptsLeft = attempts;
    VoiceOnlyUser person(user, attempts);
    flow.Start();
    const int result = RunConsoleLogon(flow, window, person);
    flow.Finish();
    const std::string score = ScoreOfDecisionLine(flow.EngineStatus());
    if (result == 1 && flow.UserID() == user)
        return Verdict(VerdictKind::Accept, "voice accepted", score);
    // The auth log tells a recording of an earlier unlock apart from a voice that is not his.
    if (flow.State().CapturedRefusal)
        return Verdict(VerdictKind::Deny, voice::kCapturedReason, score);
    return Verdict(VerdictKind::Deny, score == "-" ? "no reading was judged" : "voice denied", score);
}

} // namespace wardengate
