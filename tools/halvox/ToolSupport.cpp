#include "ToolSupport.h"

#include <cstdio>

#include "WavFile.h"

namespace halvox::tool {

namespace {
constexpr int kEngineSampleRate = 11025;
}

bool LoadRecording(const std::string& path, std::vector<int16_t>* samples)
{
    platform::audio::WavAudio audio;
    std::string error;
    if (!platform::audio::ReadWav(path, &audio, error)
        || !platform::audio::CheckEngineFormat(audio, kEngineSampleRate, error)) {
        std::fprintf(stderr, "halvox: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    if (audio.samples.empty()) {
        std::fprintf(stderr, "halvox: %s: the recording holds no samples\n", path.c_str());
        return false;
    }
    *samples = std::move(audio.samples);
    return true;
}

int UsageError(const std::string& message)
{
    return tools::ReportUsageError("halvox", message);
}

} // namespace halvox::tool
