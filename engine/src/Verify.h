#pragma once

#include "EngineContext.h"

namespace halvox {

/**
 * Judges the reading in feature slot 0 against the user model of the context's user and word and the
 * background model of the reading's gender (the context's sex), leaves the accept or deny line in
 * statusText and its figures in decisions.verification and, after an acceptance with adaptOnAccept set, updates the
 * user model (modelUpdated tells whether it was rewritten). Slot 0 is moved onto the background mean in place.
 *
 * @return 1 accepted; 0 denied, or failed with a labelText line (statusText then stays as it was and
 *         decisions.verification is empty).
 */
int Verify(EngineContext& context);

} // namespace halvox
