#include "ModelUpdate.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "CodebookTrainer.h"
#include "DiscreteHmm.h"
#include "Discrimination.h"
#include "EngineLog.h"
#include "EngineTexts.h"
#include "FeatureSlots.h"
#include "UserModelOutput.h"

namespace halvox {

namespace {

constexpr const char* kPassLine = "%d\tReturn value of reestimate() : %lf";

// After an update each codeword's discrimination value looks at five neighbours on each side.
constexpr int kUpdateNeighbours = 5;

struct Sequence
{
    std::vector<int> symbols;
    std::vector<float> confidences;
};

void LogPass(int pass, double change)
{
    const int length = std::snprintf(nullptr, 0, kPassLine, pass, change);
    if (length < 0)
        return;
    std::string line(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(line.data(), line.size(), kPassLine, pass, change);
    line.pop_back();
    LogLine(line);
}

bool UpdateFailure(EngineContext& context, const std::string& reason)
{
    SetLabel(context, texts::kTrainingError, reason);
    return false;
}

HmmParameters Blend(
    const UpdateWeights& w, const HmmParameters& start, const HmmParameters& reading, const HmmParameters& adapted)
{
    HmmParameters blend = start;
    const auto mix = [&w](std::vector<double>& out, const std::vector<double>& p0, const std::vector<double>& e0,
                         const std::vector<double>& e1) {
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = w.start * p0[i] + w.reading * e0[i] + w.adapted * e1[i];
    };
    mix(blend.pi, start.pi, reading.pi, adapted.pi);
    mix(blend.a, start.a, reading.a, adapted.a);
    mix(blend.b, start.b, reading.b, adapted.b);
    NormaliseOutputRows(&blend);
    return blend;
}

// Re-estimates the HMM as a blend that keeps most of the enrolled model, so that one accepted reading
// cannot pull the model far from the enrolment.
bool ReestimateFromStart(DiscreteHmm& hmm, const UpdateWeights& weights, double convergence)
{
    if (convergence >= DiscreteHmm::kNoTrainingThreshold)
        return true;
    const HmmParameters start = hmm.Model();
    HmmParameters reading;
    HmmParameters adapted;
    for (int pass = 1; pass <= DiscreteHmm::kMaxPasses; ++pass) {
        if (!hmm.ReestimateSequence(0, &reading) || !hmm.ReestimateSequence(1, &adapted))
            return false;
        const double change = hmm.ReplaceModel(Blend(weights, start, reading, adapted));
        LogPass(pass, change);
        if (change <= convergence)
            break;
    }
    return true;
}

bool AdaptCodebook(const FeatureSlot& reading, int dim, const UserModel& current, const CodebookModel& background,
    TrainedCodebook* adapted)
{
    CodebookTrainer trainer(dim);
    return trainer.AddVectors(reading.features.data(), reading.frameCount)
        && trainer.SetReference(background.codewords.data(), background.weights.data(), background.codebookSize)
        && trainer.Adapt(current.codewords.data(), current.weights.data(), current.codebookSize, adapted)
        && adapted->size >= current.codebookSize;
}

bool UpdateHmm(EngineContext& context, const UserModel& current, int symbols, const Sequence& reading,
    const Sequence& adapted, UserModel* next)
{
    const int states = current.states;
    DiscreteHmm hmm(states, symbols);
    // The reading's old-codebook symbols stay valid: adaptation keeps the old codewords in front.
    if (!hmm.AddTrainingSequence(
            reading.symbols.data(), reading.confidences.data(), static_cast<int>(reading.symbols.size()))
        || !hmm.AddTrainingSequence(
            adapted.symbols.data(), adapted.confidences.data(), static_cast<int>(adapted.symbols.size()))
        || !hmm.LoadStoredModel(
            current.pi.data(), current.a.data(), current.b.data(), current.codebookSize, SymbolSide::Lower))
        return false;
    const UpdateWeights weights
        = NormalisedUpdateWeights(UpdateWeights {context.updateWeight1, context.updateWeight2, context.updateWeight3});
    context.updateWeight1 = weights.start;
    context.updateWeight2 = weights.reading;
    context.updateWeight3 = weights.adapted;
    if (!ReestimateFromStart(hmm, weights, context.convergence))
        return false;
    next->pi.resize(static_cast<size_t>(states));
    next->a.resize(static_cast<size_t>(states) * states);
    next->b.resize(static_cast<size_t>(states) * symbols);
    hmm.Export(next->pi.data(), next->a.data(), next->b.data());
    return true;
}

} // namespace

UpdateWeights NormalisedUpdateWeights(const UpdateWeights& weights)
{
    const double sum = weights.start + weights.reading + weights.adapted;
    if (sum == 1.0 || sum == 0.0)
        return weights;
    return UpdateWeights {weights.start / sum, weights.reading / sum, weights.adapted / sum};
}

int UpdateUserModel(EngineContext& context, WorkMemory& work, const UserModel& current, const CodebookModel& background,
    const std::string& userModelPath)
{
    const int dim = current.dim;
    if (work.slots.empty() || dim != work.shape.featureDim) {
        UpdateFailure(context, "no reading to update from");
        return 0;
    }
    FeatureSlot& slot = work.slots.front();
    const int frames = slot.frameCount;

    Sequence reading;
    reading.symbols.resize(static_cast<size_t>(frames));
    reading.confidences.resize(static_cast<size_t>(frames));
    TrainedCodebook adapted;
    if (!QuantizeFrames(slot.features.data(), frames, dim, current.codewords, current.weights, current.dimensionWeights,
            reading.symbols.data(), reading.confidences.data())
        || !AdaptCodebook(slot, dim, current, background, &adapted)) {
        UpdateFailure(context, "the reading could not adapt the codebook");
        return 0;
    }
    std::copy(reading.symbols.begin(), reading.symbols.end(), slot.symbols.begin());
    std::copy(reading.confidences.begin(), reading.confidences.end(), slot.confidences.begin());

    Sequence requantized;
    requantized.symbols.resize(static_cast<size_t>(frames));
    requantized.confidences.resize(static_cast<size_t>(frames));
    if (!QuantizeFrames(slot.features.data(), frames, dim, adapted.codewords, adapted.weights, current.dimensionWeights,
            requantized.symbols.data(), requantized.confidences.data())) {
        UpdateFailure(context, "the reading could not be quantised");
        return 0;
    }
    if (work.slots.size() > 1 && work.slots[1].symbols.size() >= static_cast<size_t>(frames)) {
        FeatureSlot& second = work.slots[1];
        std::copy(requantized.symbols.begin(), requantized.symbols.end(), second.symbols.begin());
        std::copy(requantized.confidences.begin(), requantized.confidences.end(), second.confidences.begin());
        second.frameCount = frames;
    }

    UserModel next = current;
    const bool male = context.sex == 0;
    const UserModel header = UserModelHeaderFromContext(context, male);
    next.userId = header.userId;
    next.wordText = header.wordText;
    next.code = header.code;
    next.flags = header.flags;
    next.codebookSize = adapted.size;
    next.codewords = adapted.codewords;
    next.weights = adapted.weights;
    if (!UpdateHmm(context, current, adapted.size, reading, requantized, &next)) {
        UpdateFailure(context, "the word model could not be re-estimated");
        return 0;
    }
    next.discrimination = DiscriminationValues(
        next.codewords, next.codebookSize, background.codewords, background.codebookSize, dim, kUpdateNeighbours);
    return WriteContextUserModel(context, userModelPath, next) ? 1 : 0;
}

} // namespace halvox
