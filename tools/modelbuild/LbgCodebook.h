#pragma once

#include <vector>

namespace modelbuild {

/** A codebook with, per codeword, the mean squared (unweighted) distance of its members. */
struct Codebook
{
    int dim = 0;
    int size = 0;
    std::vector<float> codewords; ///< size x dim
    std::vector<float> weights; ///< size
};

/**
 * Builds a codebook of `size` codewords from `frames` (count x dim floats) by binary splitting (LBG): start
 * from the mean, split every codeword into two nudged by a hundredth of each dimension's spread, refine
 * with Lloyd passes, repeat; for a size that is not a power of two the widest codewords are split last.
 * Finally the codeword whose removal costs least is moved next to the most distorted one while that lowers
 * the total distortion. A codeword left without members is replaced by a split of the codeword with the
 * largest total distortion, so that every codeword of a shipped model describes real speech.
 *
 * Deterministic: the same frames give the same bytes. Distances are squared Euclidean without dimension
 * weights, as the engine's own codebook trainer measures them, so that its split and adaptation scales
 * (multiples of the mean weight) mean the same on our codebooks.
 *
 * @return an empty codebook (size 0) when there are fewer frames than codewords or the sizes are unusable.
 */
Codebook BuildLbgCodebook(const std::vector<float>& frames, int dim, int size);

/** Index of the nearest codeword (first on ties) by squared Euclidean distance; -1 for an empty codebook. */
int NearestCodeword(const Codebook& codebook, const float* frame, double* distance = nullptr);

} // namespace modelbuild
