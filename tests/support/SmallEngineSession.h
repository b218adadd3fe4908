#pragma once

// A small engine for the tests of training, verification, update and live check: one engine folder with
// 16-codeword models, built once per test program, and the calls that put a reading into a feature slot.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "CheckSexSpeech.h"
#include "EndpointOperation.h"
#include "EngineContext.h"
#include "EngineFolderFixture.h"

namespace warden::test {

inline constexpr int kSmallCodebookSize = 16;

// The engine folder, made on first use from the shared fixture cache and removed when the program ends.
class SmallEngineFolder
{
public:
    static const SmallEngineFolder& Get()
    {
        static const SmallEngineFolder instance;
        return instance;
    }

    bool Ready() const { return m_scratch.Ready(); }
    const std::string& Error() const { return m_scratch.Error(); }
    // The folder with its trailing separator, as the engine keeps it.
    std::string Folder() const { return m_scratch.Path() + "/"; }

    SmallEngineFolder(const SmallEngineFolder&) = delete;
    SmallEngineFolder& operator=(const SmallEngineFolder&) = delete;

private:
    SmallEngineFolder()
        : m_scratch(Options())
    {
    }

    static FixtureOptions Options()
    {
        FixtureOptions options;
        options.codebookSize = kSmallCodebookSize;
        options.vocabularyCodebookSize = 16;
        options.takesPerVoice = 2;
        return options;
    }

    ScratchEngineFolder m_scratch;
};

// Context fields as the engine's parameter calls would set them for the small models.
inline void ConfigureSmallEngine(
    halvox::EngineContext& context, const std::string& folder, const char* userId, const char* wordCode, int repeats)
{
    halvox::CopyText(context.folder, folder.c_str());
    halvox::CopyText(context.userId, userId);
    halvox::CopyText(context.wordCode, wordCode);
    halvox::CopyText(context.wordText, "test word");
    context.codebookSize = kSmallCodebookSize;
    context.hmmSymbols = kSmallCodebookSize;
    context.combinedSize = 2 * kSmallCodebookSize;
    context.maxRepeat = repeats;
    context.wordCheck = 0;
}

// One reading through endpoint detection and the per-reading analysis into slot `index`.
inline bool AnalyseReading(halvox::EngineContext& context, std::vector<int16_t> reading, int index)
{
    const int count = static_cast<int>(reading.size());
    return halvox::GetEndpointShort(context, reading.data(), count, 1) == 1
        && halvox::CheckSexSpeech(context, reading.data(), count, index) == 1;
}

// Fills slots 0 ... repeats - 1 with takes 0 ... repeats - 1 of a talker's word.
inline bool AnalyseEnrolment(halvox::EngineContext& context, int voice, int word, int repeats, int firstTake = 0)
{
    for (int r = 0; r < repeats; ++r)
        if (!AnalyseReading(context, TestReading(voice, word, firstTake + r), r))
            return false;
    return true;
}

// Creates the per-user folder the engine writes into (the engine itself creates no folders).
inline void MakeUserFolder(const std::string& folder, const std::string& userId)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder + "user/" + userId, ignored);
    std::filesystem::create_directories(folder + "work", ignored);
}

} // namespace warden::test
