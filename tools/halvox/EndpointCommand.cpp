// halvox endpoint: runs one recording through the engine's endpoint detection, as the voice dialog
// does, and reports what it found.
#include <cstdio>

#include "Commands.h"
#include "HalvoxEngine.h"
#include "ToolSupport.h"

namespace halvox::tool {

int RunEndpoint(const Arguments& args)
{
    bool enrol = false;
    bool trim = false;
    std::vector<std::string> files;
    std::string error;
    if (!tools::ArgumentParser().Switch("enrol", &enrol).Switch("trim", &trim).Operands(&files).Parse(args, error))
        return UsageError(error);
    if (files.size() != 1)
        return UsageError("endpoint needs one WAV file");
    std::vector<int16_t> samples;
    if (!LoadRecording(files[0], &samples))
        return kExitError;

    if (SVE_Initialize() == nullptr)
        return UsageError("out of memory");
    SVE_PutMode(enrol ? 1 : 2);
    const int taken = SVE_GetEndpointShort(samples.data(), static_cast<int>(samples.size()), trim);
    const int64_t packed = SVE_GetEndpointValue();
    const int start = static_cast<int32_t>(packed & 0xffffffff);
    const int end = static_cast<int32_t>(static_cast<uint64_t>(packed) >> 32);
    const double secondsPerFrame = static_cast<double>(SVE_GetShiftValue()) / 11025.0;

    std::printf("result: %d\n", taken);
    std::printf("error: %d\n", SVE_GetErrorNumber());
    std::printf("start frame: %d\n", start);
    std::printf("end frame: %d\n", end);
    std::printf("span: %.3f s - %.3f s (%.3f s)\n", start * secondsPerFrame, end * secondsPerFrame,
        (end - start) * secondsPerFrame);
    if (SVE_GetLabelString()[0] != '\0')
        std::printf("label: %s\n", SVE_GetLabelString());
    SVE_DestructMemories();
    SVE_Destruct();
    return taken ? kExitOk : kExitDenied;
}

} // namespace halvox::tool
