#include "WorkMemory.h"

#include <new>

namespace halvox {

namespace {

// Upper bounds well above anything the suite uses; they keep a nonsense parameter from asking for
// gigabytes.
constexpr int64_t kMaxSpeechSamples = 16 * 1024 * 1024;
constexpr int kMaxRepeat = 100;
constexpr int kMaxFeatureDim = 256;
constexpr int kMaxCodebookSize = 4096;
constexpr int kMaxStates = 64;
constexpr int kMaxSymbols = 8192;

bool InRange(int64_t value, int64_t low, int64_t high)
{
    return value >= low && value <= high;
}

std::string CheckShape(const WorkMemoryShape& shape)
{
    if (shape.sampleRate <= 0 || shape.maxDurationMs <= 0 || shape.frameShift <= 0)
        return "sample rate, duration and frame shift must be positive";
    if (!InRange(SpeechCapacity(shape), 1, kMaxSpeechSamples))
        return "recording length out of range";
    if (!InRange(shape.maxRepeat, 1, kMaxRepeat))
        return "repetition count out of range";
    if (!InRange(shape.featureDim, 1, kMaxFeatureDim))
        return "feature dimension out of range";
    if (!InRange(shape.codebookSize, 1, kMaxCodebookSize))
        return "codebook size out of range";
    if (!InRange(shape.hmmStates, 1, kMaxStates) || !InRange(shape.hmmSymbols, 1, kMaxSymbols))
        return "model size out of range";
    return {};
}

void SizeModelArrays(ModelArrays& arrays, const WorkMemoryShape& shape)
{
    arrays.codewords.assign(static_cast<size_t>(shape.codebookSize) * shape.featureDim, 0.0f);
    arrays.weights.assign(shape.codebookSize, 0.0f);
    arrays.pi.assign(shape.hmmStates, 0.0f);
    arrays.a.assign(static_cast<size_t>(shape.hmmStates) * shape.hmmStates, 0.0f);
    arrays.b.assign(static_cast<size_t>(shape.hmmStates) * shape.hmmSymbols, 0.0f);
}

} // namespace

int64_t SpeechCapacity(const WorkMemoryShape& shape)
{
    return static_cast<int64_t>(shape.sampleRate) * shape.maxDurationMs / 1000 + 1;
}

int64_t SlotCapacity(const WorkMemoryShape& shape)
{
    if (shape.frameShift <= 0)
        return 0;
    return static_cast<int64_t>(shape.sampleRate) * shape.maxDurationMs / 1000 / shape.frameShift + 1;
}

std::unique_ptr<WorkMemory> CreateWorkMemory(const WorkMemoryShape& shape, std::string& error)
{
    std::string problem = CheckShape(shape);
    if (!problem.empty()) {
        error = problem;
        return nullptr;
    }
    try {
        auto memory = std::make_unique<WorkMemory>();
        memory->shape = shape;
        memory->speech.assign(static_cast<size_t>(SpeechCapacity(shape)), 0);
        memory->slotCapacity = static_cast<int>(SlotCapacity(shape));
        memory->slots.resize(shape.maxRepeat);
        for (FeatureSlot& slot : memory->slots) {
            slot.features.assign(static_cast<size_t>(memory->slotCapacity) * shape.featureDim, 0.0f);
            slot.symbols.assign(memory->slotCapacity, 0);
            slot.confidences.assign(memory->slotCapacity, 0.0f);
            slot.auxiliary.assign(shape.featureDim, 0.0f);
        }
        SizeModelArrays(memory->user, shape);
        SizeModelArrays(memory->background, shape);
        SizeModelArrays(memory->second, shape);
        return memory;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return nullptr;
    }
}

} // namespace halvox
