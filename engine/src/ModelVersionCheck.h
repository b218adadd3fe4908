#pragma once

#include "EngineContext.h"

namespace halvox {

// Reads the header of the user model at the place training writes it and reports its version.
int ModelVersionCheck(EngineContext& context, int* major, int* minor);

} // namespace halvox
