#pragma once

#include <optional>
#include <string>

#include "EngineContext.h"
#include "ModelFiles.h"
#include "OperationDecisions.h"

namespace halvox {

/** 1 (female) when the male score is below the female one, else 0 (male). */
int GenderFromScores(const GenderScores& scores);

/** The status line of a decision: "[Female] : X/Y (X/Y)" or "[Male] : ..." with X / Y, X and Y. */
std::string GenderStatusLine(int sex, const GenderScores& scores);

/**
 * Quantises the slot's frames with the combined codebook (female codewords first, then male) under the
 * default dimension weights, leaving its symbols and confidences in the slot, and scores them with the
 * male HMM in the upper half and the female HMM in the lower half of that symbol space.
 * Empty (the slot's symbols may be partly written) when the models or the slot do not fit together.
 */
std::optional<GenderScores> ScoreGender(
    const CodebookModel& male, const CodebookModel& female, int dim, FeatureSlot& slot);

/**
 * The gender decision for slot `index` of the work memory: reads the word's two background models,
 * scores the slot and writes the status line and decisions.gender. Clears labelText, statusText and
 * decisions.gender first.
 * @return 0 male, 1 female, -1 when a background model cannot be read (the male path is reported
 *         first) or the slot cannot be scored (labelText set in both cases).
 */
int DecideGender(EngineContext& context, FeatureSlot& slot);

} // namespace halvox
