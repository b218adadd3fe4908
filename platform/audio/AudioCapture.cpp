#include "AudioCapture.h"

#include "AlsaCapture.h"
#include "FileCapture.h"

#include <chrono>
#include <cstdlib>

namespace warden {

int64_t SteadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<AudioCapture> CreateDefaultCapture()
{
    const char* input = std::getenv("WARDEN_AUDIO_INPUT");
    if (input != nullptr && *input != '\0')
        return std::make_unique<FileCapture>(input);
    return std::make_unique<AlsaCapture>();
}

} // namespace warden
