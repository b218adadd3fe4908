#include "CorpusManifest.h"

#include <gtest/gtest.h>

#include "ProcessScratchFolder.h"

#include <filesystem>
#include <fstream>

namespace modelbuild {
namespace {

class CorpusManifestTest : public ::testing::Test
{
protected:
    std::string Write(const std::string& text)
    {
        const std::string path = (warden::test::ProcessScratchFolder() / "manifest_under_test.tsv").string();
        std::ofstream(path) << text;
        return path;
    }
    std::vector<CorpusReading> m_readings;
    std::string m_error;
};

TEST_F(CorpusManifestTest, ReadsColumnsByNameInAnyOrder)
{
    const std::string path = Write("# seed 5\n"
                                   "voice\tfile\tsplit\tgender\tword\treplay\ttake\textra\n"
                                   "v1\ttrain/v1/aaj_00.wav\ttrain\tM\taaj\t0\t0\tx\n"
                                   "v2\teval/v2/acj_03_replay.wav\teval\tF\tacj\t1\t3\ty\r\n");
    ASSERT_TRUE(ReadCorpusManifest(path, &m_readings, m_error)) << m_error;
    ASSERT_EQ(m_readings.size(), 2u);
    EXPECT_EQ(m_readings[0].file, "train/v1/aaj_00.wav");
    EXPECT_TRUE(m_readings[0].male);
    EXPECT_FALSE(m_readings[0].evaluation);
    EXPECT_FALSE(m_readings[0].replayed);
    EXPECT_EQ(m_readings[1].voice, "v2");
    EXPECT_FALSE(m_readings[1].male);
    EXPECT_TRUE(m_readings[1].evaluation);
    EXPECT_TRUE(m_readings[1].replayed);
    EXPECT_EQ(m_readings[1].take, 3);
    EXPECT_EQ(m_readings[1].word, "acj");
}

TEST_F(CorpusManifestTest, FamilyLoudspeakerAndMicrophoneColumnsAreOptional)
{
    const std::string withFamilies = Write("mic\tfile\tvoice\tgender\tsplit\tword\ttake\treplay\tfamily\tchain\n"
                                           "headset\ta.wav\tv1\tM\ttrain\taaj\t0\t0\tflite\t-\n"
                                           "-\tb.wav\tv1\tM\ttrain\taaj\t1\t1\tflite\tphone\n");
    ASSERT_TRUE(ReadCorpusManifest(withFamilies, &m_readings, m_error)) << m_error;
    ASSERT_EQ(m_readings.size(), 2u);
    EXPECT_EQ(m_readings[0].family, "flite");
    EXPECT_EQ(m_readings[0].mic, "headset");
    EXPECT_EQ(m_readings[0].chain, "-");
    EXPECT_EQ(m_readings[1].chain, "phone");
    EXPECT_EQ(m_readings[1].mic, "-");

    const std::string without = Write("file\tvoice\tgender\tsplit\tword\ttake\treplay\n"
                                      "a.wav\tv1\tM\ttrain\taaj\t0\t0\n");
    ASSERT_TRUE(ReadCorpusManifest(without, &m_readings, m_error)) << m_error;
    ASSERT_EQ(m_readings.size(), 1u);
    EXPECT_TRUE(m_readings[0].family.empty());
    EXPECT_TRUE(m_readings[0].chain.empty());
    EXPECT_TRUE(m_readings[0].mic.empty());
}

struct BadManifest
{
    const char* text;
    const char* messagePart;
};

class BadManifestTest : public CorpusManifestTest, public ::testing::WithParamInterface<BadManifest>
{
};

TEST_P(BadManifestTest, NamesTheProblemAndItsLine)
{
    const std::string path = Write(GetParam().text);
    EXPECT_FALSE(ReadCorpusManifest(path, &m_readings, m_error));
    EXPECT_NE(m_error.find(GetParam().messagePart), std::string::npos) << m_error;
}

INSTANTIATE_TEST_SUITE_P(Cases, BadManifestTest,
    ::testing::Values(BadManifest {"file\tvoice\tgender\tsplit\tword\ttake\n", "no column replay"},
        BadManifest {"file\tvoice\tgender\tsplit\tword\ttake\treplay\nf\tv\tX\ttrain\taaj\t0\t0\n", ":2: malformed"},
        BadManifest {"file\tvoice\tgender\tsplit\tword\ttake\treplay\nf\tv\tM\ttrain\taaj\tone\t0\n", ":2: malformed"},
        BadManifest {"file\tvoice\tgender\tsplit\tword\ttake\treplay\nf\tv\tM\ttest\taaj\t0\t0\n", ":2: malformed"},
        BadManifest {"file\tvoice\tgender\tsplit\tword\ttake\treplay\nf\tv\tM\ttrain\taajj\t0\t0\n", ":2: malformed"},
        BadManifest {"file\tvoice\tgender\tsplit\tword\ttake\treplay\nf\tv\tM\ttrain\taaj\t0\n", ":2: malformed"},
        BadManifest {"# only a comment\n", "no column line"}));

TEST_F(CorpusManifestTest, MissingFileIsAnError)
{
    EXPECT_FALSE(ReadCorpusManifest("/nonexistent/manifest.tsv", &m_readings, m_error));
    EXPECT_NE(m_error.find("cannot open"), std::string::npos);
}

TEST(VocabularyList, ShippedListHasTheSixWordsAndTheEndRefinementWords)
{
    std::vector<VocabularyEntry> words;
    std::string error;
    ASSERT_TRUE(ReadVocabularyList(VOCABULARY_FILE, &words, error)) << error;
    ASSERT_EQ(words.size(), 6u);
    for (const auto& w : words) {
        // The voice dialog refines the end of exactly these three words.
        const bool refined = w.code == "acj" || w.code == "adj" || w.code == "aej";
        EXPECT_EQ(w.trimEnd, refined) << w.code;
        EXPECT_FALSE(w.display.empty());
        EXPECT_FALSE(w.reading.empty());
    }
}

TEST(VocabularyList, RefusesAnIncompleteList)
{
    const std::string path = (warden::test::ProcessScratchFolder() / "vocabulary_under_test.tsv").string();
    std::ofstream(path) << "aaj\tひまわり\thimawari\t0\nabj\tさくらんぼ\tsakuranbo\t0\n";
    std::vector<VocabularyEntry> words;
    std::string error;
    EXPECT_FALSE(ReadVocabularyList(path, &words, error));
    EXPECT_NE(error.find("six word codes"), std::string::npos);
}

} // namespace
} // namespace modelbuild
