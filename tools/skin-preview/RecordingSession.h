#pragma once

#include "voice/WaveRecorder.h"

#include <memory>
#include <vector>

namespace skin_preview {

/**
 * One 3-second reading as the voice dialog takes it: 30 ticks of 100 ms over the recorder, then the
 * samples for the engine. The preview's window only turns its answers into drawing.
 */
class RecordingSession
{
public:
    static constexpr int kRecordMs = 3000;
    static constexpr int kTickMs = 100;
    static constexpr int kSampleCount = kRecordMs * 11025 / 1000;

    explicit RecordingSession(WaveRecorder::CaptureFactory factory = {});

    /** Sets up the buffer (once) and starts a reading. False when the source refused; the ticks still run. */
    bool Start();
    /** One timer tick: collects what arrived. Returns the tick number just completed (1..30). */
    int Tick();
    bool IsFinished() const { return m_tick >= kRecordMs / kTickMs; }
    bool IsRunning() const { return m_running; }
    /** Stops the source and copies the reading (zeros beyond what arrived). */
    std::vector<short> Finish();

    const WaveRecorder& Recorder() const { return m_recorder; }

private:
    WaveRecorder m_recorder;
    bool m_open = false;
    bool m_running = false;
    int m_tick = 0;
};

} // namespace skin_preview
