#pragma once

#include "EngineContext.h"

namespace halvox {

// The one context of the process, null before SVE_Initialize and after SVE_Destruct.
EngineContext* CurrentContext();
EngineContext* ReplaceContext(EngineContext* fresh); // returns the previous one
void ReleaseContext();

// Runs an export's body against the process context. Without a context, or when the body throws,
// the export's failure value comes back: no exception ever leaves the library.
template<typename Result, typename Body>
Result WithContext(Result failure, Body&& body) noexcept
{
    EngineContext* context = CurrentContext();
    if (context == nullptr)
        return failure;
    try {
        return body(*context);
    } catch (...) {
        return failure;
    }
}

template<typename Body>
void WithContext(Body&& body) noexcept
{
    EngineContext* context = CurrentContext();
    if (context == nullptr)
        return;
    try {
        body(*context);
    } catch (...) {
    }
}

} // namespace halvox
