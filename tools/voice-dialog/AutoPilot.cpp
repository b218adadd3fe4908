#include "AutoPilot.h"

#include "AudioCapture.h"
#include "FileCapture.h"
#include "voice/VoiceAction.h"
#include "voice/VoiceDlg.h"

#include <platform/Environment.h>

#include <QApplication>

#include <filesystem>
#include <system_error>

namespace voice_dialog {

namespace {

// Looks often enough that a waiting dialog is answered about as fast as a person would.
constexpr int kPollMs = 150;

/** Passes everything on to the real input and counts the readings that opened. */
class CountedCapture final : public platform::audio::AudioCapture
{
public:
    CountedCapture(std::unique_ptr<platform::audio::AudioCapture> inner, std::shared_ptr<std::size_t> taken)
        : m_inner(std::move(inner))
        , m_taken(std::move(taken))
    {
    }
    uint32_t Open(const platform::audio::CaptureFormat& format) override
    {
        const uint32_t result = m_inner->Open(format);
        if (result == platform::audio::kAudioOk)
            ++*m_taken;
        return result;
    }
    uint32_t Start() override { return m_inner->Start(); }
    size_t Read(int16_t* target, size_t maxSamples) override { return m_inner->Read(target, maxSamples); }
    uint32_t Stop() override { return m_inner->Stop(); }
    uint32_t Close() override { return m_inner->Close(); }
    const std::string& ErrorText() const override { return m_inner->ErrorText(); }

private:
    std::unique_ptr<platform::audio::AudioCapture> m_inner;
    std::shared_ptr<std::size_t> m_taken;
};

} // namespace

AutoPilot::AutoPilot(CVoiceDlg& dialog, std::size_t readingsAvailable)
    : m_dialog(dialog)
    , m_available(readingsAvailable)
    , m_taken(std::make_shared<std::size_t>(0))
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &AutoPilot::Step);
}

WaveRecorder::CaptureFactory AutoPilot::CountingCapture()
{
    std::shared_ptr<std::size_t> taken = m_taken;
    return [taken] { return std::make_unique<CountedCapture>(platform::audio::CreateDefaultCapture(), taken); };
}

void AutoPilot::Start()
{
    m_poll.start();
}

bool AutoPilot::ReadingsUsedUp() const
{
    return m_available != 0 && *m_taken >= m_available;
}

void AutoPilot::Step()
{
    // A message box of the dialog is answered by the message service, not here.
    if (QApplication::activeModalWidget() != nullptr && QApplication::activeModalWidget() != &m_dialog)
        return;
    if (!m_dialog.IsWaitingForUser())
        return;
    if (ReadingsUsedUp())
        m_dialog.PressButtonID(talk::voice::kButtonExit);
    else if (m_dialog.IsEnabled(talk::voice::kButtonRecord) != 0)
        m_dialog.PressButtonID(talk::voice::kButtonRecord);
}

std::size_t ReadingsOfAudioInput()
{
    const std::optional<std::string> input = platform::EnvironmentText("WARDEN_AUDIO_INPUT");
    std::error_code error;
    if (!input || !std::filesystem::is_directory(*input, error))
        return 0;
    return platform::audio::ListWaveFiles(*input).size();
}

} // namespace voice_dialog
