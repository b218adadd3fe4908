#pragma once

#include "EngineContext.h"
#include "LocalClock.h"

namespace halvox {

/**
 * Tells a live reading (feature slot 0, as extracted) from one replayed through a loudspeaker by scoring it
 * under the background and the recording model of the context's gender (female whenever sex is not 0), and
 * leaves the dated Live or Record line in statusText and its figures in decisions.liveCheck. Slot 0's features are left
 * unchanged; its symbols are overwritten.
 *
 * @param clock supplies the local date and time of the line.
 * @return 1 live; 0 recording, or failed with a labelText line, an empty statusText and an empty
 *         decisions.liveCheck.
 */
int VCopy(EngineContext& context, const LocalClock& clock);

/** As above, dated with the machine's local time. */
int VCopy(EngineContext& context);

} // namespace halvox
