#include "LogonTexts.h"

#include "voice/VoiceTexts.h"

#include <string_view>
#include <utility>

namespace wardengate::texts {

std::string LogonWording(const std::string& shared)
{
    using talk::voice::StringText;
    using talk::voice::VoiceString;
    namespace literal = talk::voice::literal;
    const std::pair<std::string_view, const char*> table[] = {
        {StringText(VoiceString::RecordPassword), kFirstReading},
        {StringText(VoiceString::ReadAgainAndAgain), kNextReading},
        {StringText(VoiceString::ReadOnceMore), kReadAgain},
        {StringText(VoiceString::EnterId), kEnterId},
        {StringText(VoiceString::NoPermission), kNoPermission},
        {literal::kNoEnrolledVoice, kNoEnrolledVoice},
        {literal::kEnterIdAndPassword, kEnterIdAndPassword},
        {literal::kBypassKeyWrong, kBypassKeyWrong},
    };
    for (const auto& [from, to] : table) {
        if (shared == from)
            return to;
    }
    return shared;
}

} // namespace wardengate::texts
