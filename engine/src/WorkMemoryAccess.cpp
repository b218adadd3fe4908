#include "WorkMemoryAccess.h"

#include "EngineTexts.h"

namespace halvox {

bool EnsureWorkMemory(EngineContext& context)
{
    if (context.work)
        return true;
    std::string error;
    context.work = CreateWorkMemory(context.CurrentShape(), error);
    if (!context.work) {
        SetLabel(context, texts::kWorkMemoryError, error);
        return false;
    }
    context.workMemoryReady = 1;
    return true;
}

WorkMemory* UsableWorkMemory(EngineContext& context)
{
    if (!context.work) {
        SetLabel(context, texts::kWorkMemoryError, "no recording analysed yet");
        return nullptr;
    }
    if (!(context.work->shape == context.CurrentShape())) {
        SetLabel(context, texts::kWorkMemoryError, "parameters changed while the work memory exists");
        return nullptr;
    }
    return context.work.get();
}

} // namespace halvox
