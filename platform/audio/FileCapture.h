#pragma once

#include "AudioCapture.h"

#include <vector>

namespace platform::audio {

/**
 * A microphone stand-in that plays WAV files (11025 Hz, mono, 16 bit) into the recorder at real-time
 * pace. The path names one file, or a folder whose WAV files are used one per reading in name order;
 * after the last file the folder starts again from its first. A reading that outlasts its file goes on
 * with silence, as a quiet microphone would.
 */
class FileCapture final : public AudioCapture
{
public:
    explicit FileCapture(std::string path, MillisecondClock clock = SteadyMilliseconds);

    uint32_t Open(const CaptureFormat& format) override;
    uint32_t Start() override;
    size_t Read(int16_t* target, size_t maxSamples) override;
    uint32_t Stop() override;
    uint32_t Close() override;
    const std::string& ErrorText() const override { return m_error; }

    /** The file that the last successful Open took. */
    const std::string& CurrentFile() const { return m_currentFile; }

    /** Forgets which file of each folder comes next, so that the next reading starts at the first. */
    static void ResetFolderPositions();

private:
    uint32_t Fail(uint32_t code, std::string message);

    std::string m_path;
    MillisecondClock m_clock;
    std::string m_error;
    std::string m_currentFile;
    std::vector<int16_t> m_samples;
    int m_sampleRate = 0;
    bool m_open = false;
    bool m_started = false;
    int64_t m_startMs = 0;
    uint64_t m_delivered = 0;
};

/** WAV files of a folder in name order (regular files whose name ends in ".wav", any case). */
std::vector<std::string> ListWaveFiles(const std::string& folder);

} // namespace platform::audio
