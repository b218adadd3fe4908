#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace warden::test {

// Word codes of the vocabulary, in the order of the vocabulary file.
extern const char* const kWordCodes[6];

struct FixtureOptions
{
    int codebookSize = 128; // background and recording codebooks (the engine's default)
    int vocabularyCodebookSize = 32; // the word recogniser's codebook
    int takesPerVoice = 3;
    std::vector<int> maleVoices {0, 1, 2};
    std::vector<int> femaleVoices {6, 7, 8};
};

// A reading of the synthetic test speech: talker `voice` (see TestVoice), word 0 ... 5, take number
// `take` (each take differs in timing, offset, level and noise). Same arguments, same samples.
std::vector<int16_t> TestReading(int voice, int word, int take);

// Fills an engine folder with background and recording models of the six words for both genders and
// the two vocabulary files, all made from synthetic readings with the engine's own analysis. Creates
// the folders word<K>/, iwrec/, user/ and work/. Returns false with a message on failure.
bool BuildEngineFolder(const std::string& folder, const FixtureOptions& options, std::string& error);

// An engine folder of one's own for a test: the fixture's model files, built once per set of options
// and build tree (test processes share that build through a lock) and copied into a fresh temporary
// folder, which goes away with the object. Tests may write, damage or delete anything in it.
class ScratchEngineFolder
{
public:
    explicit ScratchEngineFolder(const FixtureOptions& options);
    ~ScratchEngineFolder();
    ScratchEngineFolder(const ScratchEngineFolder&) = delete;
    ScratchEngineFolder& operator=(const ScratchEngineFolder&) = delete;

    bool Ready() const { return m_ready; }
    const std::string& Error() const { return m_error; }
    // The folder without a trailing separator.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::string m_error;
    bool m_ready = false;
};

} // namespace warden::test
