#include "ToolSupport.h"

#include <algorithm>
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
    if (!platform::audio::ReadWav(path, &audio, &error) || !platform::audio::CheckEngineFormat(audio, kEngineSampleRate, &error)) {
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

bool ParsedArguments::Has(const std::string& flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

bool ParseArguments(const Arguments& args, const std::vector<std::string>& knownFlags, ParsedArguments* parsed)
{
    for (const std::string& arg : args) {
        if (arg.rfind("--", 0) == 0) {
            if (std::find(knownFlags.begin(), knownFlags.end(), arg) == knownFlags.end()) {
                std::fprintf(stderr, "halvox: unknown option %s\n", arg.c_str());
                return false;
            }
            parsed->flags.push_back(arg);
        } else {
            parsed->operands.push_back(arg);
        }
    }
    return true;
}

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "halvox: %s\n", message.c_str());
    return kExitError;
}

} // namespace halvox::tool
