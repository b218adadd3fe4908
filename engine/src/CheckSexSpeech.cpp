#include "CheckSexSpeech.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "DtwMatcher.h"
#include "EngineTexts.h"
#include "GenderDecision.h"
#include "LpcCepstrumFrontEnd.h"
#include "WordCheck.h"
#include "WorkMemoryAccess.h"

namespace halvox {

namespace {

void RefuseReading(EngineContext& context, const std::string& reason)
{
    SetLabel(context, texts::kWorkMemoryError, reason);
}

// The speaker features of the detected word into the slot; false (label set, slot emptied) when the
// reading gives no frame.
bool ExtractFeatures(EngineContext& context, const WorkMemory& work, const short* samples, int count, FeatureSlot& slot)
{
    slot.frameCount = 0;
    std::fill(slot.auxiliary.begin(), slot.auxiliary.end(), 0.0f);
    if (count < 0 || (samples == nullptr && count > 0)) {
        RefuseReading(context, "no samples given");
        return false;
    }
    const LpcCepstrumFrontEnd frontEnd(
        LpcCepstrumParams {context.windowLength, context.frameShift, context.lpcOrder, context.cepstralOrder});
    const int dim = work.shape.featureDim;
    if (!frontEnd.IsValid() || frontEnd.FeatureDim() != dim) {
        RefuseReading(context, "analysis parameters do not match the feature dimension");
        return false;
    }
    const int room = std::min(work.slotCapacity, static_cast<int>(slot.features.size() / static_cast<size_t>(dim)));
    const int written = frontEnd.Compute(samples, count, context.startFrame, context.endFrame, slot.features.data(),
        std::min(room, static_cast<int>(slot.symbols.size())));
    if (written < 1) {
        RefuseReading(context, "no speech frames between the endpoints");
        return false;
    }
    slot.frameCount = written;
    return true;
}

bool RepeatsFirstReading(EngineContext& context, const WorkMemory& work, int index)
{
    const FeatureSlot& first = work.slots[0];
    const FeatureSlot& later = work.slots[static_cast<size_t>(index)];
    const double distance
        = DtwMatcher(work.shape.featureDim)
              .Distance(first.features.data(), first.frameCount, later.features.data(), later.frameCount);
    context.decisions.sameWordDistance = distance;
    if (distance > static_cast<double>(context.sameWordThreshold)) {
        std::snprintf(context.labelText, sizeof context.labelText, texts::kDifferentFromFirst, distance);
        return false;
    }
    return true;
}

int AnalyseReading(EngineContext& context, short* samples, int count, int index)
{
    context.labelText[0] = '\0';
    context.statusText[0] = '\0';
    context.decisions.gender.reset();
    context.decisions.sameWordDistance.reset();
    context.decisions.wordRecognised.reset();
    if (index == 0) {
        context.maleCount = 0;
        context.femaleCount = 0;
    }
    WorkMemory* work = UsableWorkMemory(context);
    if (work == nullptr)
        return 0;
    if (index < 0 || index >= static_cast<int>(work->slots.size())) {
        RefuseReading(context,
            "repetition index " + std::to_string(index) + " outside 0 ... "
                + std::to_string(static_cast<int>(work->slots.size()) - 1));
        return 0;
    }
    FeatureSlot& slot = work->slots[static_cast<size_t>(index)];
    if (!ExtractFeatures(context, *work, samples, count, slot))
        return 0;

    context.sex = DecideGender(context, slot);
    if (context.sex == -1)
        return 0;

    if (context.IsEnrolment()) {
        if (index > 0 && !RepeatsFirstReading(context, *work, index))
            return 0;
        if (index == 0 && context.wordCheck != 0) {
            context.decisions.wordRecognised = CheckVocabularyWord(context, *work, context.sex);
            if (!*context.decisions.wordRecognised) {
                CopyText(context.labelText, texts::kDifferentPassword);
                return 0;
            }
        }
    }
    if (context.sex == 0)
        ++context.maleCount;
    else
        ++context.femaleCount;
    return 1;
}

} // namespace

int CheckSexSpeech(EngineContext& context, short* samples, int count, int index)
{
    try {
        return AnalyseReading(context, samples, count, index);
    } catch (const std::exception& error) {
        RefuseReading(context, error.what());
    } catch (...) {
        RefuseReading(context, "unexpected failure");
    }
    return 0;
}

} // namespace halvox
