#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::audio {

// A PCM recording as the engine takes it: signed 16-bit samples of one channel.
struct WavAudio
{
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    std::vector<int16_t> samples;
};

// Reads a RIFF/WAVE file of 16-bit PCM. Returns false with a message naming what was found (missing
// file, not RIFF, compressed data, another sample size, a truncated chunk).
bool ReadWav(const std::string& path, WavAudio* audio, std::string& error);

// Parses WAV bytes already in memory (same rules as ReadWav).
bool ParseWav(const std::vector<uint8_t>& bytes, WavAudio* audio, std::string& error);

// Checks that a recording is what the engine expects: mono, 16 bits, the given sample rate.
bool CheckEngineFormat(const WavAudio& audio, int sampleRate, std::string& error);

// Writes 16-bit mono PCM.
bool WriteWav(const std::string& path, int sampleRate, const std::vector<int16_t>& samples, std::string& error);

} // namespace platform::audio
