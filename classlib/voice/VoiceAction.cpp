#include "voice/VoiceAction.h"

namespace talk::voice {

LayoutVisibility VisibilityOf(int layout) noexcept
{
    switch (layout) {
    case 0:
        return {false, false, false, true, true};
    case 1:
        return {true, false, false, false, true};
    case 2:
        return {false, true, false, true, false};
    case 3:
        return {true, false, true, false, false};
    default:
        return {};
    }
}

} // namespace talk::voice
