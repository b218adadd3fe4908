#include "Discrimination.h"

#include <cstddef>

#include "VectorQuantizer.h"

namespace halvox {

std::vector<float> DiscriminationValues(const std::vector<float>& userCodewords, int userSize,
    const std::vector<float>& backgroundCodewords, int backgroundSize, int dim, int neighbours)
{
    if (dim < 1 || userSize < 1 || backgroundSize < 1 || neighbours < 1
        || userCodewords.size() != static_cast<size_t>(userSize) * dim
        || backgroundCodewords.size() != static_cast<size_t>(backgroundSize) * dim)
        return {};
    std::vector<double> ratios(static_cast<size_t>(userSize));
    double sum = 0.0;
    for (int i = 0; i < userSize; ++i) {
        const float* codeword = userCodewords.data() + static_cast<size_t>(i) * dim;
        const double apart = VectorQuantizer::NearestCodewordSum(
            codeword, backgroundCodewords.data(), backgroundSize, dim, 0, neighbours);
        // Position 0 of the user codebook is the codeword itself.
        const double among
            = VectorQuantizer::NearestCodewordSum(codeword, userCodewords.data(), userSize, dim, 1, neighbours + 1);
        ratios[static_cast<size_t>(i)] = apart / among;
        sum += ratios[static_cast<size_t>(i)];
    }
    const double mean = sum / userSize;
    std::vector<float> values(ratios.size());
    for (size_t i = 0; i < ratios.size(); ++i)
        values[i] = static_cast<float>(ratios[i] / mean);
    return values;
}

} // namespace halvox
