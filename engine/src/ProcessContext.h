#pragma once

#include "EngineContext.h"

#include <platform/BoundaryGuard.h>

namespace halvox {

// The one context of the process, null before SVE_Initialize and after SVE_Destruct.
EngineContext* CurrentContext();
EngineContext* ReplaceContext(EngineContext* fresh); // returns the previous one
void ReleaseContext();

// Runs an export's body against the process context, through the suite's boundary guard. Without a context,
// or when the body throws, the export's failure value comes back; a throw also leaves its reason in labelText,
// where a caller of the engine looks for the cause of a failure.
template<typename Result, typename Body> Result WithContext(Result failure, Body&& body) noexcept
{
    EngineContext* context = CurrentContext();
    if (context == nullptr)
        return failure;
    return platform::GuardedOr([&]() -> Result { return body(*context); },
        [&]() -> Result {
            CopyText(context->labelText, platform::CurrentExceptionText());
            return failure;
        });
}

template<typename Body> void WithContext(Body&& body) noexcept
{
    EngineContext* context = CurrentContext();
    if (context == nullptr)
        return;
    platform::GuardedOr(
        [&] { body(*context); }, [&] { CopyText(context->labelText, platform::CurrentExceptionText()); });
}

} // namespace halvox
