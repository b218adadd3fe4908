#include "VCopy.h"

#include <cstring>
#include <string>

#include "DecisionLines.h"
#include "EngineModels.h"
#include "EnginePaths.h"
#include "FeatureSlots.h"
#include "VectorQuantizer.h"
#include "WorkMemoryAccess.h"

namespace halvox {

int VCopy(EngineContext& context, const LocalClock& clock)
{
    std::memset(context.labelText, 0, sizeof context.labelText);
    std::memset(context.statusText, 0, sizeof context.statusText);
    context.decisions.liveCheck.reset();
    const LocalDateTime now = clock ? clock() : SystemLocalTime();
    WorkMemory* work = UsableWorkMemory(context);
    if (work == nullptr || !SlotsHoldFrames(context, *work, 1))
        return 0;
    const bool male = context.sex == 0;
    const std::string folder = context.folder;
    const std::string code = context.wordCode;
    CodebookModel background;
    CodebookModel recording;
    if (!ReadContextCodebookModel(
            context, BackgroundModelPath(folder, context.codebookSize, code, male), true, &background)
        || !ReadContextCodebookModel(
            context, RecordingModelPath(folder, context.codebookSize, code, male), false, &recording))
        return 0;

    const int dim = context.featureDim;
    FeatureSlot& slot = work->slots.front();
    const CombinedCodebook combined
        = CombineCodebooks(recording.codewords, recording.weights, background.codewords, background.weights, dim);
    if (!QuantizeSlot(slot, dim, combined.codewords, combined.weights,
            MakeDimensionWeights(DimensionWeightKind::RecordingCheck, dim)))
        return 0;
    const auto q = ScoreStoredModel(background.pi, background.a, background.b, background.states, background.symbols,
        combined.size, SymbolSide::Upper, slot.symbols.data(), slot.frameCount);
    const auto s = ScoreStoredModel(recording.pi, recording.a, recording.b, recording.states, recording.symbols,
        combined.size, SymbolSide::Lower, slot.symbols.data(), slot.frameCount);
    if (!q || !s)
        return 0;

    const LiveCheckDecision decision = DecideLiveCheck(*q, *s, context.copyFactor);
    context.decisions.liveCheck = decision;
    const std::string line
        = LiveCheckLine(decision, FormatShortDate(now), FormatShortTime(now), std::string(context.userId));
    CopyText(context.statusText, line.c_str());
    return decision.live ? 1 : 0;
}

int VCopy(EngineContext& context)
{
    return VCopy(context, SystemLocalTime);
}

} // namespace halvox
