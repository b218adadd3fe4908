#pragma once

#include "EngineContext.h"

namespace halvox {

// One recording through the pre-filter and endpoint detection into the work memory's speech buffer,
// with the result left in the context (start/end frame, error number).
int GetEndpointShort(EngineContext& context, short* samples, int count, int trimEnd);

} // namespace halvox
