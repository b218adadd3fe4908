#pragma once

#include <vector>

#include "EngineContext.h"

namespace halvox {

/** Fewest frames a slot must hold: the HMM re-estimation needs at least one transition. */
inline constexpr int kMinimumSlotFrames = 2;

/**
 * True when slots 0 ... slotCount - 1 exist and each holds kMinimumSlotFrames ... slotCapacity frames.
 * Otherwise false with the work-memory line in labelText naming the first unusable slot.
 */
bool SlotsHoldFrames(EngineContext& context, const WorkMemory& work, int slotCount);

/** Mean of count frames of dim floats, in double. */
std::vector<double> FrameMean(const float* frames, int count, int dim);

/** Moves the frames from the mean `from` to the mean `to` (dim floats) in place: x = (x - from) + to. */
void ShiftFrames(float* frames, int count, int dim, const std::vector<double>& from, const float* to);

/**
 * Quantises count frames with a codebook (size codewords, their weights) under the given dimension weights
 * (dim floats) into count symbols and confidences. False when an input does not fit.
 */
[[nodiscard]] bool QuantizeFrames(const float* frames, int count, int dim, const std::vector<float>& codewords,
    const std::vector<float>& weights, const std::vector<float>& dimensionWeights, int* symbols, float* confidences);

/** As QuantizeFrames, from and into the slot's own arrays. */
[[nodiscard]] bool QuantizeSlot(FeatureSlot& slot, int dim, const std::vector<float>& codewords,
    const std::vector<float>& weights, const std::vector<float>& dimensionWeights);

/** Element-wise mean of equally long float vectors, summed in double; empty when they differ in length. */
std::vector<float> AverageVectors(const std::vector<std::vector<float>>& vectors);

} // namespace halvox
