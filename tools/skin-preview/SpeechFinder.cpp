#include "SpeechFinder.h"

#include "HalvoxEngine.h"

#include <cstdint>

namespace skin_preview {

SpeechSpan FindSpeech(std::vector<short> samples)
{
    SpeechSpan span;
    // The voice dialog's analysis settings: 11025 Hz, 3 s, 240-sample windows every 80 samples.
    SVE_Initialize();
    SVE_AnalParams(11025, 3000, 240, 80);
    SVE_EPDParams(60, 250, 200, 100000);
    SVE_PutMode(2);
    span.found = SVE_GetEndpointShort(samples.data(), static_cast<int>(samples.size()), 0) != 0;
    span.errorNumber = SVE_GetErrorNumber();
    if (span.found) {
        int64_t frames = SVE_GetEndpointValue();
        long shift = SVE_GetShiftValue();
        span.startSample = static_cast<long>(static_cast<int32_t>(frames & 0xFFFFFFFF)) * shift;
        span.endSample = static_cast<long>(static_cast<int32_t>(frames >> 32)) * shift;
    }
    SVE_DestructMemories();
    SVE_Destruct();
    return span;
}

} // namespace skin_preview
