// halvox fingerprint: how far readings lie from a first one under the captured-unlock check, with the
// parts of each distance; the measurement of that check's threshold runs on it.
#include <cstdio>

#include "Commands.h"
#include "EngineSession.h"
#include "HalvoxEngine.h"
#include "ToolSupport.h"
#include "voice/ReadingFingerprint.h"

namespace halvox::tool {

namespace {

// The fingerprint of the word the engine finds in the reading, as the voice dialog takes it.
bool FingerprintOf(const std::string& path, bool refineEnd, talk::voice::ReadingFingerprint* print)
{
    std::vector<int16_t> samples;
    if (!LoadRecording(path, &samples))
        return false;
    const int count = static_cast<int>(samples.size());
    if (!SVE_GetEndpointShort(samples.data(), count, refineEnd ? 1 : 0)) {
        std::fprintf(stderr, "halvox: %s: no word found (error %d)\n", path.c_str(), SVE_GetErrorNumber());
        return false;
    }
    const int64_t packed = SVE_GetEndpointValue();
    const long shift = SVE_GetShiftValue();
    const long first = static_cast<int32_t>(packed & 0xffffffff) * shift;
    const long last = static_cast<int32_t>(static_cast<uint64_t>(packed) >> 32) * shift;
    *print = talk::voice::ComputeFingerprint(samples.data(), count, first, last);
    return true;
}

} // namespace

int RunFingerprint(const Arguments& args)
{
    std::string word;
    std::vector<std::string> files;
    std::string error;
    if (!tools::ArgumentParser().Text("word", &word).Operands(&files).Parse(args, error))
        return UsageError(error);
    if (files.size() < 2)
        return UsageError("fingerprint needs a first reading and at least one more");
    if (SVE_Initialize() == nullptr)
        return UsageError("out of memory");
    SVE_PutMode(2);
    const bool refine = WantsEndRefinement(word);
    int status = kExitOk;
    talk::voice::ReadingFingerprint reference;
    if (!FingerprintOf(files[0], refine, &reference)) {
        status = kExitDenied;
    } else {
        for (size_t i = 1; i < files.size(); ++i) {
            talk::voice::ReadingFingerprint other;
            if (!FingerprintOf(files[i], refine, &other)) {
                std::printf("%s\tnone\n", files[i].c_str());
                continue;
            }
            const talk::voice::FingerprintMatch m = talk::voice::CompareFingerprints(reference, other);
            std::printf("%s\t%.4f\tscale %.4f\tpitch %.1f\tspread %.1f\tcorrelation %.4f\tvoiced %d\n",
                files[i].c_str(), m.distance, m.timeScale, m.pitchCents, m.pitchSpread, m.correlation, m.voicedPairs);
        }
    }
    SVE_DestructMemories();
    SVE_Destruct();
    return status;
}

} // namespace halvox::tool
