#include "DecisionLines.h"

#include <cstdio>
#include <vector>

namespace halvox {

namespace {

constexpr const char* kAcceptLine = "[Accept-%.3f] %lf(%.3lf/%.3lf) : %lf(%.3lf+%.3lf) %s";
constexpr const char* kDeniedLine = "[Denied-%.3f] %lf(%.3lf/%.3lf) : %lf(%.3lf+%.3lf) %s";
constexpr const char* kLiveLine = "%s\t%s\t%s\t[Live]\t%lf(%.3lf/%.3lf)\t";
constexpr const char* kRecordLine = "%s\t%s\t%s\t[Record]\t%lf(%.3lf/%.3lf)";
// The first number of a decision line has always been printed as zero; callers parse the line as it is.
constexpr double kLeadingNumber = 0.0;

template<typename... Args> std::string Format(const char* format, Args... args)
{
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length < 0)
        return {};
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format, args...);
    return std::string(text.data(), static_cast<size_t>(length));
}

} // namespace

VerificationDecision DecideVerification(float ratio, float trainedRatio, float securityMargin)
{
    VerificationDecision decision;
    decision.threshold = trainedRatio + securityMargin;
    decision.accepted = decision.threshold > ratio;
    return decision;
}

std::string VerificationLine(const VerificationDecision& decision, float ratio, double userScore,
    double backgroundScore, float trainedRatio, float securityMargin, const std::string& backgroundPath)
{
    return Format(decision.accepted ? kAcceptLine : kDeniedLine, kLeadingNumber, static_cast<double>(ratio), userScore,
        backgroundScore, static_cast<double>(decision.threshold), static_cast<double>(trainedRatio),
        static_cast<double>(securityMargin), backgroundPath.c_str());
}

LiveCheckDecision DecideLiveCheck(double backgroundScore, double recordingScore, double copyFactor)
{
    LiveCheckDecision decision;
    decision.scaledRecordingScore = recordingScore * copyFactor;
    decision.ratio = backgroundScore / decision.scaledRecordingScore;
    decision.live = backgroundScore >= decision.scaledRecordingScore;
    return decision;
}

std::string LiveCheckLine(const LiveCheckDecision& decision, double backgroundScore, const std::string& date,
    const std::string& time, const std::string& userId)
{
    return Format(decision.live ? kLiveLine : kRecordLine, date.c_str(), time.c_str(), userId.c_str(), decision.ratio,
        backgroundScore, decision.scaledRecordingScore);
}

} // namespace halvox
