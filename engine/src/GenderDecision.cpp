#include "GenderDecision.h"

#include <cstdio>

#include "EngineModels.h"
#include "EnginePaths.h"
#include "EngineTexts.h"
#include "VectorQuantizer.h"

namespace halvox {

namespace {

bool FitsSlot(const FeatureSlot& slot, int dim)
{
    return dim > 0 && slot.frameCount > 0 && slot.features.size() >= static_cast<size_t>(slot.frameCount) * dim
        && slot.symbols.size() >= static_cast<size_t>(slot.frameCount)
        && slot.confidences.size() >= static_cast<size_t>(slot.frameCount);
}

bool QuantizeSlot(const CombinedCodebook& codebook, int dim, FeatureSlot& slot)
{
    VectorQuantizer quantizer(dim);
    quantizer.UseDimensionWeights(DimensionWeightKind::Default);
    return quantizer.LoadFrames(slot.features.data(), slot.frameCount)
        && quantizer.LoadCodebook(codebook.codewords.data(), codebook.weights.data(), codebook.size)
        && quantizer.Quantize(slot.symbols.data(), slot.confidences.data());
}

} // namespace

int GenderFromScores(const GenderScores& scores)
{
    return scores.male < scores.female ? 1 : 0;
}

std::string GenderStatusLine(int sex, const GenderScores& scores)
{
    char line[kTextSize];
    std::snprintf(line, sizeof line, sex == 1 ? "[Female] : %lf (%lf/%lf)" : "[Male] : %lf (%lf/%lf)",
        scores.male / scores.female, scores.male, scores.female);
    return line;
}

std::optional<GenderScores> ScoreGender(
    const CodebookModel& male, const CodebookModel& female, int dim, FeatureSlot& slot)
{
    const int size = female.codebookSize;
    // Each model's outputs must cover exactly its own half of the combined symbol space.
    if (size < 1 || male.codebookSize != size || male.symbols != size || female.symbols != size
        || male.states != female.states || male.dim != dim || female.dim != dim || !FitsSlot(slot, dim))
        return std::nullopt;
    const CombinedCodebook combined
        = CombineCodebooks(female.codewords, female.weights, male.codewords, male.weights, dim);
    if (combined.size != 2 * size || !QuantizeSlot(combined, dim, slot))
        return std::nullopt;
    const auto maleScore = ScoreStoredModel(male.pi, male.a, male.b, male.states, size, combined.size,
        SymbolSide::Upper, slot.symbols.data(), slot.frameCount);
    const auto femaleScore = ScoreStoredModel(female.pi, female.a, female.b, female.states, size, combined.size,
        SymbolSide::Lower, slot.symbols.data(), slot.frameCount);
    if (!maleScore || !femaleScore)
        return std::nullopt;
    return GenderScores {*maleScore, *femaleScore};
}

int DecideGender(EngineContext& context, FeatureSlot& slot)
{
    context.labelText[0] = '\0';
    context.statusText[0] = '\0';
    context.decisions.gender.reset();
    CodebookModel male;
    CodebookModel female;
    const std::string malePath = BackgroundModelPath(context.folder, context.codebookSize, context.wordCode, true);
    if (!ReadContextCodebookModel(context, malePath, true, &male))
        return -1;
    const std::string femalePath = BackgroundModelPath(context.folder, context.codebookSize, context.wordCode, false);
    if (!ReadContextCodebookModel(context, femalePath, true, &female))
        return -1;
    const auto scores = ScoreGender(male, female, context.featureDim, slot);
    if (!scores) {
        SetLabel(context, texts::kWorkMemoryError, "the reading cannot be scored with the background models");
        return -1;
    }
    const int sex = GenderFromScores(*scores);
    context.decisions.gender = GenderOutcome {sex, *scores};
    CopyText(context.statusText, GenderStatusLine(sex, *scores).c_str());
    return sex;
}

} // namespace halvox
