#pragma once

#include "voice/VoiceFlow.h"

#include <string>

namespace talk::voice {

/**
 * What the voice dialog's window drives: the shared VoiceFlow, or a program's own flow built around it. The
 * window forwards every event here and carries out the actions the flow hands to the sink it was built with.
 */
class VoiceDlgFlow
{
public:
    virtual ~VoiceDlgFlow() = default;

    virtual void Start() noexcept = 0;
    virtual void OnTimer(int id) noexcept = 0;
    virtual void PressButton(int id) noexcept = 0;
    virtual void PressEnter() noexcept = 0;
    virtual void PressEscape() noexcept = 0;
    /** `controlId` is the window's own id of the control (see VoiceDlgControlIds). */
    virtual void SetFieldText(int controlId, const std::string& text) noexcept = 0;
    virtual void Finish() noexcept = 0;
    virtual bool Ended() const noexcept = 0;
    virtual VoiceFlowState& State() noexcept = 0;
    virtual const VoiceFlowState& State() const noexcept = 0;
    /** The recorder whose samples the waveform actions refer to. */
    virtual const WaveRecorder& Recorder() const noexcept = 0;
};

} // namespace talk::voice
