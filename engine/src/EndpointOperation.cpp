#include "EndpointOperation.h"

#include "SpeechSegmenter.h"
#include "WorkMemoryAccess.h"

namespace halvox {

int GetEndpointShort(EngineContext& context, short* samples, int count, int trimEnd)
{
    context.errorNumber = 0;
    if (!EnsureWorkMemory(context)) {
        context.errorNumber = -1;
        return 0;
    }
    WorkMemory* work = UsableWorkMemory(context);
    if (work == nullptr || samples == nullptr || count <= 0) {
        context.errorNumber = -1;
        return 0;
    }
    SegmentRequest request;
    request.enrolment = context.IsEnrolment();
    request.trimEnd = trimEnd != 0;
    request.params.windowLength = context.windowLength;
    request.params.frameShift = context.frameShift;
    request.params.minFrames = context.epdMinFrames;
    request.params.maxFrames = context.epdMaxFrames;
    SegmentResult result = SegmentSpeech(
        samples, count, request, work->speech.data(), static_cast<int>(work->speech.size()), &work->speechCount);
    context.errorNumber = result.error;
    context.startFrame = result.startFrame;
    context.endFrame = result.endFrame;
    return result.taken;
}

} // namespace halvox
