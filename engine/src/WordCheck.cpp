#include "WordCheck.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "EngineModels.h"
#include "EnginePaths.h"
#include "EngineTexts.h"
#include "PlpFrontEnd.h"
#include "VectorQuantizer.h"

namespace halvox {

namespace {

constexpr const char* kVocabularyCodes[] = {"aaj", "abj", "acj", "adj", "aej", "afj"};

bool QuantizePlp(
    const VocabularyModel& vocabulary, const std::vector<float>& features, int frames, std::vector<int>* symbols)
{
    VectorQuantizer quantizer(kPlpVectorSize);
    quantizer.UseDimensionWeights(DimensionWeightKind::Unit);
    std::vector<float> confidences(static_cast<size_t>(frames));
    symbols->assign(static_cast<size_t>(frames), 0);
    return quantizer.LoadFrames(features.data(), frames)
        && quantizer.LoadCodebook(vocabulary.codewords.data(), vocabulary.weights.data(), vocabulary.codebookSize)
        && quantizer.Quantize(symbols->data(), confidences.data());
}

} // namespace

int VocabularyIndexOfCode(const char* code)
{
    if (code == nullptr)
        return -1;
    for (int index = 0; index < static_cast<int>(std::size(kVocabularyCodes)); ++index)
        if (std::strcmp(code, kVocabularyCodes[index]) == 0)
            return index;
    return -1;
}

std::optional<int> RecogniseWord(const VocabularyModel& vocabulary, const int16_t* speech, int speechCount)
{
    if (vocabulary.words.empty())
        return -1;
    if (vocabulary.dim != kPlpVectorSize)
        return std::nullopt;
    const std::vector<float> features = ComputePlpFeatures(speech, speechCount);
    const int frames = static_cast<int>(features.size() / kPlpVectorSize);
    std::vector<int> symbols;
    if (frames < 1 || !QuantizePlp(vocabulary, features, frames, &symbols))
        return std::nullopt;

    std::optional<int> best;
    double bestScore = 0.0;
    for (int word = 0; word < static_cast<int>(vocabulary.words.size()); ++word) {
        const VocabularyWord& model = vocabulary.words[static_cast<size_t>(word)];
        const auto score = ScoreStoredModel(model.pi, model.a, model.b, vocabulary.states, vocabulary.codebookSize,
            vocabulary.codebookSize, SymbolSide::All, symbols.data(), frames);
        if (!score || std::isnan(*score))
            continue;
        if (!best || *score > bestScore) {
            best = word;
            bestScore = *score;
        }
    }
    return best;
}

bool WordMatchesCode(std::optional<int> recognised, const char* code)
{
    if (!recognised)
        return false;
    return *recognised == VocabularyIndexOfCode(code);
}

bool CheckVocabularyWord(EngineContext& context, const WorkMemory& work, int sex)
{
    context.labelText[0] = '\0';
    if (sex != 0 && sex != 1)
        return false;
    const std::string path = VocabularyModelPath(context.folder, sex == 0);
    VocabularyModel vocabulary;
    if (ReadVocabularyModel(path, &vocabulary) != ModelFileError::None) {
        SetLabel(context, texts::kCannotOpenFile, path);
        return false;
    }
    const int speechCount = std::clamp(work.speechCount, 0, static_cast<int>(work.speech.size()));
    return WordMatchesCode(RecogniseWord(vocabulary, work.speech.data(), speechCount), context.wordCode);
}

} // namespace halvox
