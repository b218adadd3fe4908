#include "FileCapture.h"

#include "WavFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <mutex>

namespace platform::audio {

namespace {

// Which file of a folder the next reading takes. Kept for the whole process because every voice dialog
// creates its own recorder, yet a folder of readings is meant to be consumed in order across dialogs.
std::mutex g_folderMutex;
std::map<std::string, size_t> g_nextFileOfFolder;

bool EndsWithWav(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(
        tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".wav";
}

} // namespace

std::vector<std::string> ListWaveFiles(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec) && EndsWithWav(entry.path().filename().string()))
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

FileCapture::FileCapture(std::string path, MillisecondClock clock)
    : m_path(std::move(path))
    , m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = SteadyMilliseconds;
}

void FileCapture::ResetFolderPositions()
{
    std::lock_guard<std::mutex> lock(g_folderMutex);
    g_nextFileOfFolder.clear();
}

uint32_t FileCapture::Fail(uint32_t code, std::string message)
{
    m_error = std::move(message);
    return code;
}

uint32_t FileCapture::Open(const CaptureFormat& format)
{
    if (m_open)
        return Fail(kAudioError, "the audio input file is already open");
    if (format.channels != 1 || format.bitsPerSample != 16 || format.sampleRate <= 0)
        return Fail(kAudioBadFormat, "the audio input file backend records 16-bit mono only");

    std::error_code ec;
    std::string file = m_path;
    if (std::filesystem::is_directory(m_path, ec)) {
        std::vector<std::string> files = ListWaveFiles(m_path);
        if (files.empty())
            return Fail(kAudioNoDevice, "audio input folder " + m_path + " holds no WAV file");
        std::lock_guard<std::mutex> lock(g_folderMutex);
        size_t& next = g_nextFileOfFolder[m_path];
        file = files[next % files.size()];
        next = (next + 1) % files.size();
    } else if (!std::filesystem::exists(m_path, ec)) {
        return Fail(kAudioNoDevice, "audio input " + m_path + " does not exist");
    }

    WavAudio audio;
    std::string error;
    if (!ReadWav(file, &audio, error))
        return Fail(kAudioBadFormat, "audio input " + file + ": " + error);
    if (!CheckEngineFormat(audio, format.sampleRate, error))
        return Fail(kAudioBadFormat, "audio input " + file + ": " + error);

    m_samples = std::move(audio.samples);
    m_sampleRate = format.sampleRate;
    m_currentFile = file;
    m_open = true;
    m_started = false;
    m_error.clear();
    return kAudioOk;
}

uint32_t FileCapture::Start()
{
    if (!m_open)
        return Fail(kAudioInvalidHandle, "the audio input file is not open");
    m_started = true;
    m_startMs = m_clock();
    m_delivered = 0;
    return kAudioOk;
}

size_t FileCapture::Read(int16_t* target, size_t maxSamples)
{
    if (!m_started || target == nullptr)
        return 0;
    int64_t elapsed = std::max<int64_t>(0, m_clock() - m_startMs);
    // Samples due by now; integer arithmetic keeps every tick boundary exact (1102.5 samples per 100 ms).
    uint64_t due = static_cast<uint64_t>(elapsed) * static_cast<uint64_t>(m_sampleRate) / 1000;
    if (due <= m_delivered)
        return 0;
    size_t count = static_cast<size_t>(std::min<uint64_t>(due - m_delivered, maxSamples));
    for (size_t i = 0; i < count; ++i) {
        uint64_t index = m_delivered + i;
        target[i] = index < m_samples.size() ? m_samples[static_cast<size_t>(index)] : 0;
    }
    m_delivered += count;
    return count;
}

uint32_t FileCapture::Stop()
{
    if (!m_open)
        return Fail(kAudioInvalidHandle, "the audio input file is not open");
    m_started = false;
    return kAudioOk;
}

uint32_t FileCapture::Close()
{
    if (!m_open)
        return Fail(kAudioInvalidHandle, "the audio input file is not open");
    m_open = false;
    m_started = false;
    m_samples.clear();
    return kAudioOk;
}

} // namespace platform::audio
