#pragma once

#include <vector>

namespace halvox {

/**
 * How well each user codeword stands apart from the background: for codeword i, the sum of its squared
 * distances to its `neighbours` nearest background codewords over the sum to its `neighbours` nearest
 * other user codewords, each value then divided by the mean of all of them.
 *
 * @param userCodewords       userSize x dim floats.
 * @param backgroundCodewords backgroundSize x dim floats.
 * @return userSize floats; empty when a size does not fit. Coinciding user codewords give an infinite
 *         ratio, which the stored model carries as it is (nothing in the engine reads these values back).
 */
std::vector<float> DiscriminationValues(const std::vector<float>& userCodewords, int userSize,
    const std::vector<float>& backgroundCodewords, int backgroundSize, int dim, int neighbours);

} // namespace halvox
