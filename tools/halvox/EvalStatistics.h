#pragma once

#include <vector>

namespace halvox::tool {

/**
 * Error rates of a verifier whose score is lower for the true speaker: a trial is accepted when its score
 * lies below the threshold. Scores here are the engine's ratio M minus its acceptance threshold, so the
 * engine's own operating point is the threshold 0.
 */
struct ErrorRates
{
    double threshold = 0.0;
    double falseAcceptance = 0.0; ///< share of impostor trials accepted
    double falseRejection = 0.0; ///< share of genuine trials rejected
};

/** Rates at one threshold; 0 for an empty side. */
ErrorRates RatesAt(const std::vector<double>& genuine, const std::vector<double>& impostor, double threshold);

/**
 * The threshold where false acceptance and false rejection meet, with the equal error rate taken as the
 * mean of the two at the candidate threshold (a score value or a midpoint) where they differ least.
 * Both sides must be non-empty; otherwise every field is 0.
 */
ErrorRates EqualErrorRate(const std::vector<double>& genuine, const std::vector<double>& impostor);

/** Rates at every distinct score of either side (and one above the highest), in threshold order: a DET curve. */
std::vector<ErrorRates> DetCurve(const std::vector<double>& genuine, const std::vector<double>& impostor);

/**
 * Share of sessions that end accepted when a session takes readings one after another until one is accepted
 * or `length` readings were denied. The sessions are every cyclic window of `length` consecutive readings of
 * one speaker's series, so that each reading opens one session. An empty series contributes nothing; a
 * series shorter than `length` gives one session over all its readings.
 */
double SessionAcceptance(const std::vector<std::vector<bool>>& acceptedSeries, int length);

} // namespace halvox::tool
