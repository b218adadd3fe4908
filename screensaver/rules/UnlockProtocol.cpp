#include "rules/UnlockProtocol.h"

#include <algorithm>

namespace screenveil {

namespace {

constexpr const char* kAcceptedWord = "accepted ";

bool IsPlainId(const std::string& id)
{
    return !id.empty() && std::none_of(id.begin(), id.end(), [](unsigned char c) { return c <= ' ' || c == 0x7f; });
}

} // namespace

std::string AcceptanceLine(const std::string& userId)
{
    return kAcceptedWord + userId + "\n";
}

std::optional<std::string> AcceptedUser(const VoiceCheckOutcome& outcome)
{
    if (!outcome.exitedNormally || outcome.timedOut || outcome.exitCode != 0)
        return std::nullopt;
    const std::string& text = outcome.output;
    const std::string prefix = kAcceptedWord;
    if (text.size() > kLongestCheckOutput || text.size() <= prefix.size() + 1
        || text.compare(0, prefix.size(), prefix) != 0 || text.back() != '\n')
        return std::nullopt;
    std::string id = text.substr(prefix.size(), text.size() - prefix.size() - 1);
    if (!IsPlainId(id))
        return std::nullopt;
    return id;
}

} // namespace screenveil
