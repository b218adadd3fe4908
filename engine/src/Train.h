#pragma once

#include "EngineContext.h"

namespace halvox {

/**
 * Trains the user model of the context's user and word from feature slots 0 ... maxRepeat - 1 and writes it
 * to the user model path. Picks the background model by the enrolment's gender counts (male on a tie),
 * sets the context's sex and trainedRatio, and leaves the background and user models in the work memory.
 *
 * @return 1 when the model was written; 0 with a labelText line when the work memory or a slot is not
 *         usable, the background model cannot be read, the readings give no model, or the file cannot be
 *         created (the trained model then stays in memory only).
 */
int Train(EngineContext& context);

} // namespace halvox
