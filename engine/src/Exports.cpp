// The engine's C interface. Each function hands the process context to one internal operation;
// ProcessContext's guard keeps exceptions inside the library.
#include "HalvoxEngine.h"

#include <new>
#include <string>

#include "CheckSexSpeech.h"
#include "EndpointOperation.h"
#include "ModelVersionCheck.h"
#include "ProcessContext.h"
#include "Train.h"
#include "VCopy.h"
#include "Verify.h"

using halvox::EngineContext;
using halvox::WithContext;

extern "C" {

void* SVE_Initialize(void)
{
    // A replaced context cannot be reached through any export any more, so it is released here
    // rather than leaked.
    auto* fresh = new (std::nothrow) EngineContext();
    if (fresh == nullptr)
        return nullptr;
    delete halvox::ReplaceContext(fresh);
    return fresh;
}

void SVE_Destruct(void)
{
    halvox::ReleaseContext();
}

int SVE_DestructMemories(void)
{
    WithContext([](EngineContext& c) {
        c.work.reset();
        c.workMemoryReady = 0;
    });
    return 0;
}

void SVE_PutDir(const char* folder)
{
    WithContext([folder](EngineContext& c) {
        halvox::CopyText(c.folder, folder, halvox::kTextSize - 2);
        size_t length = std::char_traits<char>::length(c.folder);
        if (length == 0 || c.folder[length - 1] != '/')
            c.folder[length] = '/';
    });
}

void SVE_PutID(const char* id)
{
    WithContext([id](EngineContext& c) { halvox::CopyText(c.userId, id); });
}

void SVE_PutPW(const char* text)
{
    WithContext([text](EngineContext& c) { halvox::CopyText(c.wordText, text); });
}

void SVE_PutNick(const char* code)
{
    WithContext([code](EngineContext& c) { halvox::CopyText(c.wordCode, code); });
}

void SVE_PutMode(int mode)
{
    WithContext([mode](EngineContext& c) { c.mode = mode; });
}

void SVE_PutMaxRepeat(int count)
{
    WithContext([count](EngineContext& c) { c.maxRepeat = count; });
}

void SVE_AnalParams(int sampleRate, int maxDurationMs, int windowLength, int frameShift)
{
    WithContext([=](EngineContext& c) {
        c.sampleRate = sampleRate;
        c.maxDurationMs = maxDurationMs;
        c.windowLength = windowLength;
        c.frameShift = frameShift;
    });
}

void SVE_NoiseParams(int noiseMode, double noiseParam2, int noiseParam3)
{
    WithContext([=](EngineContext& c) {
        c.noiseMode = noiseMode;
        c.noiseParam2 = noiseParam2;
        c.noiseParam3 = noiseParam3;
    });
}

void SVE_EngineParams(int lpcOrder, int cepstralOrder, int hmmStates, int codebookSize)
{
    WithContext([=](EngineContext& c) {
        c.lpcOrder = lpcOrder;
        c.cepstralOrder = cepstralOrder;
        c.featureDim = cepstralOrder + 1;
        c.hmmStates = hmmStates;
        c.codebookSize = codebookSize;
        c.combinedSize = 2 * codebookSize;
        c.hmmSymbols = codebookSize;
    });
}

void SVE_HMMParams(
    int adaptOnAccept, double convergence, double updateWeight1, double updateWeight2, double updateWeight3)
{
    WithContext([=](EngineContext& c) {
        c.adaptOnAccept = adaptOnAccept;
        c.convergence = convergence;
        c.updateWeight1 = updateWeight1;
        c.updateWeight2 = updateWeight2;
        c.updateWeight3 = updateWeight3;
    });
}

void SVE_EPDParams(int minFrames, int maxFrames, int p3, int p4)
{
    WithContext([=](EngineContext& c) {
        c.epdMinFrames = minFrames;
        c.epdMaxFrames = maxFrames;
        c.epdParam3 = p3;
        c.epdParam4 = p4;
    });
}

void SVE_CopyParams(double factor)
{
    WithContext([factor](EngineContext& c) { c.copyFactor = factor; });
}

void SVE_SetbSpeech(int on)
{
    WithContext([on](EngineContext& c) { c.wordCheck = on; });
}

void SVE_SameWordDist(float threshold)
{
    WithContext([threshold](EngineContext& c) { c.sameWordThreshold = threshold; });
}

void SVE_Security(float margin)
{
    WithContext([margin](EngineContext& c) { c.securityMargin = margin; });
}

void SVE_SetbNetVersion(int on)
{
    WithContext([on](EngineContext& c) { c.perUserFolders = on != 0 ? 0 : 1; });
}

int SVE_GetEndpointShort(short* samples, int count, int trimEnd)
{
    return WithContext(0, [=](EngineContext& c) { return halvox::GetEndpointShort(c, samples, count, trimEnd); });
}

int64_t SVE_GetEndpointValue(void)
{
    return WithContext(int64_t {0}, [](EngineContext& c) {
        uint64_t packed
            = static_cast<uint32_t>(c.startFrame) | (static_cast<uint64_t>(static_cast<uint32_t>(c.endFrame)) << 32);
        return static_cast<int64_t>(packed);
    });
}

int SVE_GetSampleValue(void)
{
    return WithContext(0, [](EngineContext& c) { return c.windowLength; });
}

int SVE_GetShiftValue(void)
{
    return WithContext(0, [](EngineContext& c) { return c.frameShift; });
}

int SVE_GetErrorNumber(void)
{
    return WithContext(0, [](EngineContext& c) { return c.errorNumber; });
}

const char* SVE_GetLabelString(void)
{
    return WithContext(static_cast<const char*>(""), [](EngineContext& c) -> const char* { return c.labelText; });
}

const char* SVE_GetStatusString(void)
{
    return WithContext(static_cast<const char*>(""), [](EngineContext& c) -> const char* { return c.statusText; });
}

int SVE_CheckSexSpeech(short* samples, int count, int index)
{
    return WithContext(0, [=](EngineContext& c) { return halvox::CheckSexSpeech(c, samples, count, index); });
}

int SVE_Train(void)
{
    return WithContext(0, [](EngineContext& c) { return halvox::Train(c); });
}

int SVE_Verify(void)
{
    return WithContext(0, [](EngineContext& c) { return halvox::Verify(c); });
}

int SVE_VCopy(void)
{
    return WithContext(0, [](EngineContext& c) { return halvox::VCopy(c); });
}

int SVE_GetSex(void)
{
    return WithContext(0, [](EngineContext& c) { return c.sex; });
}

int SVE_GetbUpdate(void)
{
    return WithContext(0, [](EngineContext& c) { return c.modelUpdated; });
}

int SVE_ModelVersionCheck(int* major, int* minor)
{
    return WithContext(0, [=](EngineContext& c) { return halvox::ModelVersionCheck(c, major, minor); });
}

} // extern "C"
