#pragma once

#include <optional>
#include <string>

namespace screenveil {

/**
 * What the voice check tells the lock. The check runs in a process of its own, so that a fault in the
 * recorder or the engine can never open the screen: the lock opens only for an exit with status 0 whose
 * whole output is one acceptance line naming the user. Anything else (a crash, a signal, a time-out, a
 * stray byte) is a refusal.
 */
struct VoiceCheckOutcome
{
    bool exitedNormally = false; // false for a signal or a crash
    int exitCode = -1;
    bool timedOut = false;
    std::string output; // everything the check wrote on its standard output
};

/** The line the voice check writes for an accepted user with the logon permission. */
std::string AcceptanceLine(const std::string& userId);

/** The accepted user's ID, or nothing when the outcome is anything but a clean acceptance. */
std::optional<std::string> AcceptedUser(const VoiceCheckOutcome& outcome);

/** The most output the lock reads from a check; more means something is wrong with it. */
inline constexpr std::size_t kLongestCheckOutput = 512;

} // namespace screenveil
