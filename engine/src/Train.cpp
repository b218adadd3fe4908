#include "Train.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "CodebookTrainer.h"
#include "DiscreteHmm.h"
#include "Discrimination.h"
#include "EngineModels.h"
#include "EnginePaths.h"
#include "EngineTexts.h"
#include "FeatureSlots.h"
#include "UserModelOutput.h"
#include "VectorQuantizer.h"
#include "WorkMemoryAccess.h"

namespace halvox {

namespace {

// Each user codeword's discrimination value compares its three nearest background and user neighbours.
constexpr int kTrainingNeighbours = 3;

struct TrainingInput
{
    WorkMemory* work = nullptr;
    int repeats = 0;
    int dim = 0;
    CodebookModel background;
};

bool TrainingFailure(EngineContext& context, const std::string& reason)
{
    SetLabel(context, texts::kTrainingError, reason);
    return false;
}

// Moves every repetition from the enrolment's own mean onto the background mean, so that the codebook
// adapts to the talker's voice rather than to the channel. Returns the total frame count.
int ShiftSlotsToBackgroundMean(TrainingInput& input)
{
    CodebookTrainer meanFinder(input.dim);
    int total = 0;
    for (int r = 0; r < input.repeats; ++r) {
        const FeatureSlot& slot = input.work->slots[static_cast<size_t>(r)];
        (void)meanFinder.AddVectors(slot.features.data(), slot.frameCount);
        total += slot.frameCount;
    }
    const std::vector<double> userMean = meanFinder.Mean();
    for (int r = 0; r < input.repeats; ++r) {
        FeatureSlot& slot = input.work->slots[static_cast<size_t>(r)];
        ShiftFrames(slot.features.data(), slot.frameCount, input.dim, userMean, input.background.mean.data());
    }
    return total;
}

bool TrainUserCodebook(const TrainingInput& input, int totalFrames, TrainedCodebook* codebook)
{
    const CodebookModel& background = input.background;
    CodebookTrainer trainer(input.dim);
    for (int r = 0; r < input.repeats; ++r) {
        const FeatureSlot& slot = input.work->slots[static_cast<size_t>(r)];
        if (!trainer.AddVectors(slot.features.data(), slot.frameCount))
            return false;
    }
    if (!trainer.SetReference(background.codewords.data(), background.weights.data(), background.codebookSize)
        || !trainer.SetInitial(background.codewords.data(), background.codebookSize) || !trainer.Train(totalFrames))
        return false;
    *codebook = trainer.Finish();
    return codebook->size > 0;
}

// Quantises each slot with the user codebook under weights derived from the slot's own spread against the
// background codebook; the mean of those weights becomes the model's dimension weights.
bool QuantizeWithDerivedWeights(
    const TrainingInput& input, const TrainedCodebook& codebook, std::vector<float>* dimensionWeights)
{
    std::vector<std::vector<float>> perSlot;
    for (int r = 0; r < input.repeats; ++r) {
        FeatureSlot& slot = input.work->slots[static_cast<size_t>(r)];
        VectorQuantizer quantizer(input.dim);
        if (!quantizer.LoadFrames(slot.features.data(), slot.frameCount)
            || !quantizer.LoadCodebook(codebook.codewords.data(), codebook.weights.data(), codebook.size))
            return false;
        perSlot.push_back(
            quantizer.DeriveDimensionWeights(input.background.codewords.data(), input.background.codebookSize));
        if (!quantizer.Quantize(slot.symbols.data(), slot.confidences.data()))
            return false;
    }
    *dimensionWeights = AverageVectors(perSlot);
    return dimensionWeights->size() == static_cast<size_t>(input.dim);
}

bool TrainUserHmm(const TrainingInput& input, int states, int symbols, double convergence, UserModel* model)
{
    DiscreteHmm hmm(states, symbols);
    for (int r = 0; r < input.repeats; ++r) {
        const FeatureSlot& slot = input.work->slots[static_cast<size_t>(r)];
        if (!hmm.AddTrainingSequence(slot.symbols.data(), slot.confidences.data(), slot.frameCount))
            return false;
    }
    hmm.InitialiseRandom();
    if (hmm.Train(convergence) < 0)
        return false;
    model->pi.resize(static_cast<size_t>(states));
    model->a.resize(static_cast<size_t>(states) * states);
    model->b.resize(static_cast<size_t>(states) * symbols);
    hmm.Export(model->pi.data(), model->a.data(), model->b.data());
    return true;
}

// Mean over the repetitions of how much better the user model scores them than the background model,
// both placed in the combined symbol space. Verification compares a new reading against this.
bool ComputeTrainedRatio(const TrainingInput& input, const UserModel& model, float* trainedRatio)
{
    const CodebookModel& background = input.background;
    const CombinedCodebook combined
        = CombineCodebooks(background.codewords, background.weights, model.codewords, model.weights, input.dim);
    double sum = 0.0;
    for (int r = 0; r < input.repeats; ++r) {
        FeatureSlot& slot = input.work->slots[static_cast<size_t>(r)];
        if (!QuantizeSlot(slot, input.dim, combined.codewords, combined.weights, model.dimensionWeights))
            return false;
        const auto user = ScoreStoredModel(model.pi, model.a, model.b, model.states, model.codebookSize, combined.size,
            SymbolSide::Upper, slot.symbols.data(), slot.frameCount);
        const auto back = ScoreStoredModel(background.pi, background.a, background.b, background.states,
            background.symbols, combined.size, SymbolSide::Lower, slot.symbols.data(), slot.frameCount);
        if (!user || !back)
            return false;
        sum += *user / *back;
    }
    *trainedRatio = static_cast<float>(sum / input.repeats);
    return true;
}

void KeepModelsInWorkMemory(WorkMemory& work, const CodebookModel& background, const UserModel& model)
{
    work.background = ModelArrays {background.codewords, background.weights, background.pi, background.a, background.b};
    work.user = ModelArrays {model.codewords, model.weights, model.pi, model.a, model.b};
}

std::vector<float> AuxiliaryMean(const TrainingInput& input)
{
    std::vector<std::vector<float>> vectors;
    for (int r = 0; r < input.repeats; ++r)
        vectors.push_back(input.work->slots[static_cast<size_t>(r)].auxiliary);
    std::vector<float> mean = AverageVectors(vectors);
    if (mean.size() != static_cast<size_t>(input.dim))
        mean.assign(static_cast<size_t>(input.dim), 0.0f);
    return mean;
}

bool BuildUserModel(EngineContext& context, TrainingInput& input, UserModel* model)
{
    const int totalFrames = ShiftSlotsToBackgroundMean(input);
    TrainedCodebook codebook;
    if (!TrainUserCodebook(input, totalFrames, &codebook))
        return TrainingFailure(context, "the readings gave no codebook");
    model->codebookSize = codebook.size;
    model->codewords = codebook.codewords;
    model->weights = codebook.weights;
    if (!QuantizeWithDerivedWeights(input, codebook, &model->dimensionWeights))
        return TrainingFailure(context, "the readings could not be quantised");
    model->auxMean = AuxiliaryMean(input);
    if (!TrainUserHmm(input, context.hmmStates, codebook.size, context.convergence, model))
        return TrainingFailure(context, "the readings gave no word model");
    model->discrimination = DiscriminationValues(model->codewords, model->codebookSize, input.background.codewords,
        input.background.codebookSize, input.dim, kTrainingNeighbours);
    if (!ComputeTrainedRatio(input, *model, &model->trainedRatio))
        return TrainingFailure(context, "the readings could not be scored");
    return true;
}

} // namespace

int Train(EngineContext& context)
{
    std::memset(context.labelText, 0, sizeof context.labelText);
    WorkMemory* work = UsableWorkMemory(context);
    if (work == nullptr || !SlotsHoldFrames(context, *work, context.maxRepeat))
        return 0;
    context.sex = context.maleCount < context.femaleCount ? 1 : 0;
    const bool male = context.sex == 0;

    TrainingInput input;
    input.work = work;
    input.repeats = context.maxRepeat;
    input.dim = context.featureDim;
    const std::string backgroundPath
        = BackgroundModelPath(context.folder, context.codebookSize, context.wordCode, male);
    if (!ReadContextCodebookModel(context, backgroundPath, true, &input.background))
        return 0;

    UserModel model = UserModelHeaderFromContext(context, male);
    if (!BuildUserModel(context, input, &model))
        return 0;
    context.trainedRatio = model.trainedRatio;
    KeepModelsInWorkMemory(*work, input.background, model);
    return WriteContextUserModel(context, ContextUserModelPath(context), model) ? 1 : 0;
}

} // namespace halvox
