#include "EngineDataBuilder.h"

#include <gtest/gtest.h>

#include "ProcessScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ModelFiles.h"
#include "SyntheticVoice.h"
#include "WavFile.h"

namespace modelbuild {
namespace {

namespace fs = std::filesystem;

constexpr int kCodebook = 8;
constexpr int kVocabularyCodebook = 8;
const char* const kCodes[6] = {"aaj", "abj", "acj", "adj", "aej", "afj"};

std::vector<uint8_t> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A tiny corpus of the synthetic test talkers in the layout and manifest format of the corpus tool.
class EngineDataBuilderTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_root = warden::test::ProcessScratchFolder() / "modelbuild_corpus";
        fs::remove_all(s_root);
        fs::create_directories(s_root);
        std::ofstream manifest(s_root / "manifest.tsv");
        manifest << "# seed 0\nfile\tvoice\tgender\tsplit\tword\ttake\treplay\tfamily\tchain\n";
        for (const int voice : {0, 1, 6, 7})
            for (int w = 0; w < 6; ++w)
                for (int take = 0; take < 4; ++take)
                    AddReading(manifest, voice, w, take, take == 3);
        // Evaluation readings must never reach the models.
        AddReading(manifest, 2, 0, 0, false, true);
    }

    static void AddReading(std::ofstream& manifest, int voice, int w, int take, bool replayed, bool evaluation = false)
    {
        warden::test::Reading reading;
        reading.seed = static_cast<uint32_t>(voice * 100 + w * 10 + take + 1);
        reading.offsetSeconds = 0.6 + 0.1 * take;
        reading.durationSeconds = 0.8 + 0.02 * w;
        reading.peak = 6000.0;
        std::vector<int16_t> samples
            = warden::test::Speak(warden::test::TestVoice(voice), warden::test::TestWord(w), reading);
        if (replayed)
            samples = warden::test::Replay(samples, static_cast<uint32_t>(take));
        const std::string file = "v" + std::to_string(voice) + "_" + kCodes[w] + "_" + std::to_string(take) + ".wav";
        std::string error;
        ASSERT_TRUE(platform::audio::WriteWav((s_root / file).string(), 11025, samples, error)) << error;
        manifest << file << "\tv" << voice << '\t' << (voice < 6 ? 'M' : 'F') << '\t' << (evaluation ? "eval" : "train")
                 << '\t' << kCodes[w] << '\t' << take << '\t' << replayed << '\t' << FamilyOf(voice) << '\t'
                 << (replayed ? ChainOf(voice) : "-") << '\n';
    }

    // Two voice families and two loudspeaker kinds, each with voices of both genders.
    static const char* FamilyOf(int voice) { return voice % 2 == 0 ? "family-a" : "family-b"; }
    static const char* ChainOf(int voice) { return voice % 2 == 0 ? "speaker-a" : "speaker-b"; }

    // A copy of the test corpus without the manifest lines that contain `dropped`.
    static fs::path CorpusWithout(const std::string& name, const std::string& dropped)
    {
        const fs::path folder = warden::test::ProcessScratchFolder() / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ifstream in(s_root / "manifest.tsv");
        std::ofstream out(folder / "manifest.tsv");
        for (std::string line; std::getline(in, line);)
            if (line.find(dropped) == std::string::npos)
                out << line << '\n';
        for (const auto& entry : fs::directory_iterator(s_root))
            if (entry.path().extension() == ".wav")
                fs::copy_file(entry.path(), folder / entry.path().filename());
        return folder;
    }

    static int CompareOutputs(const BuildOptions& first, const BuildOptions& second, bool expectEqual)
    {
        int differing = 0;
        for (const auto& entry : fs::recursive_directory_iterator(first.outputFolder)) {
            if (!entry.is_regular_file())
                continue;
            const fs::path relative = fs::relative(entry.path(), first.outputFolder);
            const bool equal = FileBytes(entry.path()) == FileBytes(fs::path(second.outputFolder) / relative);
            differing += equal ? 0 : 1;
            if (expectEqual)
                EXPECT_TRUE(equal) << relative;
        }
        return differing;
    }

    BuildOptions Options(const std::string& out) const
    {
        BuildOptions options;
        options.corpusFolder = s_root.string();
        options.vocabularyFile = VOCABULARY_FILE;
        options.outputFolder = (warden::test::ProcessScratchFolder() / out).string();
        options.codebookSize = kCodebook;
        options.vocabularyCodebookSize = kVocabularyCodebook;
        fs::remove_all(options.outputFolder);
        return options;
    }

    static fs::path s_root;
};

fs::path EngineDataBuilderTest::s_root;

TEST_F(EngineDataBuilderTest, BuildsEveryFileInTheEngineLayoutAndTheEngineReadsThem)
{
    const BuildOptions options = Options("modelbuild_out");
    std::string error;
    ASSERT_TRUE(BuildEngineData(options, error)) << error;
    const fs::path words = fs::path(options.outputFolder) / ("word" + std::to_string(kCodebook));
    for (const char* code : kCodes)
        for (const char* suffix : {"_m", "_f", "_mcopy", "_fcopy"}) {
            const bool background = std::string(suffix).find("copy") == std::string::npos;
            halvox::CodebookModel model;
            EXPECT_EQ(halvox::ReadCodebookModel((words / (std::string(code) + suffix + ".bin")).string(), background,
                          20, kCodebook, 5, kCodebook, &model),
                halvox::ModelFileError::None)
                << code << suffix;
            for (float w : model.weights)
                EXPECT_GT(w, 0.0f) << "a codeword without members in " << code << suffix;
        }
    for (const char* name : {"miwr.bin", "fiwr.bin"}) {
        halvox::VocabularyModel vocabulary;
        ASSERT_EQ(halvox::ReadVocabularyModel((fs::path(options.outputFolder) / "iwrec" / name).string(), &vocabulary),
            halvox::ModelFileError::None);
        EXPECT_EQ(vocabulary.words.size(), 6u);
        EXPECT_EQ(vocabulary.labels.front(), "ひまわり");
        EXPECT_EQ(vocabulary.dim, 26);
        EXPECT_EQ(vocabulary.codebookSize, kVocabularyCodebook);
    }
}

// The shipped files must be reproducible: the same corpus gives the same bytes, whatever the thread count.
TEST_F(EngineDataBuilderTest, RebuildingGivesIdenticalBytes)
{
    BuildOptions first = Options("modelbuild_first");
    first.threads = 1;
    BuildOptions second = Options("modelbuild_second");
    second.threads = 2;
    std::string error;
    ASSERT_TRUE(BuildEngineData(first, error)) << error;
    ASSERT_TRUE(BuildEngineData(second, error)) << error;
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first.outputFolder)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), first.outputFolder);
        EXPECT_EQ(FileBytes(entry.path()), FileBytes(fs::path(second.outputFolder) / relative)) << relative;
        ++compared;
    }
    EXPECT_EQ(compared, 26);
}

TEST_F(EngineDataBuilderTest, FailsWhenAGenderHasNoTrainingVoice)
{
    BuildOptions options = Options("modelbuild_male_only");
    options.voicesPerGender = 0;
    const fs::path maleOnly = warden::test::ProcessScratchFolder() / "modelbuild_male_only_corpus";
    fs::remove_all(maleOnly);
    fs::create_directories(maleOnly);
    std::ifstream in(s_root / "manifest.tsv");
    std::ofstream out(maleOnly / "manifest.tsv");
    for (std::string line; std::getline(in, line);)
        if (line.find("\tF\t") == std::string::npos)
            out << line << '\n';
    out.close();
    for (const auto& entry : fs::directory_iterator(s_root))
        if (entry.path().extension() == ".wav")
            fs::copy_file(entry.path(), maleOnly / entry.path().filename());
    options.corpusFolder = maleOnly.string();
    std::string error;
    EXPECT_FALSE(BuildEngineData(options, error));
    EXPECT_FALSE(error.empty());
}

// Leaving a family out must be exactly a build from a corpus that never had it: the same bytes, file by file,
// and different ones from the full build (else nothing was left out).
class ExcludedFamilyTest : public EngineDataBuilderTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(ExcludedFamilyTest, IsTheBuildOfACorpusWithoutIt)
{
    const std::string family = GetParam();
    BuildOptions excluded = Options("modelbuild_excluded_" + family);
    excluded.excludeFamily = family;
    BuildOptions without = Options("modelbuild_without_" + family);
    without.corpusFolder = CorpusWithout("modelbuild_corpus_without_" + family, "\t" + family).string();
    BuildOptions full = Options("modelbuild_full_" + family);
    std::string error;
    ASSERT_TRUE(BuildEngineData(excluded, error)) << error;
    ASSERT_TRUE(BuildEngineData(without, error)) << error;
    ASSERT_TRUE(BuildEngineData(full, error)) << error;
    EXPECT_EQ(CompareOutputs(excluded, without, true), 0);
    EXPECT_GT(CompareOutputs(excluded, full, false), 0);
}

INSTANTIATE_TEST_SUITE_P(VoiceAndLoudspeakerFamilies, ExcludedFamilyTest, ::testing::Values("family-b", "speaker-a"));

TEST_F(EngineDataBuilderTest, ExcludingAFamilyTheCorpusLacksIsAnError)
{
    BuildOptions options = Options("modelbuild_unknown_family");
    options.excludeFamily = "speaker-a,family-c";
    std::string error;
    EXPECT_FALSE(BuildEngineData(options, error));
    EXPECT_NE(error.find("family-c"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(fs::path(options.outputFolder) / "iwrec"));
}

TEST_F(EngineDataBuilderTest, MissingCorpusIsAnError)
{
    BuildOptions options = Options("modelbuild_missing");
    options.corpusFolder = "/nonexistent/corpus";
    std::string error;
    EXPECT_FALSE(BuildEngineData(options, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

} // namespace
} // namespace modelbuild
