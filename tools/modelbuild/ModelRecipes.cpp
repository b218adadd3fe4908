#include "ModelRecipes.h"

#include <cstddef>

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

bool AddQuantisedSequence(const std::vector<float>& frames, const Codebook& codebook,
    halvox::VectorQuantizer* quantizer, halvox::DiscreteHmm* hmm)
{
    const int count = static_cast<int>(frames.size() / static_cast<std::size_t>(codebook.dim));
    if (count < 2 || !quantizer->LoadFrames(frames.data(), count))
        return false;
    std::vector<int> symbols(static_cast<std::size_t>(count));
    std::vector<float> confidences(static_cast<std::size_t>(count));
    return quantizer->Quantize(symbols.data(), confidences.data())
        && hmm->AddTrainingSequence(symbols.data(), confidences.data(), count);
}

} // namespace

bool TrainWordHmm(const Sequences& sequences, const Codebook& codebook, halvox::DimensionWeightKind weights,
    std::vector<float>* pi, std::vector<float>* a, std::vector<float>* b)
{
    halvox::VectorQuantizer quantizer(codebook.dim);
    quantizer.UseDimensionWeights(weights);
    if (!quantizer.LoadCodebook(codebook.codewords.data(), codebook.weights.data(), codebook.size))
        return false;
    halvox::DiscreteHmm hmm(kHmmStates, codebook.size);
    for (const auto& frames : sequences)
        (void)AddQuantisedSequence(frames, codebook, &quantizer, &hmm); // an unusable reading is left out
    if (hmm.SequenceCount() == 0)
        return false;
    hmm.InitialiseRandom();
    if (hmm.Train(kHmmConvergence) < 0)
        return false;
    pi->assign(kHmmStates, 0.0f);
    a->assign(kHmmStates * kHmmStates, 0.0f);
    b->assign(static_cast<std::size_t>(kHmmStates) * static_cast<std::size_t>(codebook.size), 0.0f);
    hmm.Export(pi->data(), a->data(), b->data());
    return true;
}

bool BuildCodebookModel(
    const Sequences& sequences, int size, bool withMean, halvox::CodebookModel* model, std::string* error)
{
    const std::vector<float> all = Concatenate(sequences);
    const Codebook codebook = BuildLbgCodebook(all, kSpeakerDim, size);
    if (codebook.size != size) {
        *error = "too few frames (" + std::to_string(all.size() / kSpeakerDim) + ") for " + std::to_string(size)
            + " codewords";
        return false;
    }
    *model = halvox::CodebookModel {};
    model->dim = kSpeakerDim;
    model->codebookSize = size;
    model->states = kHmmStates;
    model->symbols = size;
    if (withMean)
        model->mean = MeanVector(all, kSpeakerDim);
    model->codewords = codebook.codewords;
    model->weights = codebook.weights;
    const auto weights = withMean ? halvox::DimensionWeightKind::Default : halvox::DimensionWeightKind::RecordingCheck;
    if (!TrainWordHmm(sequences, codebook, weights, &model->pi, &model->a, &model->b)) {
        *error = "no reading could train the HMM";
        return false;
    }
    return true;
}

bool BuildVocabularyModel(const std::vector<Sequences>& perWord, const std::vector<std::string>& labels, int size,
    halvox::VocabularyModel* model, std::string* error)
{
    if (perWord.size() != labels.size()) {
        *error = "one label per word is needed";
        return false;
    }
    std::vector<float> all;
    for (const auto& word : perWord) {
        const std::vector<float> frames = Concatenate(word);
        all.insert(all.end(), frames.begin(), frames.end());
    }
    const Codebook codebook = BuildLbgCodebook(all, halvox::kPlpVectorSize, size);
    if (codebook.size != size) {
        *error = "too few PLP frames for " + std::to_string(size) + " codewords";
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
        if (!TrainWordHmm(perWord[w], codebook, halvox::DimensionWeightKind::Unit, &word.pi, &word.a, &word.b)) {
            *error = "no reading could train the HMM of " + labels[w];
            return false;
        }
        model->words.push_back(std::move(word));
    }
    return true;
}

} // namespace modelbuild
