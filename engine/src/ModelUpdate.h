#pragma once

#include <string>

#include "EngineContext.h"
#include "ModelFiles.h"

namespace halvox {

/** The three weights of a model update: starting model, accepted reading, reading under the new codebook. */
struct UpdateWeights
{
    double start = 0.8;
    double reading = 0.1;
    double adapted = 0.1;
};

/** The weights scaled to sum 1 unless they already do (compared exactly in double). */
UpdateWeights NormalisedUpdateWeights(const UpdateWeights& weights);

/**
 * Adapts the user model to the accepted reading in slot 0 (already moved onto the background mean) and
 * rewrites it at `userModelPath`: the codebook moves towards the reading, the HMM is re-estimated as a
 * weighted blend of the starting model and the reading's two quantisations (one progress line per pass to
 * the log sink, LogLine), and the discrimination values are recomputed over five neighbours. The update weights
 * in the context are normalised in place, for good. Slot 1 receives the reading's symbols under the new
 * codebook when it exists.
 *
 * @param current    the user model as verification read it.
 * @param background the background model verification compared against.
 * @return 1 when the model was rewritten; 0 with a labelText line otherwise (the model file unchanged).
 */
int UpdateUserModel(EngineContext& context, WorkMemory& work, const UserModel& current, const CodebookModel& background,
    const std::string& userModelPath);

} // namespace halvox
