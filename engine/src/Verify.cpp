#include "Verify.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "DecisionLines.h"
#include "EngineModels.h"
#include "EnginePaths.h"
#include "EngineTexts.h"
#include "FeatureSlots.h"
#include "ModelUpdate.h"
#include "UserModelOutput.h"
#include "WorkMemoryAccess.h"

namespace halvox {

namespace {

struct ReadingScores
{
    double user = 0.0; ///< X
    double background = 0.0; ///< Y
};

// A user model is only usable when it was made with the sizes this context analyses with.
bool ReadFittingUserModel(EngineContext& context, const std::string& path, UserModel* model)
{
    if (!ReadContextUserModel(context, path, model))
        return false;
    if (model->dim != context.featureDim || model->states != context.hmmStates) {
        SetLabel(context, texts::kFileFormatError, path);
        return false;
    }
    return true;
}

std::optional<ReadingScores> ScoreReading(
    FeatureSlot& slot, int dim, const UserModel& user, const CodebookModel& background)
{
    const CombinedCodebook combined
        = CombineCodebooks(background.codewords, background.weights, user.codewords, user.weights, dim);
    if (!QuantizeSlot(slot, dim, combined.codewords, combined.weights, user.dimensionWeights))
        return std::nullopt;
    const auto x = ScoreStoredModel(user.pi, user.a, user.b, user.states, user.codebookSize, combined.size,
        SymbolSide::Upper, slot.symbols.data(), slot.frameCount);
    const auto y = ScoreStoredModel(background.pi, background.a, background.b, background.states, background.symbols,
        combined.size, SymbolSide::Lower, slot.symbols.data(), slot.frameCount);
    if (!x || !y)
        return std::nullopt;
    return ReadingScores {*x, *y};
}

void WriteStatus(EngineContext& context, const std::string& line)
{
    std::memset(context.statusText, 0, sizeof context.statusText);
    CopyText(context.statusText, line.c_str());
}

} // namespace

int Verify(EngineContext& context)
{
    context.modelUpdated = 0;
    context.decisions.verification.reset();
    std::memset(context.labelText, 0, sizeof context.labelText);
    WorkMemory* work = UsableWorkMemory(context);
    if (work == nullptr || !SlotsHoldFrames(context, *work, 1))
        return 0;
    const std::string userPath = ContextUserModelPath(context);
    UserModel user;
    if (!ReadFittingUserModel(context, userPath, &user))
        return 0;
    const std::string backgroundPath
        = BackgroundModelPathForSex(context.folder, context.codebookSize, context.wordCode, context.sex);
    CodebookModel background;
    if (!ReadContextCodebookModel(context, backgroundPath, true, &background))
        return 0;
    context.trainedRatio = user.trainedRatio;

    const int dim = context.featureDim;
    FeatureSlot& slot = work->slots.front();
    ShiftFrames(slot.features.data(), slot.frameCount, dim, FrameMean(slot.features.data(), slot.frameCount, dim),
        background.mean.data());
    const std::optional<ReadingScores> scores = ScoreReading(slot, dim, user, background);
    // Without a path through the user model there is nothing to decide on, and no line is written.
    if (!scores || std::isnan(scores->user) || !(scores->user > -DBL_MAX))
        return 0;

    const VerificationDecision decision
        = DecideVerification(scores->user, scores->background, user.trainedRatio, context.securityMargin);
    context.decisions.verification = decision;
    WriteStatus(context, VerificationLine(decision, backgroundPath));
    if (!decision.accepted)
        return 0;
    if (context.adaptOnAccept != 0)
        context.modelUpdated = UpdateUserModel(context, *work, user, background, userPath);
    return 1;
}

} // namespace halvox
