// halvox enrol: the enrolment of one user and word from recorded readings, through the engine's
// interface in the order the voice dialog uses. A reading the engine rejects is reported and the
// next file is taken for the same repetition, as the dialog asks the user to speak again.
#include <cstdio>
#include <filesystem>

#include "Commands.h"
#include "EngineSession.h"
#include "HalvoxEngine.h"

namespace halvox::tool {

namespace {

void PrintEngineTexts(const std::string& file)
{
    if (SVE_GetStatusString()[0] != '\0')
        std::printf("%s: %s\n", file.c_str(), SVE_GetStatusString());
    if (SVE_GetLabelString()[0] != '\0')
        std::printf("%s: label: %s\n", file.c_str(), SVE_GetLabelString());
}

// Runs one reading through endpoint detection and the per-reading analysis; true when it counts.
bool TakeReading(const std::string& file, int index, bool trim)
{
    std::vector<int16_t> samples;
    if (!LoadRecording(file, &samples))
        return false;
    const int count = static_cast<int>(samples.size());
    const int taken = SVE_GetEndpointShort(samples.data(), count, trim);
    const int64_t packed = SVE_GetEndpointValue();
    std::printf("%s: endpoint %d (error %d, frames %d-%d)\n", file.c_str(), taken, SVE_GetErrorNumber(),
        static_cast<int32_t>(packed & 0xffffffff), static_cast<int32_t>(static_cast<uint64_t>(packed) >> 32));
    if (!taken)
        return false;
    const int accepted = SVE_CheckSexSpeech(samples.data(), count, index);
    PrintEngineTexts(file);
    return accepted != 0;
}

} // namespace

int RunEnrol(const Arguments& args)
{
    SessionSettings settings;
    std::vector<std::string> files;
    if (!ParseSessionArguments(args, &settings, &files))
        return kExitError;
    if (static_cast<int>(files.size()) < settings.repeat)
        return UsageError("enrol needs at least " + std::to_string(settings.repeat) + " recordings");
    if (!OpenEngineSession(settings, 1))
        return kExitError;

    const bool trim = WantsEndRefinement(settings.wordCode);
    int accepted = 0;
    for (const std::string& file : files) {
        if (accepted == settings.repeat)
            break;
        if (TakeReading(file, accepted, trim)) {
            ++accepted;
            std::printf("%s: reading %d of %d\n", file.c_str(), accepted, settings.repeat);
        } else {
            std::printf("%s: not taken\n", file.c_str());
        }
    }
    if (accepted < settings.repeat) {
        std::printf("training: not run, %d of %d readings taken\n", accepted, settings.repeat);
        CloseEngineSession();
        return kExitError;
    }

    // The engine writes into an existing folder only; the installation provides the work folder.
    const std::string modelPath = SessionUserModelPath(settings);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(modelPath).parent_path(), ignored);
    const int trained = SVE_Train();
    if (trained)
        std::printf("training: model written to %s (gender %s)\n", modelPath.c_str(), SVE_GetSex() ? "female" : "male");
    else
        std::printf("training: failed: %s\n", SVE_GetLabelString());
    CloseEngineSession();
    return trained ? kExitOk : kExitError;
}

} // namespace halvox::tool
