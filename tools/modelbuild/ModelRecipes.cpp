#include "ModelRecipes.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "CaptureCodebook.h"
#include "DiscreteHmm.h"
#include "PlpFrontEnd.h"
#include "ReadingAnalysis.h"

namespace modelbuild {

namespace {

std::vector<float> Concatenate(const Sequences& sequences)
{
    std::size_t total = 0;
    for (const auto& s : sequences)
        total += s.size();
    std::vector<float> all;
    all.reserve(total);
    for (const auto& s : sequences)
        all.insert(all.end(), s.begin(), s.end());
    return all;
}

std::vector<float> MeanVector(const std::vector<float>& frames, int dim)
{
    const std::size_t count = frames.size() / static_cast<std::size_t>(dim);
    std::vector<float> mean(static_cast<std::size_t>(dim), 0.0f);
    for (int d = 0; d < dim; ++d) {
        double sum = 0.0;
        for (std::size_t t = 0; t < count; ++t)
            sum += frames[t * static_cast<std::size_t>(dim) + static_cast<std::size_t>(d)];
        mean[static_cast<std::size_t>(d)] = static_cast<float>(sum / static_cast<double>(count));
    }
    return mean;
}

// The codeword symbols of one reading under the quantiser's codebook and dimension weights; empty when the
// reading is unusable.
struct QuantisedReading
{
    std::vector<int> symbols;
    std::vector<float> confidences;
};

QuantisedReading Quantise(
    const std::vector<float>& frames, int dim, bool equalFrames, halvox::VectorQuantizer* quantizer)
{
    const int count = static_cast<int>(frames.size() / static_cast<std::size_t>(dim));
    QuantisedReading reading;
    if (count < 2 || !quantizer->LoadFrames(frames.data(), count))
        return reading;
    reading.symbols.resize(static_cast<std::size_t>(count));
    reading.confidences.resize(static_cast<std::size_t>(count));
    if (!quantizer->Quantize(reading.symbols.data(), reading.confidences.data()))
        reading.symbols.clear();
    if (equalFrames)
        std::fill(reading.confidences.begin(), reading.confidences.end(), 1.0f);
    return reading;
}

// A left-to-right start for re-estimation: every reading cut into equal parts, one per state, each state's
// outputs counted over its parts (with a little of every symbol, so that no output starts at zero) and its
// stay set from the parts' mean length. Every reading starts in the first state. From the engine's random
// start, re-estimation over many speakers tends to settle with one broad state swallowing most of the word.
halvox::HmmParameters SegmentalStart(const std::vector<std::vector<int>>& readings, int states, int symbols)
{
    constexpr double kSymbolPrior = 0.1;
    halvox::HmmParameters model;
    model.states = states;
    model.symbols = symbols;
    model.pi.assign(static_cast<std::size_t>(states), 0.0);
    model.pi[0] = 1.0;
    model.a.assign(static_cast<std::size_t>(states) * static_cast<std::size_t>(states), 0.0);
    model.b.assign(static_cast<std::size_t>(states) * static_cast<std::size_t>(symbols), kSymbolPrior);
    std::vector<double> frames(static_cast<std::size_t>(states), 0.0);
    for (const std::vector<int>& reading : readings) {
        const std::size_t length = reading.size();
        for (std::size_t t = 0; t < length; ++t) {
            const std::size_t state = t * static_cast<std::size_t>(states) / length;
            model.b[state * static_cast<std::size_t>(symbols) + static_cast<std::size_t>(reading[t])] += 1.0;
            frames[state] += 1.0;
        }
    }
    const double count = static_cast<double>(readings.size());
    for (int i = 0; i < states; ++i) {
        const std::size_t row = static_cast<std::size_t>(i) * static_cast<std::size_t>(states);
        if (i == states - 1) {
            model.a[row + static_cast<std::size_t>(i)] = 1.0;
            continue;
        }
        const double stay = std::max(2.0, frames[static_cast<std::size_t>(i)] / count);
        model.a[row + static_cast<std::size_t>(i)] = 1.0 - 1.0 / stay;
        model.a[row + static_cast<std::size_t>(i) + 1] = 1.0 / stay;
    }
    halvox::NormaliseOutputRows(&model);
    return model;
}

bool HasSize(const Codebook& codebook, int size, const std::vector<float>& frames, std::string& error)
{
    if (codebook.size == size)
        return true;
    error = "too few frames (" + std::to_string(frames.size() / kSpeakerDim) + ") for " + std::to_string(size)
        + " codewords";
    return false;
}

// A model of `codebook` with an HMM trained on the sequences as `recipe` says; an empty mean for a
// recording model, which has none.
bool FillModel(const Sequences& sequences, const Codebook& codebook, const HmmRecipe& recipe, std::vector<float> mean,
    halvox::CodebookModel* model, std::string& error)
{
    *model = halvox::CodebookModel {};
    model->dim = kSpeakerDim;
    model->codebookSize = codebook.size;
    model->states = kHmmStates;
    model->symbols = codebook.size;
    model->mean = std::move(mean);
    model->codewords = codebook.codewords;
    model->weights = codebook.weights;
    if (!TrainWordHmm(sequences, codebook, recipe, &model->pi, &model->a, &model->b)) {
        error = "no reading could train the HMM";
        return false;
    }
    return true;
}

} // namespace

bool TrainWordHmm(const Sequences& sequences, const Codebook& codebook, const HmmRecipe& recipe, std::vector<float>* pi,
    std::vector<float>* a, std::vector<float>* b)
{
    halvox::VectorQuantizer quantizer(codebook.dim);
    quantizer.UseDimensionWeights(recipe.weights);
    if (!quantizer.LoadCodebook(codebook.codewords.data(), codebook.weights.data(), codebook.size))
        return false;
    halvox::DiscreteHmm hmm(kHmmStates, codebook.size);
    std::vector<std::vector<int>> taken; // the symbols of every reading the HMM trains on
    for (const auto& frames : sequences) {
        QuantisedReading r = Quantise(frames, codebook.dim, recipe.equalFrames, &quantizer);
        // an unusable reading is left out
        if (!r.symbols.empty()
            && hmm.AddTrainingSequence(r.symbols.data(), r.confidences.data(), static_cast<int>(r.symbols.size())))
            taken.push_back(std::move(r.symbols));
    }
    if (taken.empty())
        return false;
    if (recipe.start == HmmStart::Segmental) {
        if (!hmm.SetModel(SegmentalStart(taken, kHmmStates, codebook.size)))
            return false;
    } else {
        hmm.InitialiseRandom();
    }
    if (hmm.Train(kHmmConvergence) < 0)
        return false;
    pi->assign(kHmmStates, 0.0f);
    a->assign(kHmmStates * kHmmStates, 0.0f);
    b->assign(static_cast<std::size_t>(kHmmStates) * static_cast<std::size_t>(codebook.size), 0.0f);
    hmm.Export(pi->data(), a->data(), b->data());
    return true;
}

bool BuildBackgroundModel(const Sequences& sequences, int size, halvox::CodebookModel* model, std::string& error)
{
    const std::vector<float> all = Concatenate(sequences);
    const Codebook codebook = BuildLbgCodebook(all, kSpeakerDim, size);
    if (!HasSize(codebook, size, all, error))
        return false;
    return FillModel(sequences, codebook, kBackgroundHmm, MeanVector(all, kSpeakerDim), model, error);
}

bool BuildRecordingModel(const Sequences& sequences, const halvox::CodebookModel& background,
    halvox::CodebookModel* model, std::string& error)
{
    const int size = background.codebookSize;
    const std::vector<float> all = Concatenate(sequences);
    const Codebook described = BuildLbgCodebook(all, kSpeakerDim, size);
    if (!HasSize(described, size, all, error))
        return false;
    const Codebook codebook = CaptureFromRival(all, described, background.codewords,
        halvox::MakeDimensionWeights(kRecordingHmm.weights, kSpeakerDim), kCaptureRounds);
    if (codebook.size != size) {
        error = "the background codebook does not fit the recording frames";
        return false;
    }
    return FillModel(sequences, codebook, kRecordingHmm, {}, model, error);
}

bool BuildVocabularyModel(const std::vector<Sequences>& perWord, const std::vector<std::string>& labels, int size,
    halvox::VocabularyModel* model, std::string& error)
{
    if (perWord.size() != labels.size()) {
        error = "one label per word is needed";
        return false;
    }
    std::vector<float> all;
    for (const auto& word : perWord) {
        const std::vector<float> frames = Concatenate(word);
        all.insert(all.end(), frames.begin(), frames.end());
    }
    const Codebook codebook = BuildLbgCodebook(all, halvox::kPlpVectorSize, size);
    if (codebook.size != size) {
        error = "too few PLP frames for " + std::to_string(size) + " codewords";
        return false;
    }
    *model = halvox::VocabularyModel {};
    model->labels = labels;
    model->dim = halvox::kPlpVectorSize;
    model->codebookSize = size;
    model->states = kHmmStates;
    model->codewords = codebook.codewords;
    model->weights = codebook.weights;
    for (std::size_t w = 0; w < perWord.size(); ++w) {
        halvox::VocabularyWord word;
        if (!TrainWordHmm(perWord[w], codebook, kVocabularyHmm, &word.pi, &word.a, &word.b)) {
            error = "no reading could train the HMM of " + labels[w];
            return false;
        }
        model->words.push_back(std::move(word));
    }
    return true;
}

} // namespace modelbuild
