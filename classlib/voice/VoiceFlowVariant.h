#pragma once

#include <functional>
#include <string>

namespace talk::voice {

/**
 * Where a program's own copy of the dialog departs from the shared one. The defaults are the shared dialog;
 * the logon's copy fixes the method when it cannot record, keeps the settings' last user as it was and takes
 * the voice start's default ID from elsewhere.
 */
struct VoiceFlowVariant
{
    int forcedAuthMethod = -1; // 0 to 2 replaces the method of the secure settings; -1 keeps it
    bool rememberLastUser = true; // an accepted voice becomes the settings' last user
    std::function<std::string()> voiceStartDefaultId; // unset: the settings' last user
};

} // namespace talk::voice
