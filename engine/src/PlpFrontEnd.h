#pragma once

#include <cstdint>
#include <vector>

namespace halvox {

/// Floats per PLP vector: 13 cepstra followed by their 13 deltas.
inline constexpr int kPlpCepstra = 13;
inline constexpr int kPlpVectorSize = 2 * kPlpCepstra;

/// Number of PLP frames (220 samples every 110) of an utterance of `count` samples; never negative.
int PlpFrameCount(int count);

/**
 * Word-recogniser features of one utterance at 11025 samples per second: perceptual linear prediction
 * (19 critical bands, LPC order 12, lifter exponent 0.6) with deltas.
 *
 * The band tables are built once per process on first use (thread-safe). A frame whose LPC gain is not
 * positive repeats the previous frame's cepstra (zeros for the first) and logs a warning line (LogLine).
 *
 * @param samples the utterance; may be null when count <= 0.
 * @param count   its number of samples.
 * @return PlpFrameCount(count) rows of kPlpVectorSize floats, row-major; empty when there is no frame.
 */
std::vector<float> ComputePlpFeatures(const int16_t* samples, int count);

} // namespace halvox
