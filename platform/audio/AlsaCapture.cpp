#include "AlsaCapture.h"

#include <alsa/asoundlib.h>

#include <cerrno>

namespace platform::audio {

namespace {

// Half a second of device buffering: far more than one 100 ms timer tick, so a late tick loses nothing.
constexpr unsigned kLatencyMicroseconds = 500000;

} // namespace

AlsaCapture::AlsaCapture(std::string device)
    : m_device(std::move(device))
{
}

AlsaCapture::~AlsaCapture()
{
    if (m_pcm != nullptr)
        snd_pcm_close(m_pcm);
}

uint32_t AlsaCapture::Fail(uint32_t code, const std::string& what, int alsaError)
{
    m_error = what + (alsaError < 0 ? std::string(": ") + snd_strerror(alsaError) : std::string());
    return code;
}

uint32_t AlsaCapture::Open(const CaptureFormat& format)
{
    if (m_pcm != nullptr)
        return Fail(kAudioError, "capture device " + m_device + " is already open", 0);
    if (format.bitsPerSample != 16)
        return Fail(kAudioBadFormat, "only 16-bit capture is supported", 0);
    int rc = snd_pcm_open(&m_pcm, m_device.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (rc < 0) {
        m_pcm = nullptr;
        return Fail(kAudioNoDevice, "cannot open capture device " + m_device, rc);
    }
    rc = snd_pcm_set_params(m_pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
        static_cast<unsigned>(format.channels), static_cast<unsigned>(format.sampleRate), 1, kLatencyMicroseconds);
    if (rc < 0) {
        snd_pcm_close(m_pcm);
        m_pcm = nullptr;
        return Fail(kAudioBadFormat, "capture device " + m_device + " refuses the format", rc);
    }
    m_error.clear();
    return kAudioOk;
}

uint32_t AlsaCapture::Start()
{
    if (m_pcm == nullptr)
        return Fail(kAudioInvalidHandle, "capture device is not open", 0);
    int rc = snd_pcm_prepare(m_pcm);
    if (rc >= 0)
        rc = snd_pcm_start(m_pcm);
    return rc < 0 ? Fail(kAudioError, "cannot start capture", rc) : kAudioOk;
}

size_t AlsaCapture::Read(int16_t* target, size_t maxSamples)
{
    if (m_pcm == nullptr || target == nullptr)
        return 0;
    size_t total = 0;
    while (total < maxSamples) {
        snd_pcm_sframes_t got = snd_pcm_readi(m_pcm, target + total, maxSamples - total);
        if (got == -EAGAIN)
            break;
        if (got < 0) {
            // An overrun loses the samples of the gap but the reading goes on, as a live microphone would.
            if (snd_pcm_recover(m_pcm, static_cast<int>(got), 1) < 0 || snd_pcm_start(m_pcm) < 0)
                break;
            continue;
        }
        if (got == 0)
            break;
        total += static_cast<size_t>(got);
    }
    return total;
}

uint32_t AlsaCapture::Stop()
{
    if (m_pcm == nullptr)
        return Fail(kAudioInvalidHandle, "capture device is not open", 0);
    int rc = snd_pcm_drop(m_pcm);
    return rc < 0 ? Fail(kAudioError, "cannot stop capture", rc) : kAudioOk;
}

uint32_t AlsaCapture::Close()
{
    if (m_pcm == nullptr)
        return Fail(kAudioInvalidHandle, "capture device is not open", 0);
    int rc = snd_pcm_close(m_pcm);
    m_pcm = nullptr;
    return rc < 0 ? Fail(kAudioError, "cannot close capture device", rc) : kAudioOk;
}

} // namespace platform::audio
