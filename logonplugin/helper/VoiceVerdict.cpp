#include "VoiceVerdict.h"

#include <cstdio>

namespace wardengate {

const char* VerdictWord(VerdictKind kind) noexcept
{
    switch (kind) {
    case VerdictKind::Accept:
        return "accept";
    case VerdictKind::Deny:
        return "deny";
    case VerdictKind::Unknown:
        return "unknown";
    case VerdictKind::Unavailable:
        break;
    }
    return "unavailable";
}

bool VerdictFromWord(const std::string& word, VerdictKind& kind) noexcept
{
    for (const VerdictKind each :
        {VerdictKind::Accept, VerdictKind::Deny, VerdictKind::Unknown, VerdictKind::Unavailable}) {
        if (word == VerdictWord(each)) {
            kind = each;
            return true;
        }
    }
    return false;
}

std::string ScoreOfDecisionLine(const std::string& line)
{
    double ratio = 0.0;
    double threshold = 0.0;
    if (std::sscanf(line.c_str(), "[%*[^]]] %lf(%*[^)]) : %lf(", &ratio, &threshold) != 2)
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.3f/%.3f", ratio, threshold);
    return text;
}

} // namespace wardengate
