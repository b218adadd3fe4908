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

VerificationDecision DecideVerification(
    double userScore, double backgroundScore, float trainedRatio, float securityMargin)
{
    VerificationDecision decision;
    decision.ratio = static_cast<float>(userScore / backgroundScore);
    decision.userScore = userScore;
    decision.backgroundScore = backgroundScore;
    decision.trainedRatio = trainedRatio;
    decision.securityMargin = securityMargin;
    decision.threshold = trainedRatio + securityMargin;
    decision.accepted = decision.threshold > decision.ratio;
    return decision;
}

std::string VerificationLine(const VerificationDecision& decision, const std::string& backgroundPath)
{
    return Format(decision.accepted ? kAcceptLine : kDeniedLine, kLeadingNumber, static_cast<double>(decision.ratio),
        decision.userScore, decision.backgroundScore, static_cast<double>(decision.threshold),
        static_cast<double>(decision.trainedRatio), static_cast<double>(decision.securityMargin),
        backgroundPath.c_str());
}

LiveCheckDecision DecideLiveCheck(double backgroundScore, double recordingScore, double copyFactor)
{
    LiveCheckDecision decision;
    decision.backgroundScore = backgroundScore;
    decision.scaledRecordingScore = recordingScore * copyFactor;
    decision.ratio = backgroundScore / decision.scaledRecordingScore;
    decision.live = backgroundScore >= decision.scaledRecordingScore;
    return decision;
}

std::string LiveCheckLine(
    const LiveCheckDecision& decision, const std::string& date, const std::string& time, const std::string& userId)
{
    return Format(decision.live ? kLiveLine : kRecordLine, date.c_str(), time.c_str(), userId.c_str(), decision.ratio,
        decision.backgroundScore, decision.scaledRecordingScore);
}

} // namespace halvox
