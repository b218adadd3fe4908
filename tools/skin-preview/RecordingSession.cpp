#include "RecordingSession.h"

namespace skin_preview {

RecordingSession::RecordingSession(WaveRecorder::CaptureFactory factory)
    : m_recorder(kRecordMs, kTickMs, std::move(factory))
{
}

bool RecordingSession::Start()
{
    if (!m_open) {
        m_recorder.SetSeconds(kRecordMs / 1000);
        m_open = m_recorder.Allocate() == 1;
        m_recorder.PrepareHeader();
    }
    m_tick = 0;
    m_running = true;
    return m_recorder.Begin() == 1;
}

int RecordingSession::Tick()
{
    m_recorder.Poll();
    return ++m_tick;
}

std::vector<short> RecordingSession::Finish()
{
    m_recorder.Stop();
    m_running = false;
    std::vector<short> samples(kSampleCount);
    for (int i = 0; i < kSampleCount; ++i)
        samples[static_cast<size_t>(i)] = m_recorder.Sample(i);
    return samples;
}

} // namespace skin_preview
