#include "AudioCapture.h"

#include "AlsaCapture.h"
#include "FileCapture.h"

#include <platform/Environment.h>

#include <chrono>

namespace platform::audio {

int64_t SteadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<AudioCapture> CreateDefaultCapture()
{
    if (const std::optional<std::string> input = platform::EnvironmentText("WARDEN_AUDIO_INPUT"))
        return std::make_unique<FileCapture>(*input);
    return std::make_unique<AlsaCapture>();
}

} // namespace platform::audio
