// The vocabulary word check: code mapping, the best-word rule, and the cases where no word can win.
#include <gtest/gtest.h>

#include "ProcessScratchFolder.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "EngineContext.h"
#include "PlpFrontEnd.h"
#include "WordCheck.h"
#include "WorkMemory.h"

namespace {

namespace fs = std::filesystem;
using halvox::VocabularyModel;

struct CodeCase
{
    const char* code;
    int index;
};

std::ostream& operator<<(std::ostream& out, const CodeCase& c)
{
    return out << "\"" << c.code << "\"";
}

class VocabularyCodes : public ::testing::TestWithParam<CodeCase>
{
};

INSTANTIATE_TEST_SUITE_P(Codes, VocabularyCodes,
    ::testing::Values(CodeCase {"aaj", 0}, CodeCase {"abj", 1}, CodeCase {"acj", 2}, CodeCase {"adj", 3},
        CodeCase {"aej", 4}, CodeCase {"afj", 5}, CodeCase {"aak", -1}, CodeCase {"AAJ", -1}, CodeCase {"aaj ", -1},
        CodeCase {"aa", -1}, CodeCase {"", -1}));

TEST_P(VocabularyCodes, MapExactlyToTheirWord)
{
    EXPECT_EQ(halvox::VocabularyIndexOfCode(GetParam().code), GetParam().index);
}

TEST(WordMatchesCode, NeedsTheWordOfTheCode)
{
    EXPECT_TRUE(halvox::WordMatchesCode(3, "adj"));
    EXPECT_FALSE(halvox::WordMatchesCode(2, "adj"));
    EXPECT_FALSE(halvox::WordMatchesCode(-1, "aaj"));
    // A code outside the vocabulary passes only when the vocabulary holds no word.
    EXPECT_TRUE(halvox::WordMatchesCode(-1, "aak"));
    EXPECT_FALSE(halvox::WordMatchesCode(0, "aak"));
    EXPECT_FALSE(halvox::WordMatchesCode(6, "aak"));
    EXPECT_FALSE(halvox::WordMatchesCode(std::nullopt, "aak"));
    EXPECT_FALSE(halvox::WordMatchesCode(0, nullptr));
}

// One codeword, so every frame is symbol 0 and each word's score depends on its output probability alone.
halvox::VocabularyWord WordWithOutput(float output)
{
    return halvox::VocabularyWord {{1.0f, 0.0f}, {0.5f, 0.5f, 0.0f, 1.0f}, {output, output}};
}

VocabularyModel SingleCodewordVocabulary(const std::vector<float>& outputs)
{
    VocabularyModel vocabulary;
    vocabulary.dim = halvox::kPlpVectorSize;
    vocabulary.codebookSize = 1;
    vocabulary.states = 2;
    vocabulary.codewords.assign(halvox::kPlpVectorSize, 0.0f);
    vocabulary.weights = {1.0f};
    for (float output : outputs) {
        vocabulary.words.push_back(WordWithOutput(output));
        vocabulary.labels.push_back("word");
    }
    return vocabulary;
}

std::vector<int16_t> Tone(int count)
{
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n)
        samples[static_cast<size_t>(n)] = static_cast<int16_t>(2000.0 * std::sin(0.3 * n) + 500.0 * std::sin(1.9 * n));
    return samples;
}

TEST(RecogniseWord, HighestScoreWinsAndTheFirstOnTies)
{
    const auto speech = Tone(4000);
    EXPECT_EQ(halvox::RecogniseWord(SingleCodewordVocabulary({0.1f, 0.9f, 0.5f}), speech.data(), 4000), 1);
    EXPECT_EQ(halvox::RecogniseWord(SingleCodewordVocabulary({0.2f, 0.9f, 0.9f}), speech.data(), 4000), 1);
    EXPECT_EQ(halvox::RecogniseWord(SingleCodewordVocabulary({0.7f, 0.7f}), speech.data(), 4000), 0);
}

TEST(RecogniseWord, EmptyVocabularyGivesMinusOne)
{
    const auto speech = Tone(4000);
    EXPECT_EQ(halvox::RecogniseWord(SingleCodewordVocabulary({}), speech.data(), 4000), -1);
}

TEST(RecogniseWord, NothingToScoreRecognisesNothing)
{
    const auto speech = Tone(4000);
    // Shorter than one analysis frame: no word can be told, so none is recognised.
    EXPECT_EQ(halvox::RecogniseWord(SingleCodewordVocabulary({0.5f}), speech.data(), 200), std::nullopt);
    EXPECT_EQ(halvox::RecogniseWord(SingleCodewordVocabulary({0.5f}), nullptr, 0), std::nullopt);
    VocabularyModel wrongDim = SingleCodewordVocabulary({0.5f});
    wrongDim.dim = 20;
    wrongDim.codewords.assign(20, 0.0f);
    EXPECT_EQ(halvox::RecogniseWord(wrongDim, speech.data(), 4000), std::nullopt);
    VocabularyModel brokenWord = SingleCodewordVocabulary({0.5f});
    brokenWord.words[0].b.pop_back();
    EXPECT_EQ(halvox::RecogniseWord(brokenWord, speech.data(), 4000), std::nullopt);
}

class CheckVocabularyWordFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = warden::test::ProcessScratchFolder() / "word-check";
        fs::remove_all(m_root);
        fs::create_directories(m_root / "iwrec");
        halvox::CopyText(m_context.folder, (m_root.string() + "/").c_str());
        m_work.speech = Tone(4000);
        m_work.speechCount = 4000;
    }

    fs::path m_root;
    halvox::EngineContext m_context;
    halvox::WorkMemory m_work;
};

TEST_F(CheckVocabularyWordFiles, MissingFileFailsAndNamesIt)
{
    EXPECT_FALSE(halvox::CheckVocabularyWord(m_context, m_work, 1));
    EXPECT_EQ(
        std::string(m_context.labelText), "[HALVOX] Cannot open file! [" + (m_root / "iwrec/fiwr.bin").string() + "]");
}

TEST_F(CheckVocabularyWordFiles, GenderChoosesTheFileAndTheCodeTheWord)
{
    // The male file recognises word 2, the female one word 0.
    ASSERT_EQ(halvox::WriteVocabularyModel(
                  (m_root / "iwrec/miwr.bin").string(), SingleCodewordVocabulary({0.1f, 0.2f, 0.9f})),
        halvox::ModelFileError::None);
    ASSERT_EQ(halvox::WriteVocabularyModel(
                  (m_root / "iwrec/fiwr.bin").string(), SingleCodewordVocabulary({0.9f, 0.2f, 0.1f})),
        halvox::ModelFileError::None);
    halvox::CopyText(m_context.wordCode, "acj");
    EXPECT_TRUE(halvox::CheckVocabularyWord(m_context, m_work, 0));
    EXPECT_FALSE(halvox::CheckVocabularyWord(m_context, m_work, 1));
    halvox::CopyText(m_context.wordCode, "aaj");
    EXPECT_TRUE(halvox::CheckVocabularyWord(m_context, m_work, 1));
    // No gender, no vocabulary.
    EXPECT_FALSE(halvox::CheckVocabularyWord(m_context, m_work, -1));
}

TEST_F(CheckVocabularyWordFiles, SpeechCountBeyondTheBufferIsClipped)
{
    ASSERT_EQ(halvox::WriteVocabularyModel((m_root / "iwrec/miwr.bin").string(), SingleCodewordVocabulary({0.9f})),
        halvox::ModelFileError::None);
    halvox::CopyText(m_context.wordCode, "aaj");
    m_work.speechCount = 1 << 30;
    EXPECT_TRUE(halvox::CheckVocabularyWord(m_context, m_work, 0));
}

} // namespace
