#include "VectorQuantizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numbers>

namespace halvox {

namespace {

// Shaping of the default weights for the live check; the later cepstra carry most of what a loudspeaker
// changes. Dimensions beyond the table keep their default weight.
constexpr std::array<double, 20> kRecordingCheckFactors
    = {0.4, 0.5, 0.7, 1.0, 1.43, 2.02, 3.02, 4.13, 5.15, 6.11, 6.8, 7.3, 7.66, 7.94, 8.13, 8.3, 8.45, 8.6, 8.7, 8.8};

// The search bound of the nearest codeword; a frame with no distance below it (not-a-number features)
// keeps symbol 0 and gets confidence 0.
constexpr double kSearchBound = 1e299;

constexpr float kSubstituteWeight = 1.0f;
constexpr float kLargestCodewordWeight = 100.0f;

// Rejects sizes whose element count does not fit the address space we are willing to use.
bool FitsElementCount(int64_t count)
{
    return count >= 0 && count <= static_cast<int64_t>(std::numeric_limits<int32_t>::max());
}

float UsableCodewordWeight(float weight)
{
    if (!(weight > 0.0f) || weight > kLargestCodewordWeight)
        return kSubstituteWeight;
    return weight;
}

double PopulationVariance(const float* values, int count, int stride)
{
    double sum = 0.0;
    for (int i = 0; i < count; ++i)
        sum += values[static_cast<std::ptrdiff_t>(i) * stride];
    const double mean = sum / count;
    double squares = 0.0;
    for (int i = 0; i < count; ++i) {
        const double deviation = values[static_cast<std::ptrdiff_t>(i) * stride] - mean;
        squares += deviation * deviation;
    }
    return squares / count;
}

} // namespace

std::vector<float> MakeDimensionWeights(DimensionWeightKind kind, int dim)
{
    if (dim < 1)
        return {};
    std::vector<float> weights(static_cast<std::size_t>(dim), 1.0f);
    if (kind == DimensionWeightKind::Unit || dim == 1)
        return weights; // a single dimension has no middle to emphasise
    const double halfSpan = (dim - 1) / 2.0;
    for (int d = 0; d < dim; ++d) {
        double weight = 1.0 + halfSpan * std::sin(std::numbers::pi * d / (dim - 1));
        if (kind == DimensionWeightKind::RecordingCheck && d < static_cast<int>(kRecordingCheckFactors.size()))
            weight *= kRecordingCheckFactors[static_cast<std::size_t>(d)];
        weights[static_cast<std::size_t>(d)] = static_cast<float>(weight);
    }
    return weights;
}

VectorQuantizer::VectorQuantizer(int dim)
    : m_dim(dim > 0 ? dim : 0)
{
    m_dimensionWeights = MakeDimensionWeights(DimensionWeightKind::Default, m_dim);
}

bool VectorQuantizer::LoadFrames(const float* frames, int count)
{
    if (m_dim < 1 || count < 0 || (count > 0 && frames == nullptr)
        || !FitsElementCount(static_cast<int64_t>(count) * m_dim))
        return false;
    m_frames.assign(frames, frames + static_cast<std::size_t>(count) * static_cast<std::size_t>(m_dim));
    m_frameCount = count;
    return true;
}

bool VectorQuantizer::LoadCodebook(const float* codewords, const float* weights, int size)
{
    if (m_dim < 1 || size < 1 || codewords == nullptr || weights == nullptr
        || !FitsElementCount(static_cast<int64_t>(size) * m_dim))
        return false;
    m_codewords.assign(codewords, codewords + static_cast<std::size_t>(size) * static_cast<std::size_t>(m_dim));
    m_codewordWeights.resize(static_cast<std::size_t>(size));
    std::transform(weights, weights + size, m_codewordWeights.begin(), UsableCodewordWeight);
    m_codebookSize = size;
    return true;
}

void VectorQuantizer::UseDimensionWeights(DimensionWeightKind kind)
{
    m_dimensionWeights = MakeDimensionWeights(kind, m_dim);
}

bool VectorQuantizer::UseGivenDimensionWeights(const float* weights)
{
    if (m_dim < 1 || weights == nullptr)
        return false;
    m_dimensionWeights.assign(weights, weights + m_dim);
    return true;
}

std::vector<float> VectorQuantizer::DeriveDimensionWeights(const float* refCodewords, int refSize)
{
    if (m_dim < 1 || m_frameCount < 1 || refCodewords == nullptr || refSize < 1)
        return {};
    std::vector<float> weights(static_cast<std::size_t>(m_dim));
    for (int d = 0; d < m_dim; ++d) {
        const double frameSpread = PopulationVariance(m_frames.data() + d, m_frameCount, m_dim);
        const double codebookSpread = PopulationVariance(refCodewords + d, refSize, m_dim);
        const double ratio = frameSpread / codebookSpread;
        weights[static_cast<std::size_t>(d)] = std::isfinite(ratio) ? static_cast<float>(ratio) : 1.0f;
    }
    m_dimensionWeights = weights;
    return weights;
}

double VectorQuantizer::WeightedDistance(const float* frame, const float* codeword) const
{
    double distance = 0.0;
    for (int d = 0; d < m_dim; ++d) {
        const double difference = static_cast<double>(frame[d]) - static_cast<double>(codeword[d]);
        distance += (m_dimensionWeights[static_cast<std::size_t>(d)] * difference) * difference;
    }
    return distance;
}

bool VectorQuantizer::Quantize(int* symbols, float* confidences) const
{
    if (m_codebookSize < 1)
        return false;
    if (m_frameCount > 0 && (symbols == nullptr || confidences == nullptr))
        return false;
    for (int t = 0; t < m_frameCount; ++t) {
        const float* frame = m_frames.data() + static_cast<std::size_t>(t) * static_cast<std::size_t>(m_dim);
        int best = 0;
        double bestDistance = kSearchBound;
        for (int j = 0; j < m_codebookSize; ++j) {
            const double distance = WeightedDistance(
                frame, m_codewords.data() + static_cast<std::size_t>(j) * static_cast<std::size_t>(m_dim));
            if (distance < bestDistance) {
                bestDistance = distance;
                best = j;
            }
        }
        const double weight = m_codewordWeights[static_cast<std::size_t>(best)];
        symbols[t] = best;
        confidences[t] = static_cast<float>(std::exp(-bestDistance / weight) / std::sqrt(std::numbers::pi * weight));
    }
    return true;
}

double VectorQuantizer::NearestCodewordSum(
    const float* codeword, const float* codebook, int size, int dim, int first, int last)
{
    if (codeword == nullptr || codebook == nullptr || size < 1 || dim < 1)
        return 0.0;
    first = std::max(first, 0);
    last = std::min(last, size);
    if (first >= last)
        return 0.0;
    std::vector<double> distances(static_cast<std::size_t>(size));
    for (int j = 0; j < size; ++j) {
        const float* other = codebook + static_cast<std::size_t>(j) * static_cast<std::size_t>(dim);
        double distance = 0.0;
        for (int d = 0; d < dim; ++d) {
            const double difference = static_cast<double>(codeword[d]) - static_cast<double>(other[d]);
            distance += difference * difference;
        }
        distances[static_cast<std::size_t>(j)] = distance;
    }
    // Not-a-number distances (from a corrupt codebook) sort last; a plain < would break the sort's ordering
    // contract, which may read outside the vector.
    std::sort(distances.begin(), distances.end(),
        [](double a, double b) { return a < b || (!std::isnan(a) && std::isnan(b)); });
    double sum = 0.0;
    for (int position = first; position < last; ++position)
        sum += distances[static_cast<std::size_t>(position)];
    return sum;
}

} // namespace halvox
