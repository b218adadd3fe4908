#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform::audio {

/** Result codes of the capture calls, numbered as the wave-input calls number theirs (0 = success). */
enum AudioResult : uint32_t
{
    kAudioOk = 0,
    kAudioError = 1,
    kAudioNoDevice = 2,
    kAudioInvalidHandle = 5,
    kAudioNoMemory = 7,
    kAudioBadFormat = 32,
};

/** The sound format of one reading: PCM, signed 16-bit little-endian samples. */
struct CaptureFormat
{
    int sampleRate = 11025;
    int channels = 1;
    int bitsPerSample = 16;
};

/**
 * One source of recorded sound, used for one reading at a time: Open, Start, any number of Read calls,
 * Stop, Close. Read never blocks; it hands over what has arrived since the previous call, so the caller
 * can poll from a user-interface timer. Calls return kAudioOk or a failure code; ErrorText says why.
 * Implementations never throw.
 */
class AudioCapture
{
public:
    virtual ~AudioCapture() = default;

    virtual uint32_t Open(const CaptureFormat& format) = 0;
    virtual uint32_t Start() = 0;
    /** Copies at most `maxSamples` newly arrived samples to `target`; returns how many it copied. */
    virtual size_t Read(int16_t* target, size_t maxSamples) = 0;
    virtual uint32_t Stop() = 0;
    virtual uint32_t Close() = 0;
    virtual const std::string& ErrorText() const = 0;
};

/** Milliseconds of a monotonic clock; a seam so that tests can move time by hand. */
using MillisecondClock = std::function<int64_t()>;

/** The monotonic clock of the process. */
int64_t SteadyMilliseconds();

/**
 * The capture source this machine uses: the file backend when WARDEN_AUDIO_INPUT names a WAV file or a
 * folder of WAV files, otherwise the sound card's "default" capture device.
 */
std::unique_ptr<AudioCapture> CreateDefaultCapture();

} // namespace platform::audio
