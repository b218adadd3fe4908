#include "WaveRecorder.h"

#include <platform/BoundaryGuard.h>

#include <algorithm>

WaveRecorder::WaveRecorder(int recordLengthMs, int tickMs, CaptureFactory factory)
    : m_tick(tickMs)
    , m_recordLength(recordLengthMs)
    , m_factory(std::move(factory))
{
    if (!m_factory)
        m_factory = [] { return platform::audio::CreateDefaultCapture(); };
    Allocate();
}

WaveRecorder::~WaveRecorder()
{
    CloseSource();
}

bool WaveRecorder::Check(uint32_t result)
{
    m_lastResult = result;
    if (result != platform::audio::kAudioOk && m_source)
        m_lastError = m_source->ErrorText();
    return result == platform::audio::kAudioOk;
}

void WaveRecorder::CloseSource()
{
    if (m_source) {
        m_source->Stop();
        m_source->Close();
        m_source.reset();
    }
    m_recording = 0;
}

void WaveRecorder::SetSeconds(int seconds)
{
    m_bufferSize = static_cast<size_t>(m_format.averageBytesPerSecond) * static_cast<size_t>(std::max(0, seconds));
}

int WaveRecorder::Allocate()
{
    Release();
    if (platform::GuardedCall([&] { m_buffer.assign(m_bufferSize / 2, 0); }))
        return 1;
    m_bufferSize = 0;
    m_lastResult = platform::audio::kAudioNoMemory;
    m_lastError = "no memory for the recording buffer";
    return 0;
}

void WaveRecorder::Release()
{
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_writePosition = 0;
}

void WaveRecorder::PrepareHeader()
{
    m_writePosition = 0;
}

int WaveRecorder::Open()
{
    if (m_source) {
        m_lastResult = platform::audio::kAudioError;
        m_lastError = "the recorder is already open";
        return 0;
    }
    m_source = m_factory();
    if (!m_source) {
        m_lastResult = platform::audio::kAudioNoDevice;
        m_lastError = "no capture device";
        return 0;
    }
    platform::audio::CaptureFormat format;
    format.sampleRate = m_format.samplesPerSecond;
    format.channels = m_format.channels;
    format.bitsPerSample = m_format.bitsPerSample;
    if (!Check(m_source->Open(format))) {
        m_source.reset();
        return 0;
    }
    PrepareHeader();
    return 1;
}

int WaveRecorder::Begin()
{
    PrepareHeader();
    // A reading that delivers less than the whole buffer must not be completed by the previous reading's tail.
    std::fill(m_buffer.begin(), m_buffer.end(), int16_t {0});
    if (!Open())
        return 0;
    if (m_buffer.empty()) {
        m_lastResult = platform::audio::kAudioNoMemory;
        m_lastError = "the recorder has no buffer";
        CloseSource();
        return 0;
    }
    if (!Check(m_source->Start())) {
        CloseSource();
        return 0;
    }
    m_recording = 1;
    return 1;
}

int WaveRecorder::Poll()
{
    if (!m_source || m_writePosition >= m_buffer.size())
        return 0;
    size_t got = m_source->Read(m_buffer.data() + m_writePosition, m_buffer.size() - m_writePosition);
    m_writePosition += got;
    return static_cast<int>(got);
}

int WaveRecorder::Stop()
{
    m_recording = 0;
    if (!m_source) {
        m_lastResult = platform::audio::kAudioInvalidHandle;
        m_lastError = "the recorder is not open";
        return 0;
    }
    Poll();
    bool ok = Check(m_source->Stop()) && Check(m_source->Close());
    m_source.reset();
    return ok ? 1 : 0;
}

int16_t WaveRecorder::Sample(long index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_buffer.size())
        return 0;
    return m_buffer[static_cast<size_t>(index)];
}
