#pragma once

#include "AudioCapture.h"

typedef struct _snd_pcm snd_pcm_t;

namespace platform::audio {

/**
 * Capture from an ALSA device ("default" unless told otherwise) in non-blocking mode: Read takes what
 * the device has gathered so far, so the user-interface timer can poll it without a thread.
 */
class AlsaCapture final : public AudioCapture
{
public:
    explicit AlsaCapture(std::string device = "default");
    ~AlsaCapture() override;
    AlsaCapture(const AlsaCapture&) = delete;
    AlsaCapture& operator=(const AlsaCapture&) = delete;

    uint32_t Open(const CaptureFormat& format) override;
    uint32_t Start() override;
    size_t Read(int16_t* target, size_t maxSamples) override;
    uint32_t Stop() override;
    uint32_t Close() override;
    const std::string& ErrorText() const override { return m_error; }

private:
    uint32_t Fail(uint32_t code, const std::string& what, int alsaError);

    std::string m_device;
    std::string m_error;
    snd_pcm_t* m_pcm = nullptr;
};

} // namespace platform::audio
