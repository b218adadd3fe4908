#pragma once

#include <string>

namespace halvox {

/** Outcome of comparing a verification's score ratio with the user's threshold, in single precision. */
struct VerificationDecision
{
    bool accepted = false;
    float threshold = 0.0f; ///< trainedRatio + securityMargin, summed as floats
};

/** Accepted only when the threshold lies strictly above the ratio M = X / Y. */
VerificationDecision DecideVerification(float ratio, float trainedRatio, float securityMargin);

/**
 * The status line of a verification: "[Accept-0.000] ..." or "[Denied-0.000] ..." with M, X, Y, the
 * threshold, its two parts and the background model's path.
 */
std::string VerificationLine(const VerificationDecision& decision, float ratio, double userScore,
    double backgroundScore, float trainedRatio, float securityMargin, const std::string& backgroundPath);

/** Outcome of the live-versus-recording comparison. */
struct LiveCheckDecision
{
    bool live = false;
    double scaledRecordingScore = 0.0; ///< V = S x copyFactor
    double ratio = 0.0; ///< W = Q / V
};

/** Live when the background score Q is at least the scaled recording score V. */
LiveCheckDecision DecideLiveCheck(double backgroundScore, double recordingScore, double copyFactor);

/** "date\ttime\tuser\t[Live]\tW(Q/V)\t" or "...[Record]\tW(Q/V)" (the live line ends with a tab). */
std::string LiveCheckLine(const LiveCheckDecision& decision, double backgroundScore, const std::string& date,
    const std::string& time, const std::string& userId);

} // namespace halvox
