// The engine's C interface: context lifetime, parameters, texts, the work memory and the refusals
// that keep a misused interface from running over its buffers.
#include <gtest/gtest.h>

#include "ProcessScratchFolder.h"

#include <cmath>
#include <string>
#include <vector>

#include "EngineContext.h"
#include "HalvoxEngine.h"
#include "ModelFiles.h"
#include "ProcessContext.h"

#include <filesystem>
#include <fstream>

namespace {

using halvox::CurrentContext;

class EngineInterface : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(SVE_Initialize(), nullptr); }
    void TearDown() override { SVE_Destruct(); }

    static halvox::EngineContext& Context() { return *CurrentContext(); }
};

// A tone burst in quiet: loud enough to be found, long enough to pass the length limits.
std::vector<short> ToneReading(int count = 33075, int begin = 8000, int end = 17000, double amplitude = 3000.0)
{
    std::vector<short> samples(count, 0);
    for (int n = 0; n < count; ++n) {
        double noise = ((n * 7919) % 13) - 6; // faint, deterministic background
        double value = noise;
        if (n >= begin && n < end)
            value += amplitude * std::sin(2.0 * M_PI * 2756.25 * n / 11025.0)
                * std::sin(M_PI * (n - begin) / (end - begin));
        samples[n] = static_cast<short>(value);
    }
    return samples;
}

TEST_F(EngineInterface, FreshContextHasTheDocumentedDefaults)
{
    EXPECT_EQ(SVE_GetErrorNumber(), 0);
    EXPECT_EQ(SVE_GetSampleValue(), 240);
    EXPECT_EQ(SVE_GetShiftValue(), 80);
    EXPECT_EQ(SVE_GetSex(), 0);
    EXPECT_EQ(SVE_GetbUpdate(), 0);
    EXPECT_STREQ(SVE_GetLabelString(), "");
    EXPECT_STREQ(SVE_GetStatusString(), "");
    const auto& c = Context();
    EXPECT_EQ(c.mode, 2);
    EXPECT_STREQ(c.wordText, "veskaloriman");
    EXPECT_STREQ(c.wordCode, "aak");
    EXPECT_EQ(c.perUserFolders, 1);
    EXPECT_EQ(c.maxRepeat, 3);
    EXPECT_FLOAT_EQ(c.securityMargin, 0.26f);
    EXPECT_DOUBLE_EQ(c.copyFactor, 2.4);
    EXPECT_EQ(c.headerOut.versionMajor, 3);
    EXPECT_EQ(c.headerOut.versionMinor, 8);
    EXPECT_EQ(c.workMemoryReady, 0);
    EXPECT_EQ(c.folder[std::char_traits<char>::length(c.folder) - 1], '/');
}

TEST_F(EngineInterface, FolderGetsExactlyOneTrailingSeparator)
{
    SVE_PutDir("/srv/engine");
    EXPECT_STREQ(Context().folder, "/srv/engine/");
    SVE_PutDir("/srv/engine/");
    EXPECT_STREQ(Context().folder, "/srv/engine/");
    SVE_PutDir("");
    EXPECT_STREQ(Context().folder, "/");
}

TEST_F(EngineInterface, OverlongTextsAreCutToTheirFields)
{
    const std::string longText(600, 'x');
    SVE_PutDir(longText.c_str());
    EXPECT_EQ(std::string(Context().folder), std::string(254, 'x') + "/");
    SVE_PutID(longText.c_str());
    EXPECT_EQ(std::string(Context().userId).size(), 255u);
    SVE_PutPW(nullptr);
    EXPECT_STREQ(Context().wordText, "");
}

TEST_F(EngineInterface, EngineParamsDeriveTheDependentSizes)
{
    SVE_EngineParams(12, 15, 4, 64);
    const auto& c = Context();
    EXPECT_EQ(c.lpcOrder, 12);
    EXPECT_EQ(c.cepstralOrder, 15);
    EXPECT_EQ(c.featureDim, 16);
    EXPECT_EQ(c.hmmStates, 4);
    EXPECT_EQ(c.codebookSize, 64);
    EXPECT_EQ(c.combinedSize, 128);
    EXPECT_EQ(c.hmmSymbols, 64);
}

TEST_F(EngineInterface, NetVersionSwitchesTheFolderModeBothWays)
{
    SVE_SetbNetVersion(7);
    EXPECT_EQ(Context().perUserFolders, 0);
    SVE_SetbNetVersion(0);
    EXPECT_EQ(Context().perUserFolders, 1);
}

TEST_F(EngineInterface, EndpointValuePacksStartLowAndEndHigh)
{
    Context().startFrame = 37;
    Context().endFrame = 251;
    const auto packed = static_cast<uint64_t>(SVE_GetEndpointValue());
    EXPECT_EQ(packed & 0xffffffffu, 37u);
    EXPECT_EQ(packed >> 32, 251u);
}

TEST_F(EngineInterface, WorkMemoryIsSizedFromTheParametersAtFirstUse)
{
    auto samples = ToneReading();
    SVE_PutMaxRepeat(5);
    SVE_GetEndpointShort(samples.data(), static_cast<int>(samples.size()), 0);
    const auto& c = Context();
    ASSERT_TRUE(c.work);
    EXPECT_EQ(c.workMemoryReady, 1);
    EXPECT_EQ(c.work->speech.size(), 33076u);
    ASSERT_EQ(c.work->slots.size(), 5u);
    EXPECT_EQ(c.work->slotCapacity, 414);
    EXPECT_EQ(c.work->slots[4].features.size(), 414u * 20u);
    EXPECT_EQ(c.work->user.b.size(), 5u * 128u);

    EXPECT_EQ(SVE_DestructMemories(), 0);
    EXPECT_FALSE(Context().work);
    EXPECT_EQ(Context().workMemoryReady, 0);
    EXPECT_EQ(SVE_DestructMemories(), 0);
}

TEST_F(EngineInterface, ToneBurstIsFoundAndPacked)
{
    auto samples = ToneReading();
    ASSERT_EQ(SVE_GetEndpointShort(samples.data(), static_cast<int>(samples.size()), 0), 1)
        << "error " << SVE_GetErrorNumber();
    EXPECT_EQ(SVE_GetErrorNumber(), 0);
    const auto packed = static_cast<uint64_t>(SVE_GetEndpointValue());
    const int start = static_cast<int>(packed & 0xffffffffu);
    const int end = static_cast<int>(packed >> 32);
    // The burst spans samples 8000..17000, frames 100..212 of 80 samples; its quiet flanks may be cut.
    EXPECT_GE(start, 95);
    EXPECT_LE(start, 130);
    EXPECT_GE(end, 180);
    EXPECT_LE(end, 215);
    EXPECT_EQ(Context().work->speechCount, (end - start) * 80);
}

TEST_F(EngineInterface, SizingParameterChangedUnderLiveWorkMemoryIsRefused)
{
    auto samples = ToneReading();
    ASSERT_EQ(SVE_GetEndpointShort(samples.data(), static_cast<int>(samples.size()), 0), 1);
    SVE_AnalParams(22050, 3000, 240, 80); // twice the speech buffer, without releasing the memory
    auto longer = ToneReading(66150);
    EXPECT_EQ(SVE_GetEndpointShort(longer.data(), static_cast<int>(longer.size()), 0), 0);
    EXPECT_EQ(SVE_GetErrorNumber(), -1);
    EXPECT_NE(std::string(SVE_GetLabelString()).find("Work memory"), std::string::npos);

    SVE_DestructMemories();
    SVE_AnalParams(11025, 3000, 240, 80);
    samples = ToneReading();
    EXPECT_EQ(SVE_GetEndpointShort(samples.data(), static_cast<int>(samples.size()), 0), 1);
}

struct BadShape
{
    int sampleRate, maxDurationMs, windowLength, frameShift, maxRepeat;
};

class EngineNonsenseParameters : public EngineInterface, public ::testing::WithParamInterface<BadShape>
{
};

TEST_P(EngineNonsenseParameters, AreRefusedWithoutAllocatingOrCrashing)
{
    const BadShape p = GetParam();
    SVE_AnalParams(p.sampleRate, p.maxDurationMs, p.windowLength, p.frameShift);
    SVE_PutMaxRepeat(p.maxRepeat);
    auto samples = ToneReading();
    EXPECT_EQ(SVE_GetEndpointShort(samples.data(), static_cast<int>(samples.size()), 1), 0);
    EXPECT_EQ(SVE_GetErrorNumber(), -1);
}

INSTANTIATE_TEST_SUITE_P(Shapes, EngineNonsenseParameters,
    ::testing::Values(BadShape {0, 3000, 240, 80, 3}, BadShape {11025, -5, 240, 80, 3},
        BadShape {11025, 3000, 240, 0, 3}, BadShape {11025, 3000, 240, -80, 3},
        BadShape {2000000000, 2000000000, 240, 80, 3}, BadShape {11025, 3000, 240, 80, 0},
        BadShape {11025, 3000, 240, 80, -2}));

TEST_F(EngineInterface, NullOrEmptyRecordingIsRejected)
{
    EXPECT_EQ(SVE_GetEndpointShort(nullptr, 33075, 0), 0);
    EXPECT_EQ(SVE_GetErrorNumber(), -1);
    short one = 5;
    EXPECT_EQ(SVE_GetEndpointShort(&one, 0, 0), 0);
    EXPECT_EQ(SVE_GetEndpointShort(&one, -4, 0), 0);
}

TEST_F(EngineInterface, SecondInitializeStartsFromTheDefaultsAgain)
{
    SVE_PutMode(1);
    SVE_PutDir("/elsewhere");
    ASSERT_NE(SVE_Initialize(), nullptr);
    EXPECT_EQ(Context().mode, 2);
    EXPECT_STREQ(Context().folder, halvox::kDefaultFolder);
}

// The version check reads the user model where training writes it, in both folder modes.
class EngineVersionCheck : public EngineInterface
{
protected:
    void SetUp() override
    {
        EngineInterface::SetUp();
        m_root = warden::test::ProcessScratchFolder() / "version-check";
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "user" / "u7");
        std::filesystem::create_directories(m_root / "work");
        SVE_PutDir(m_root.c_str());
        SVE_PutID("u7");
        SVE_PutNick("abj");
    }

    static halvox::UserModel SmallModel()
    {
        halvox::UserModel model;
        model.userId = "u7";
        model.wordText = "word";
        model.code = "abj";
        model.dim = 2;
        model.codebookSize = 1;
        model.states = 1;
        model.auxMean = {0, 0};
        model.codewords = {1, 2};
        model.weights = {0.5f};
        model.dimensionWeights = {1, 1};
        model.pi = {1};
        model.a = {1};
        model.b = {1};
        model.discrimination = {1};
        return model;
    }

    std::filesystem::path m_root;
};

TEST_F(EngineVersionCheck, ReadsTheModelTrainingWritesInEitherFolderMode)
{
    ASSERT_EQ(
        halvox::WriteUserModel((m_root / "user/u7/abj.bin").string(), SmallModel()), halvox::ModelFileError::None);
    int major = 0, minor = 0;
    EXPECT_EQ(SVE_ModelVersionCheck(&major, &minor), 1);
    EXPECT_EQ(major, 3);
    EXPECT_EQ(minor, 7);
    EXPECT_EQ(Context().headerIn.versionMinor, 7);

    SVE_SetbNetVersion(1); // now the work folder, which holds nothing yet
    EXPECT_EQ(SVE_ModelVersionCheck(&major, &minor), 0);
    EXPECT_EQ(
        std::string(SVE_GetLabelString()), "[HALVOX] Cannot open file! [" + (m_root / "work/abj.bin").string() + "]");
    ASSERT_EQ(halvox::WriteUserModel((m_root / "work/abj.bin").string(), SmallModel()), halvox::ModelFileError::None);
    EXPECT_EQ(SVE_ModelVersionCheck(&major, &minor), 1);
}

TEST_F(EngineVersionCheck, DamagedModelsAreFormatErrors)
{
    const std::string path = (m_root / "user/u7/abj.bin").string();
    const std::string expected = "[HALVOX] File format error! [" + path + "]";
    auto bytes = halvox::SerialiseUserModel(SmallModel());
    for (size_t keep : {size_t {6}, size_t {17}, size_t {30}}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), keep);
        int major = -1, minor = -1;
        EXPECT_EQ(SVE_ModelVersionCheck(&major, &minor), 0) << keep;
        EXPECT_EQ(SVE_GetLabelString(), expected) << keep;
        EXPECT_EQ(major, -1);
    }
    bytes[5] = '_';
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    int major = 0, minor = 0;
    EXPECT_EQ(SVE_ModelVersionCheck(&major, &minor), 0);
    EXPECT_EQ(SVE_GetLabelString(), expected);
}

TEST(EngineWithoutContext, EveryCallIsHarmless)
{
    SVE_Destruct();
    SVE_Destruct();
    EXPECT_EQ(SVE_DestructMemories(), 0);
    SVE_PutDir("/x");
    SVE_PutMode(1);
    EXPECT_EQ(SVE_GetErrorNumber(), 0);
    EXPECT_EQ(SVE_GetEndpointValue(), 0);
    EXPECT_STREQ(SVE_GetLabelString(), "");
    short samples[4] = {};
    EXPECT_EQ(SVE_GetEndpointShort(samples, 4, 0), 0);
    int major = -1, minor = -1;
    EXPECT_EQ(SVE_ModelVersionCheck(&major, &minor), 0);
}

} // namespace
