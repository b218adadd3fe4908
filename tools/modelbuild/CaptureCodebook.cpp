#include "CaptureCodebook.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace modelbuild {

namespace {

constexpr int kLloydPassesPerRound = 5;
constexpr double kLostFrameGain = 2.0;

// Vectors of `dim` values in one flat array, each dimension stretched by the root of its weight, so that
// plain squared distances are the engine's weighted ones.
std::vector<double> Stretched(const std::vector<float>& values, const std::vector<double>& stretch)
{
    std::vector<double> result(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        result[i] = values[i] * stretch[i % stretch.size()];
    return result;
}

// Index of the nearest of `count` vectors (first on ties) and its squared distance.
std::size_t Nearest(const double* frame, const std::vector<double>& vectors, std::size_t dim, double* distance)
{
    std::size_t best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (std::size_t j = 0; j * dim < vectors.size(); ++j) {
        double sum = 0.0;
        for (std::size_t d = 0; d < dim && sum < bestDistance; ++d) {
            const double diff = frame[d] - vectors[j * dim + d];
            sum += diff * diff;
        }
        if (sum < bestDistance) {
            bestDistance = sum;
            best = j;
        }
    }
    *distance = bestDistance;
    return best;
}

void WeightedLloydPass(const std::vector<double>& frames, const std::vector<double>& frameWeights, std::size_t dim,
    std::vector<double>* codewords)
{
    const std::size_t size = codewords->size() / dim;
    std::vector<double> sums(codewords->size(), 0.0);
    std::vector<double> mass(size, 0.0);
    for (std::size_t t = 0; t < frameWeights.size(); ++t) {
        double distance = 0.0;
        const std::size_t j = Nearest(&frames[t * dim], *codewords, dim, &distance);
        for (std::size_t d = 0; d < dim; ++d)
            sums[j * dim + d] += frameWeights[t] * frames[t * dim + d];
        mass[j] += frameWeights[t];
    }
    for (std::size_t j = 0; j < size; ++j)
        if (mass[j] > 0.0) // a codeword without frames stays where it is
            for (std::size_t d = 0; d < dim; ++d)
                (*codewords)[j * dim + d] = sums[j * dim + d] / mass[j];
}

} // namespace

Codebook CaptureFromRival(const std::vector<float>& frames, const Codebook& start, const std::vector<float>& rival,
    const std::vector<float>& dimensionWeights, int rounds)
{
    const std::size_t dim = static_cast<std::size_t>(start.dim);
    if (start.size < 1 || dim == 0 || dimensionWeights.size() != dim || frames.empty() || frames.size() % dim != 0
        || rival.empty() || rival.size() % dim != 0
        || start.codewords.size() != dim * static_cast<std::size_t>(start.size))
        return {};
    std::vector<double> stretch(dim);
    for (std::size_t d = 0; d < dim; ++d) {
        if (!(dimensionWeights[d] > 0.0f))
            return {};
        stretch[d] = std::sqrt(static_cast<double>(dimensionWeights[d]));
    }
    const std::vector<double> stretchedFrames = Stretched(frames, stretch);
    const std::vector<double> stretchedRival = Stretched(rival, stretch);
    std::vector<double> codewords = Stretched(start.codewords, stretch);
    const std::size_t count = frames.size() / dim;

    std::vector<double> rivalDistance(count);
    for (std::size_t t = 0; t < count; ++t)
        (void)Nearest(&stretchedFrames[t * dim], stretchedRival, dim, &rivalDistance[t]);
    std::vector<double> frameWeights(count, 1.0);
    std::vector<double> best = codewords;
    std::size_t bestCaptured = 0;
    for (int round = 0; round <= rounds; ++round) {
        std::size_t captured = 0;
        for (std::size_t t = 0; t < count; ++t) {
            double own = 0.0;
            (void)Nearest(&stretchedFrames[t * dim], codewords, dim, &own);
            if (rivalDistance[t] < own)
                frameWeights[t] *= kLostFrameGain;
            else
                ++captured;
        }
        // Chasing frames deep in the rival's ground can cost more frames than it wins: keep the best round.
        if (round == 0 || captured > bestCaptured) {
            bestCaptured = captured;
            best = codewords;
        }
        if (round == rounds)
            break;
        for (int pass = 0; pass < kLloydPassesPerRound; ++pass)
            WeightedLloydPass(stretchedFrames, frameWeights, dim, &codewords);
    }
    codewords = std::move(best);

    Codebook result = start;
    for (std::size_t i = 0; i < codewords.size(); ++i)
        result.codewords[i] = static_cast<float>(codewords[i] / stretch[i % dim]);
    // Members by the weighted distance against the stored (float) codewords; their plain mean squared distance.
    const std::vector<double> stored = Stretched(result.codewords, stretch);
    std::vector<double> sums(static_cast<std::size_t>(result.size), 0.0);
    std::vector<int> members(static_cast<std::size_t>(result.size), 0);
    for (std::size_t t = 0; t < count; ++t) {
        double distance = 0.0;
        const std::size_t j = Nearest(&stretchedFrames[t * dim], stored, dim, &distance);
        double plain = 0.0;
        for (std::size_t d = 0; d < dim; ++d) {
            const double diff = static_cast<double>(frames[t * dim + d]) - result.codewords[j * dim + d];
            plain += diff * diff;
        }
        sums[j] += plain;
        ++members[j];
    }
    for (std::size_t j = 0; j < sums.size(); ++j)
        result.weights[j] = members[j] > 0 ? static_cast<float>(sums[j] / members[j]) : 0.0f;
    return result;
}

} // namespace modelbuild
