#pragma once

#include <vector>

#include "LbgCodebook.h"

namespace modelbuild {

/**
 * The live check quantises a reading with the recording codebook and the background codebook together and
 * calls it replayed only when nearly every frame lands on a recording codeword. A codebook that merely
 * describes the replayed frames well leaves those near the background codewords to them.
 *
 * This moves the codewords of `start` so that they take more of `frames` from `rival` in the distance the
 * engine quantises with (the sum over d of dimensionWeights[d] x squared difference): in each of `rounds`
 * rounds, every frame that a rival codeword is nearer to (the engine gives ties to our codewords, which
 * come first) counts twice as much as before, and a few Lloyd passes move each codeword to the weighted
 * mean of its frames. The codewords of the round that takes the most frames are kept (the start when none
 * takes more), and their weights measured as the mean plain squared distance of the frames each codeword
 * takes. Deterministic. An empty codebook comes back when the sizes do not fit.
 */
Codebook CaptureFromRival(const std::vector<float>& frames, const Codebook& start, const std::vector<float>& rival,
    const std::vector<float>& dimensionWeights, int rounds);

} // namespace modelbuild
