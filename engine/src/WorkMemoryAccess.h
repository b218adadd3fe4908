#pragma once

#include "EngineContext.h"

namespace halvox {

// Creates the work memory from the parameters in force when it is absent. Returns false (label text
// set) when it cannot be made.
bool EnsureWorkMemory(EngineContext& context);

// The work memory when it exists and still fits the current parameters; otherwise null with the
// label text set. A caller that changed a sizing parameter without releasing the work memory gets a
// refusal here instead of reads and writes past the buffers.
WorkMemory* UsableWorkMemory(EngineContext& context);

} // namespace halvox
