#pragma once

#include "AudioCapture.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/**
 * Records one fixed-length reading of 16-bit mono sound at 11025 Hz into a single buffer that the voice
 * dialog polls from its 100 ms timer. The capture source comes from a factory (by default the machine's:
 * ALSA, or the WAV files of WARDEN_AUDIO_INPUT), one source per reading.
 *
 * Use per session: SetSeconds(3), Allocate(), PrepareHeader(); per reading: Begin(), then at every tick
 * Poll() and read Sample(i); at the last tick Stop(); at the end of the session Release().
 * Operations returning int give 1 on success and 0 on failure; GetLastResult() and GetLastErrorText()
 * then tell why. Nothing throws.
 */
class WaveRecorder
{
public:
    using CaptureFactory = std::function<std::unique_ptr<platform::audio::AudioCapture>()>;

    /** PCM format record of the reading. */
    struct WaveFormat
    {
        int formatTag = 1;
        int channels = 1;
        int samplesPerSecond = 11025;
        int averageBytesPerSecond = 22050;
        int blockAlign = 2;
        int bitsPerSample = 16;
    };

    /** `recordLengthMs` and `tickMs` as the dialog runs them (3000 and 100); no buffer yet. */
    WaveRecorder(int recordLengthMs, int tickMs, CaptureFactory factory = {});
    virtual ~WaveRecorder();
    WaveRecorder(const WaveRecorder&) = delete;
    WaveRecorder& operator=(const WaveRecorder&) = delete;

    /** Buffer size for the next Allocate: bytes per second x `seconds` (negative counts as 0). */
    void SetSeconds(int seconds);
    /** Replaces any buffer with a zeroed one of the buffer size. 1, or 0 when memory is short. */
    int Allocate();
    /** Frees the buffer; every sample then reads 0. */
    void Release();
    /** Makes the whole buffer the target of the next reading. */
    void PrepareHeader();
    /** Opens a capture source in the reading's format and prepares the buffer. */
    int Open();
    /**
     * Starts one reading: prepares the buffer (silencing what an earlier reading left in it), opens a
     * source and starts it. Recording is 1 only when every step succeeded.
     */
    int Begin();
    /** Takes what the source has delivered since the last call into the buffer; returns the new sample count. */
    int Poll();
    /** Ends the reading: collects the last samples, stops and closes the source. 0 at the first failing step. */
    int Stop();

    /** Sample `index` of the buffer; 0 when there is no buffer or `index` lies outside it. */
    int16_t Sample(long index) const;

    int GetRecording() const { return m_recording; }
    int GetBufferSize() const { return static_cast<int>(m_bufferSize); }
    /** Samples the current reading has delivered so far. */
    int GetSamplesRecorded() const { return static_cast<int>(m_writePosition); }
    int GetTick() const { return m_tick; }
    int GetRecordLength() const { return m_recordLength; }
    const WaveFormat& GetFormat() const { return m_format; }
    uint32_t GetLastResult() const { return m_lastResult; }
    const std::string& GetLastErrorText() const { return m_lastError; }

private:
    bool Check(uint32_t result);
    void CloseSource();

    uint32_t m_lastResult = 0;
    int m_recording = 0;
    WaveFormat m_format;
    size_t m_bufferSize = 0;
    std::vector<int16_t> m_buffer;
    int m_tick;
    int m_recordLength;
    CaptureFactory m_factory;
    std::unique_ptr<platform::audio::AudioCapture> m_source;
    size_t m_writePosition = 0;
    std::string m_lastError;
};
