// The fabricated engine folder that the training and verification tests stand on: every file is
// there, reads back with the engine's readers, and the synthetic readings pass endpoint detection.
#include <gtest/gtest.h>

#include "ProcessScratchFolder.h"

#include <filesystem>

#include "EngineFolderFixture.h"
#include "ModelFiles.h"
#include "SpeechSegmenter.h"

namespace {

namespace fs = std::filesystem;
using namespace warden::test;

TEST(EngineFolderFixture, BuildsEveryModelFileTheEngineReads)
{
    const fs::path root = warden::test::ProcessScratchFolder() / "fixture-check";
    fs::remove_all(root);
    FixtureOptions options;
    options.codebookSize = 16;
    options.vocabularyCodebookSize = 8;
    options.takesPerVoice = 1;
    std::string error;
    ASSERT_TRUE(BuildEngineFolder(root.string(), options, error)) << error;

    for (const char* code : kWordCodes) {
        for (const char* suffix : {"_m", "_f"}) {
            const std::string stem = (root / "word16" / code).string() + suffix;
            halvox::CodebookModel background, recording;
            EXPECT_EQ(halvox::ReadCodebookModel(stem + ".bin", true, 20, 16, 5, 16, &background),
                halvox::ModelFileError::None);
            EXPECT_EQ(halvox::ReadCodebookModel(stem + "copy.bin", false, 20, 16, 5, 16, &recording),
                halvox::ModelFileError::None);
        }
    }
    halvox::VocabularyModel vocabulary;
    ASSERT_EQ(
        halvox::ReadVocabularyModel((root / "iwrec/fiwr.bin").string(), &vocabulary), halvox::ModelFileError::None);
    EXPECT_EQ(vocabulary.labels.size(), 6u);
    EXPECT_EQ(vocabulary.dim, 26);
}

TEST(EngineFolderFixture, ReadingsAreDeterministicAndPassEnrolmentChecks)
{
    EXPECT_EQ(TestReading(4, 2, 1), TestReading(4, 2, 1));
    EXPECT_NE(TestReading(4, 2, 1), TestReading(4, 2, 2));
    for (int voice : {4, 10}) {
        for (int word = 0; word < 6; ++word) {
            auto samples = TestReading(voice, word, 3);
            std::vector<int16_t> speech(33076);
            int count = 0;
            halvox::SegmentRequest request;
            request.enrolment = true;
            request.trimEnd = true;
            const auto r = halvox::SegmentSpeech(
                samples.data(), static_cast<int>(samples.size()), request, speech.data(), 33076, &count);
            EXPECT_EQ(r.taken, 1) << "voice " << voice << " word " << word;
            EXPECT_EQ(r.error, 0) << "voice " << voice << " word " << word;
        }
    }
}

} // namespace
