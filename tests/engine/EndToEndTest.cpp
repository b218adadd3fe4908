// The engine as the voice dialog drives it, through its C interface only: an enrolment of five
// readings, then verifications of the same talker and of others, over a fabricated engine folder with
// the engine's default sizes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "EngineFolderFixture.h"
#include "HalvoxEngine.h"

namespace {

namespace fs = std::filesystem;
using warden::test::TestReading;

constexpr int kEnrolled = 4; // a male talker the background models never heard
constexpr int kWord = 1; // "abj"
constexpr int kEnrolTakes = 5;

class EngineEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_scratch = new warden::test::ScratchEngineFolder(warden::test::FixtureOptions {});
        s_root = new fs::path(s_scratch->Path());
        s_ready = s_scratch->Ready();
        if (!s_ready)
            std::fprintf(stderr, "fixture: %s\n", s_scratch->Error().c_str());
    }

    static void TearDownTestSuite()
    {
        delete s_root;
        s_root = nullptr;
        delete s_scratch;
        s_scratch = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_ready);
        ASSERT_NE(SVE_Initialize(), nullptr);
    }

    void TearDown() override
    {
        SVE_DestructMemories();
        SVE_Destruct();
    }

    // The voice dialog's engine set-up.
    static void Configure(int mode)
    {
        SVE_SetbNetVersion(1);
        SVE_PutDir(s_root->c_str());
        SVE_AnalParams(11025, 3000, 240, 80);
        SVE_NoiseParams(0, 0.0, 1);
        SVE_EngineParams(16, 19, 5, 128);
        SVE_CopyParams(2.4);
        SVE_SetbSpeech(0);
        SVE_SameWordDist(1.2f);
        SVE_HMMParams(1, 0.0005, 0.8, 0.1, 0.1);
        SVE_EPDParams(60, 250, 200, 100000);
        SVE_Security(0.3f);
        SVE_PutMode(mode);
        SVE_PutID("talker4");
        SVE_PutPW("word");
        SVE_PutNick(warden::test::kWordCodes[kWord]);
    }

    static int Enrol()
    {
        Configure(1);
        SVE_PutMaxRepeat(kEnrolTakes);
        for (int take = 0; take < kEnrolTakes; ++take) {
            auto samples = TestReading(kEnrolled, kWord, take);
            const int count = static_cast<int>(samples.size());
            if (SVE_GetEndpointShort(samples.data(), count, 0) != 1
                || SVE_CheckSexSpeech(samples.data(), count, take) != 1) {
                std::fprintf(stderr, "take %d refused: %s\n", take, SVE_GetLabelString());
                return 0;
            }
        }
        return SVE_Train();
    }

    static int Verify(int voice, int take)
    {
        SVE_Destruct();
        SVE_Initialize();
        Configure(2);
        auto samples = TestReading(voice, kWord, take);
        const int count = static_cast<int>(samples.size());
        if (SVE_GetEndpointShort(samples.data(), count, 0) != 1 || SVE_CheckSexSpeech(samples.data(), count, 0) != 1)
            return -1;
        SVE_VCopy();
        const int accepted = SVE_Verify();
        std::printf("[ figures  ] voice %d take %d: %s\n", voice, take, SVE_GetStatusString());
        return accepted;
    }

    static warden::test::ScratchEngineFolder* s_scratch;
    static fs::path* s_root;
    static bool s_ready;
};

warden::test::ScratchEngineFolder* EngineEndToEnd::s_scratch = nullptr;
fs::path* EngineEndToEnd::s_root = nullptr;
bool EngineEndToEnd::s_ready = false;

TEST_F(EngineEndToEnd, EnrolledTalkerIsAcceptedAndOthersAreDenied)
{
    ASSERT_EQ(Enrol(), 1) << SVE_GetLabelString();
    const fs::path model = *s_root / "work" / "abj.bin";
    ASSERT_TRUE(fs::exists(model));
    int major = 0, minor = 0;
    EXPECT_EQ(SVE_ModelVersionCheck(&major, &minor), 1);
    EXPECT_EQ(major * 10 + minor, 37);

    EXPECT_EQ(Verify(kEnrolled, 7), 1) << "the enrolled talker's new reading";
    EXPECT_EQ(SVE_GetbUpdate(), 1) << "an acceptance adapts the model";
    EXPECT_EQ(Verify(10, 7), 0) << "a female talker";
    EXPECT_EQ(Verify(3, 7), 0) << "another male talker";
    // The nearest talkers of the synthetic set differ by 2.5 % in tract length; their results are
    // printed for the record, not asserted: the fabricated background covers them unevenly.
    for (int voice : {5, 9, 11})
        Verify(voice, 8);
}

} // namespace
