#include "voice/VoicePorts.h"

namespace talk::voice {

std::tm SystemVoiceClock::LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local;
}

} // namespace talk::voice
