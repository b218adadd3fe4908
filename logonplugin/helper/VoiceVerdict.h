#pragma once

#include <string>

namespace wardengate {

/** How a voice logon ended, as the helper reports it to the PAM module. */
enum class VerdictKind
{
    Accept, // the voice was judged and accepted
    Deny, // the voice was judged and denied on every attempt
    Unknown, // the installation has no voice logon for this user
    Unavailable // the voice cannot be judged here: installation, stores, sound capture
};

struct VoiceVerdict
{
    VerdictKind kind = VerdictKind::Unavailable;
    std::string reason; // one line, no secret: it goes to the auth log
    std::string score = "-"; // "ratio/threshold" of the last judged reading
};

/** "accept", "deny", "unknown" or "unavailable". */
const char* VerdictWord(VerdictKind kind) noexcept;

/** The word back to its kind; false for any other text. */
bool VerdictFromWord(const std::string& word, VerdictKind& kind) noexcept;

/**
 * The score of the engine's decision line ("[Accept-0.000] RATIO(USER/BACKGROUND) : THRESHOLD(...) ..."),
 * as "RATIO/THRESHOLD" with three decimals; "-" when the line holds no decision.
 */
std::string ScoreOfDecisionLine(const std::string& line);

} // namespace wardengate
