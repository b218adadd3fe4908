#include "EngineModels.h"

#include "EngineTexts.h"

namespace halvox {

bool ReadContextCodebookModel(EngineContext& context, const std::string& path, bool withMean, CodebookModel* model)
{
    if (ReadCodebookModel(
            path, withMean, context.featureDim, context.codebookSize, context.hmmStates, context.hmmSymbols, model)
        != ModelFileError::None) {
        SetLabel(context, texts::kCannotOpenFile, path);
        return false;
    }
    return true;
}

bool ReadContextUserModel(EngineContext& context, const std::string& path, UserModel* model)
{
    switch (ReadUserModel(path, model)) {
    case ModelFileError::None:
        return true;
    case ModelFileError::FormatError:
        SetLabel(context, texts::kFileFormatError, path);
        return false;
    default:
        SetLabel(context, texts::kCannotOpenFile, path);
        return false;
    }
}

CombinedCodebook CombineCodebooks(const std::vector<float>& firstCodewords, const std::vector<float>& firstWeights,
    const std::vector<float>& secondCodewords, const std::vector<float>& secondWeights, int dim)
{
    CombinedCodebook combined;
    combined.codewords = firstCodewords;
    combined.codewords.insert(combined.codewords.end(), secondCodewords.begin(), secondCodewords.end());
    combined.weights = firstWeights;
    combined.weights.insert(combined.weights.end(), secondWeights.begin(), secondWeights.end());
    combined.size = static_cast<int>(combined.weights.size());
    if (dim <= 0 || combined.codewords.size() != static_cast<size_t>(combined.size) * dim)
        combined.size = 0; // inconsistent inputs give an empty codebook, which the quantiser refuses
    return combined;
}

std::optional<double> ScoreStoredModel(const std::vector<float>& pi, const std::vector<float>& a,
    const std::vector<float>& b, int states, int ownSymbols, int totalSymbols, SymbolSide side, const int* symbols,
    int length)
{
    if (states <= 0 || ownSymbols <= 0 || pi.size() != static_cast<size_t>(states)
        || a.size() != static_cast<size_t>(states) * states || b.size() != static_cast<size_t>(states) * ownSymbols)
        return std::nullopt;
    DiscreteHmm hmm(states, totalSymbols);
    if (!hmm.LoadStoredModel(pi.data(), a.data(), b.data(), ownSymbols, side))
        return std::nullopt;
    return hmm.Score(symbols, length);
}

} // namespace halvox
