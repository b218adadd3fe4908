#include "ProcessContext.h"

namespace halvox {

namespace {
EngineContext* g_context = nullptr;
}

EngineContext* CurrentContext()
{
    return g_context;
}

EngineContext* ReplaceContext(EngineContext* fresh)
{
    EngineContext* previous = g_context;
    g_context = fresh;
    return previous;
}

void ReleaseContext()
{
    delete g_context;
    g_context = nullptr;
}

} // namespace halvox
