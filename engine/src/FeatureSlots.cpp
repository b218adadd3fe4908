#include "FeatureSlots.h"

#include <cstddef>
#include <string>

#include "EngineTexts.h"
#include "VectorQuantizer.h"

namespace halvox {

bool SlotsHoldFrames(EngineContext& context, const WorkMemory& work, int slotCount)
{
    if (slotCount < 1 || static_cast<size_t>(slotCount) > work.slots.size()) {
        SetLabel(context, texts::kWorkMemoryError, "no feature slot for " + std::to_string(slotCount) + " readings");
        return false;
    }
    const auto dim = static_cast<size_t>(work.shape.featureDim);
    for (int r = 0; r < slotCount; ++r) {
        const FeatureSlot& slot = work.slots[static_cast<size_t>(r)];
        const auto frames = static_cast<size_t>(slot.frameCount);
        if (slot.frameCount < kMinimumSlotFrames || slot.frameCount > work.slotCapacity
            || slot.features.size() < frames * dim || slot.symbols.size() < frames
            || slot.confidences.size() < frames) {
            SetLabel(context, texts::kWorkMemoryError,
                "slot " + std::to_string(r) + " holds " + std::to_string(slot.frameCount) + " frames");
            return false;
        }
    }
    return true;
}

std::vector<double> FrameMean(const float* frames, int count, int dim)
{
    std::vector<double> mean(static_cast<size_t>(dim), 0.0);
    if (count < 1)
        return mean;
    for (int t = 0; t < count; ++t)
        for (int d = 0; d < dim; ++d)
            mean[static_cast<size_t>(d)] += frames[static_cast<size_t>(t) * dim + d];
    for (double& value : mean)
        value /= count;
    return mean;
}

void ShiftFrames(float* frames, int count, int dim, const std::vector<double>& from, const float* to)
{
    for (int t = 0; t < count; ++t) {
        float* frame = frames + static_cast<size_t>(t) * dim;
        for (int d = 0; d < dim; ++d)
            frame[d] = static_cast<float>((frame[d] - from[static_cast<size_t>(d)]) + to[d]);
    }
}

bool QuantizeFrames(const float* frames, int count, int dim, const std::vector<float>& codewords,
    const std::vector<float>& weights, const std::vector<float>& dimensionWeights, int* symbols, float* confidences)
{
    const auto size = static_cast<int>(weights.size());
    if (dim < 1 || size < 1 || codewords.size() != weights.size() * static_cast<size_t>(dim)
        || dimensionWeights.size() != static_cast<size_t>(dim))
        return false;
    VectorQuantizer quantizer(dim);
    return quantizer.LoadFrames(frames, count) && quantizer.LoadCodebook(codewords.data(), weights.data(), size)
        && quantizer.UseGivenDimensionWeights(dimensionWeights.data()) && quantizer.Quantize(symbols, confidences);
}

bool QuantizeSlot(FeatureSlot& slot, int dim, const std::vector<float>& codewords, const std::vector<float>& weights,
    const std::vector<float>& dimensionWeights)
{
    return QuantizeFrames(slot.features.data(), slot.frameCount, dim, codewords, weights, dimensionWeights,
        slot.symbols.data(), slot.confidences.data());
}

std::vector<float> AverageVectors(const std::vector<std::vector<float>>& vectors)
{
    if (vectors.empty())
        return {};
    const size_t length = vectors.front().size();
    std::vector<double> sums(length, 0.0);
    for (const auto& vector : vectors) {
        if (vector.size() != length)
            return {};
        for (size_t d = 0; d < length; ++d)
            sums[d] += vector[d];
    }
    std::vector<float> mean(length);
    for (size_t d = 0; d < length; ++d)
        mean[d] = static_cast<float>(sums[d] / static_cast<double>(vectors.size()));
    return mean;
}

} // namespace halvox
