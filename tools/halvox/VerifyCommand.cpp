// halvox verify: one verification reading through the engine's interface in the voice dialog's
// order: endpoints, per-reading analysis, live check, captured-unlock check, verification, update flag.
#include <cstdio>

#include "Commands.h"
#include "EngineSession.h"
#include "HalvoxEngine.h"
#include "voice/ReadingHistory.h"

namespace halvox::tool {

namespace {

int Finish(int status)
{
    CloseEngineSession();
    return status;
}

void PrintTexts()
{
    if (SVE_GetStatusString()[0] != '\0')
        std::printf("status: %s\n", SVE_GetStatusString());
    if (SVE_GetLabelString()[0] != '\0')
        std::printf("label: %s\n", SVE_GetLabelString());
}

} // namespace

int RunVerify(const Arguments& args)
{
    SessionSettings settings;
    std::vector<std::string> files;
    if (!ParseSessionArguments(args, &settings, &files))
        return kExitError;
    if (files.size() != 1)
        return UsageError("verify needs exactly one recording");
    std::vector<int16_t> samples;
    if (!LoadRecording(files[0], &samples))
        return kExitError;
    if (!OpenEngineSession(settings, 2))
        return kExitError;

    const int count = static_cast<int>(samples.size());
    if (!SVE_GetEndpointShort(samples.data(), count, WantsEndRefinement(settings.wordCode))) {
        std::printf("endpoint: no word found (error %d)\ndecision: denied\n", SVE_GetErrorNumber());
        return Finish(kExitDenied);
    }
    const int64_t packed = SVE_GetEndpointValue();
    const long shift = SVE_GetShiftValue();
    const talk::voice::ReadingFingerprint print
        = talk::voice::ComputeFingerprint(samples.data(), count, static_cast<int32_t>(packed & 0xffffffff) * shift,
            static_cast<int32_t>(static_cast<uint64_t>(packed) >> 32) * shift);
    const int analysed = SVE_CheckSexSpeech(samples.data(), count, 0);
    PrintTexts();
    if (!analysed) {
        std::printf("decision: error\n");
        return Finish(kExitError);
    }
    if (settings.liveCheck) {
        const int live = SVE_VCopy();
        PrintTexts();
        std::printf("live check: %s\n", live ? "live" : "recording (or failed)");
    }
    if (!settings.historyPath.empty()) {
        talk::voice::ReadingHistory history(settings.historyPath);
        double nearest = -1.0;
        for (const talk::voice::ReadingFingerprint& kept : history.Recall(settings.userId, settings.wordCode)) {
            const double distance = talk::voice::CompareFingerprints(kept, print).distance;
            if (nearest < 0.0 || distance < nearest)
                nearest = distance;
        }
        if (history.FoundDamage())
            std::printf("history: damaged, read as empty\n");
        if (nearest >= 0.0)
            std::printf("nearest accepted reading: %.3f (replay below %.3f)\n", nearest, talk::voice::kReplayDistance);
        if (nearest >= 0.0 && nearest < talk::voice::kReplayDistance) {
            std::printf("decision: denied (replay of an accepted reading)\n");
            return Finish(kExitDenied);
        }
    }
    const int accepted = SVE_Verify();
    PrintTexts();
    std::printf("model updated: %d\n", SVE_GetbUpdate());
    if (!accepted && SVE_GetLabelString()[0] != '\0') {
        std::printf("decision: error\n");
        return Finish(kExitError);
    }
    std::printf("decision: %s\n", accepted ? "accepted" : "denied");
    if (accepted && settings.remember) {
        talk::voice::ReadingHistory history(settings.historyPath);
        if (!history.Remember(settings.userId, settings.wordCode, {print}))
            std::fprintf(stderr, "halvox: the reading was not added to the history: %s\n", history.ErrorText().c_str());
    }
    return Finish(accepted ? kExitOk : kExitDenied);
}

} // namespace halvox::tool
