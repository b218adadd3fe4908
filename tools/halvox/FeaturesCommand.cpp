// halvox features: the LPC-cepstral vectors of the word that endpoint detection finds, one line per
// frame, computed from the pre-filtered recording exactly as the engine's per-reading analysis does.
#include <cstdio>

#include "Commands.h"
#include "EngineContext.h"
#include "HalvoxEngine.h"
#include "LpcCepstrumFrontEnd.h"
#include "ProcessContext.h"
#include "ToolSupport.h"

namespace halvox::tool {

int RunFeatures(const Arguments& args)
{
    std::vector<std::string> files;
    std::string error;
    if (!tools::ArgumentParser().Operands(&files).Parse(args, error))
        return UsageError(error);
    if (files.size() != 1)
        return UsageError("features needs one WAV file");
    std::vector<int16_t> samples;
    if (!LoadRecording(files[0], &samples))
        return kExitError;

    if (SVE_Initialize() == nullptr)
        return UsageError("out of memory");
    const int count = static_cast<int>(samples.size());
    if (!SVE_GetEndpointShort(samples.data(), count, 0)) {
        std::fprintf(stderr, "halvox: no word found (error %d)\n", SVE_GetErrorNumber());
        SVE_Destruct();
        return kExitDenied;
    }
    const EngineContext& context = *CurrentContext();
    LpcCepstrumParams params;
    params.windowLength = context.windowLength;
    params.frameShift = context.frameShift;
    params.lpcOrder = context.lpcOrder;
    params.cepstralOrder = context.cepstralOrder;
    LpcCepstrumFrontEnd frontEnd(params);
    const int frames = context.endFrame - context.startFrame;
    const int dim = frontEnd.FeatureDim();
    std::vector<float> features(static_cast<size_t>(frames) * dim);
    const int written
        = frontEnd.Compute(samples.data(), count, context.startFrame, context.endFrame, features.data(), frames);

    std::printf("# frames %d..%d, %d vectors of %d values\n", context.startFrame, context.endFrame - 1, written, dim);
    for (int f = 0; f < written; ++f) {
        std::printf("%d", context.startFrame + f);
        for (int d = 0; d < dim; ++d)
            std::printf(" %.6f", features[static_cast<size_t>(f) * dim + d]);
        std::printf("\n");
    }
    SVE_DestructMemories();
    SVE_Destruct();
    return kExitOk;
}

} // namespace halvox::tool
