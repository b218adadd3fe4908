#include "WavFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace platform::audio {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16)
        | (static_cast<uint32_t>(p[3]) << 24);
}

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool Fail(std::string& error, const std::string& message)
{
    error = message;
    return false;
}

bool ReadFormatChunk(const uint8_t* chunk, uint32_t size, WavAudio* audio, std::string& error)
{
    if (size < 16)
        return Fail(error, "format chunk too short (" + std::to_string(size) + " bytes)");
    uint16_t format = Le16(chunk);
    if (format == kFormatExtensible && size >= 26)
        format = Le16(chunk + 24); // the sub-format GUID begins with the plain format code
    if (format != kFormatPcm)
        return Fail(error, "not PCM data (format code " + std::to_string(format) + ")");
    audio->channels = Le16(chunk + 2);
    audio->sampleRate = static_cast<int>(Le32(chunk + 4));
    audio->bitsPerSample = Le16(chunk + 14);
    if (audio->bitsPerSample != 16)
        return Fail(error, "samples of " + std::to_string(audio->bitsPerSample) + " bits, expected 16");
    if (audio->channels < 1)
        return Fail(error, "no channels");
    return true;
}

} // namespace

bool ParseWav(const std::vector<uint8_t>& bytes, WavAudio* audio, std::string& error)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return Fail(error, "not a RIFF/WAVE file");
    bool haveFormat = false;
    size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const uint8_t* header = bytes.data() + pos;
        uint32_t size = Le32(header + 4);
        size_t available = bytes.size() - pos - 8;
        const uint8_t* body = header + 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (size > available)
                return Fail(error, "format chunk truncated");
            if (!ReadFormatChunk(body, size, audio, error))
                return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!haveFormat)
                return Fail(error, "data chunk before the format chunk");
            // A writer that could not seek back leaves the size open; take what is there.
            size_t length = size > available ? available : size;
            size_t frames = length / (2u * audio->channels);
            audio->samples.resize(frames * audio->channels);
            for (size_t i = 0; i < audio->samples.size(); ++i)
                audio->samples[i] = static_cast<int16_t>(Le16(body + 2 * i));
            return true;
        }
        if (size > available)
            break;
        pos += 8 + size + (size & 1u);
    }
    return Fail(error, haveFormat ? "no data chunk" : "no format chunk");
}

bool ReadWav(const std::string& path, WavAudio* audio, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(error, "cannot open " + path);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!ParseWav(bytes, audio, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool CheckEngineFormat(const WavAudio& audio, int sampleRate, std::string& error)
{
    if (audio.channels != 1 || audio.sampleRate != sampleRate || audio.bitsPerSample != 16) {
        return Fail(error,
            "found " + std::to_string(audio.channels) + " channel(s), " + std::to_string(audio.sampleRate) + " Hz, "
                + std::to_string(audio.bitsPerSample) + " bits; expected mono 16-bit at " + std::to_string(sampleRate)
                + " Hz");
    }
    return true;
}

bool WriteWav(const std::string& path, int sampleRate, const std::vector<int16_t>& samples, std::string& error)
{
    std::vector<uint8_t> out;
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    Put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(out, 16);
    Put16(out, kFormatPcm);
    Put16(out, 1);
    Put32(out, static_cast<uint32_t>(sampleRate));
    Put32(out, static_cast<uint32_t>(sampleRate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put32(out, dataBytes);
    for (int16_t s : samples)
        Put16(out, static_cast<uint16_t>(s));
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return Fail(error, "cannot create " + path);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file.flush())
        return Fail(error, "cannot write " + path);
    return true;
}

} // namespace platform::audio
