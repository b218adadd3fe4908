#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace halvox {

// The sizes the work memory was made with. Parameters may change afterwards (the setters check
// nothing); every user of the work memory compares the current parameters with these first.
struct WorkMemoryShape
{
    int sampleRate = 0;
    int maxDurationMs = 0;
    int frameShift = 0;
    int maxRepeat = 0;
    int featureDim = 0;
    int codebookSize = 0;
    int hmmStates = 0;
    int hmmSymbols = 0;

    bool operator==(const WorkMemoryShape&) const = default;
};

// One repetition's analysis: its feature vectors and their quantised form.
struct FeatureSlot
{
    std::vector<float> features; // capacity x featureDim
    int frameCount = 0;
    std::vector<int> symbols; // capacity
    std::vector<float> confidences; // capacity
    std::vector<float> auxiliary; // featureDim
};

// A codebook with its weights and a discrete HMM over it, as loaded for one operation.
struct ModelArrays
{
    std::vector<float> codewords; // codebookSize x featureDim
    std::vector<float> weights; // codebookSize
    std::vector<float> pi; // hmmStates
    std::vector<float> a; // hmmStates x hmmStates
    std::vector<float> b; // hmmStates x hmmSymbols
};

struct WorkMemory
{
    WorkMemoryShape shape;
    std::vector<int16_t> speech;
    int speechCount = 0;
    int slotCapacity = 0;
    std::vector<FeatureSlot> slots;
    ModelArrays user;
    ModelArrays background;
    ModelArrays second;
};

// Makes the work memory for the given shape. Returns null with the reason in `error` when a size is not
// positive or is too large to be a recording of the engine (the setters check nothing, so this is
// where nonsense parameters are stopped before they size an allocation).
std::unique_ptr<WorkMemory> CreateWorkMemory(const WorkMemoryShape& shape, std::string& error);

// Samples of the speech buffer and vectors of a feature slot for a shape.
int64_t SpeechCapacity(const WorkMemoryShape& shape);
int64_t SlotCapacity(const WorkMemoryShape& shape);

} // namespace halvox
