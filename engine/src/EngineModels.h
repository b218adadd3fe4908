#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DiscreteHmm.h"
#include "EngineContext.h"
#include "ModelFiles.h"

namespace halvox {

// Reads a background (withMean) or recording model with the context's sizes (featureDim,
// codebookSize, hmmStates, hmmSymbols). On failure the label names the path and false comes back.
bool ReadContextCodebookModel(EngineContext& context, const std::string& path, bool withMean, CodebookModel* model);

// Reads the user model at `path`; the label carries the open or format error line on failure.
bool ReadContextUserModel(EngineContext& context, const std::string& path, UserModel* model);

// Two codebooks one after the other, as one symbol space: the first's symbols come first.
struct CombinedCodebook
{
    int size = 0;
    std::vector<float> codewords;
    std::vector<float> weights;
};
CombinedCodebook CombineCodebooks(const std::vector<float>& firstCodewords, const std::vector<float>& firstWeights,
    const std::vector<float>& secondCodewords, const std::vector<float>& secondWeights, int dim);

// Score of a symbol sequence under a stored model placed in a space of `totalSymbols` symbols (its own
// symbols on `side`); empty when the model or the sequence does not fit.
std::optional<double> ScoreStoredModel(const std::vector<float>& pi, const std::vector<float>& a,
    const std::vector<float>& b, int states, int ownSymbols, int totalSymbols, SymbolSide side, const int* symbols,
    int length);

} // namespace halvox
