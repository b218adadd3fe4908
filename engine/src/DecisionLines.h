#pragma once

#include <string>

#include "OperationDecisions.h"

namespace halvox {

/**
 * Compares the ratio M = X / Y (taken in single precision) with the user's threshold: accepted only when the
 * threshold lies strictly above it.
 */
VerificationDecision DecideVerification(
    double userScore, double backgroundScore, float trainedRatio, float securityMargin);

/**
 * The status line of a verification: "[Accept-0.000] ..." or "[Denied-0.000] ..." with M, X, Y, the
 * threshold, its two parts and the background model's path.
 */
std::string VerificationLine(const VerificationDecision& decision, const std::string& backgroundPath);

/** Live when the background score Q is at least the scaled recording score V. */
LiveCheckDecision DecideLiveCheck(double backgroundScore, double recordingScore, double copyFactor);

/** "date\ttime\tuser\t[Live]\tW(Q/V)\t" or "...[Record]\tW(Q/V)" (the live line ends with a tab). */
std::string LiveCheckLine(
    const LiveCheckDecision& decision, const std::string& date, const std::string& time, const std::string& userId);

} // namespace halvox
