#include "SpeechSegmenter.h"

#include "PreFilter.h"
#include "SyntheticAudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

namespace halvox {
namespace {

using namespace testaudio;

constexpr int kFull = 33075;
constexpr int kSpeechCapacity = 33076;
constexpr int16_t kStale = 1111;

Samples WordAt800(const std::vector<Partial>& partials, double noiseSigma, double backgroundSigma)
{
    return Compose(kFull, Noise(kFull, backgroundSigma, 1), {{Ms(800), Word(900, partials, noiseSigma, 2)}});
}

// A tone at the filter's peak frequency rising about 10 % per frame from nearly nothing: no frame stands
// out enough to place an onset, so the detector keeps its initial frames 5 and N - 5.
Samples SlowRamp(int count)
{
    std::vector<double> ramp(count);
    for (int n = 0; n < count; ++n) {
        const double amplitude = std::min(20.0 * std::pow(1.1, n / 80.0), 3000.0);
        ramp[n] = amplitude * std::sin(2.0 * std::numbers::pi * kPeakGainHz * n / kRate);
    }
    return Compose(count, ramp, {});
}

class SpeechSegmenterTest : public ::testing::Test
{
protected:
    SegmentResult Segment(Samples recording, bool enrolment, bool trimEnd, EndpointParams params = {})
    {
        m_recording = std::move(recording);
        SegmentRequest request;
        request.enrolment = enrolment;
        request.trimEnd = trimEnd;
        request.params = params;
        return SegmentSpeech(m_recording.data(), static_cast<int>(m_recording.size()), request, m_speech.data(),
            static_cast<int>(m_speech.size()), &m_speechCount);
    }

    Samples m_recording;
    Samples m_speech = Samples(kSpeechCapacity, kStale);
    int m_speechCount = -1;
};

TEST_F(SpeechSegmenterTest, TakesTheUnfilteredWordIntoTheSpeechBuffer)
{
    const Samples original = WordAt800(Voiced(1), 600, 5);
    const SegmentResult result = Segment(original, false, false);
    ASSERT_EQ(result.taken, 1);
    EXPECT_EQ(result.error, kEndpointAccepted);
    ASSERT_EQ(m_speechCount, (result.endFrame - result.startFrame) * 80);
    EXPECT_TRUE(
        std::equal(m_speech.begin(), m_speech.begin() + m_speechCount, original.begin() + result.startFrame * 80));
    EXPECT_EQ(m_speech[m_speechCount], kStale);

    Samples filtered = original;
    PreFilter(filtered.data(), kFull);
    EXPECT_EQ(m_recording, filtered) << "the caller's buffer is left pre-filtered";
}

TEST_F(SpeechSegmenterTest, RejectedRecordingLeavesTheSpeechBufferAlone)
{
    m_speechCount = 1234;
    const SegmentResult result = Segment(WordAt800({{2600, 9000}}, 0, 5), true, true);
    EXPECT_EQ(result.taken, 0);
    EXPECT_EQ(result.error, kEndpointTooLoud);
    EXPECT_EQ(m_speechCount, 1234);
    EXPECT_EQ(std::count(m_speech.begin(), m_speech.end(), kStale), kSpeechCapacity);
}

TEST_F(SpeechSegmenterTest, EnrolmentWidensByFourFramesEachSide)
{
    const SegmentResult verify = Segment(WordAt800(Voiced(1), 600, 5), false, false);
    const SegmentResult enrol = Segment(WordAt800(Voiced(1), 600, 5), true, false);
    ASSERT_EQ(verify.error, kEndpointAccepted);
    ASSERT_EQ(enrol.error, kEndpointAccepted);
    EXPECT_EQ(enrol.startFrame, verify.startFrame - 4);
    EXPECT_EQ(enrol.endFrame, verify.endFrame + 4);
}

// With no onset ever placed the word spans frames 5 ... N - 5; widening stops at frame N - 3.
TEST_F(SpeechSegmenterTest, WideningStaysInsideTheRecording)
{
    const int count = 16000; // N = 200
    const SegmentResult verify = Segment(SlowRamp(count), false, false);
    ASSERT_EQ(verify.error, kEndpointAccepted);
    EXPECT_EQ(verify.startFrame, 5);
    EXPECT_EQ(verify.endFrame, 195);
    const SegmentResult enrol = Segment(SlowRamp(count), true, false);
    EXPECT_EQ(enrol.startFrame, 1);
    EXPECT_EQ(enrol.endFrame, 197);
    EXPECT_EQ(m_speechCount, 196 * 80);
}

TEST_F(SpeechSegmenterTest, HighFrequencyNoiseAroundTheWordIsReportedButTaken)
{
    const SegmentResult result = Segment(WordAt800(Voiced(1), 600, 60), true, false);
    EXPECT_EQ(result.taken, 1);
    EXPECT_EQ(result.error, kEndpointNoisyBackground);
    EXPECT_GT(m_speechCount, 0);

    const SegmentResult quiet = Segment(WordAt800(Voiced(1), 600, 5), true, false);
    EXPECT_EQ(quiet.error, kEndpointAccepted);
}

TEST_F(SpeechSegmenterTest, VerificationSkipsTheEnrolmentChecks)
{
    EXPECT_EQ(Segment(WordAt800(Voiced(1), 600, 60), false, false).error, kEndpointAccepted);
    EXPECT_EQ(Segment(WordAt800(VoicedOnBins(0.3), 0, 0), false, true).error, kEndpointAccepted);
}

class SpeechHighBandTest : public SpeechSegmenterTest, public ::testing::WithParamInterface<bool>
{
};

// Speech without a high band is reported in enrolment whether or not the end is refined.
TEST_P(SpeechHighBandTest, SpeechWithoutHighBandIsReportedButTaken)
{
    const SegmentResult result = Segment(WordAt800(VoicedOnBins(0.3), 0, 0), true, GetParam());
    EXPECT_EQ(result.taken, 1);
    EXPECT_EQ(result.error, kEndpointNoHighBand);
    EXPECT_GT(result.highBandLevel, 0.0);
    EXPECT_LE(result.highBandLevel, 1000.0);
}

TEST_P(SpeechHighBandTest, SpeechWithHighBandPasses)
{
    const SegmentResult result = Segment(WordAt800(Voiced(1), 600, 5), true, GetParam());
    EXPECT_EQ(result.error, kEndpointAccepted);
    EXPECT_GT(result.highBandLevel, 1000.0);
}

INSTANTIATE_TEST_SUITE_P(TrimEnd, SpeechHighBandTest, ::testing::Bool());

TEST_F(SpeechSegmenterTest, EndRefinementOnlyShortens)
{
    const SegmentResult whole = Segment(WordAt800(Voiced(1), 600, 5), true, false);
    const SegmentResult trimmed = Segment(WordAt800(Voiced(1), 600, 5), true, true);
    EXPECT_EQ(trimmed.startFrame, whole.startFrame);
    EXPECT_LE(trimmed.endFrame, whole.endFrame);
    EXPECT_EQ(m_speechCount, (trimmed.endFrame - trimmed.startFrame) * 80);
    // The level is measured on the segment before refinement, so both agree.
    EXPECT_DOUBLE_EQ(trimmed.highBandLevel, whole.highBandLevel);
}

TEST_F(SpeechSegmenterTest, SegmentLongerThanTheBufferIsShortenedToWholeFrames)
{
    m_speech.assign(4000 + 1, kStale);
    SegmentRequest request;
    m_recording = WordAt800(Voiced(1), 600, 5);
    const SegmentResult result
        = SegmentSpeech(m_recording.data(), kFull, request, m_speech.data(), 4000, &m_speechCount);
    ASSERT_EQ(result.taken, 1);
    EXPECT_EQ(result.endFrame - result.startFrame, 50);
    EXPECT_EQ(m_speechCount, 4000);
    EXPECT_EQ(m_speech[4000], kStale);
}

TEST_F(SpeechSegmenterTest, MissingRecordingIsRefused)
{
    const SegmentResult result = SegmentSpeech(nullptr, 20000, {}, m_speech.data(), kSpeechCapacity, &m_speechCount);
    EXPECT_EQ(result.taken, 0);
    EXPECT_EQ(result.error, kEndpointBadLength);
    EXPECT_EQ(m_speechCount, -1);
}

TEST_F(SpeechSegmenterTest, TooShortRecordingIsFilteredThenRefused)
{
    EndpointParams params;
    params.minFrames = 0;
    const Samples original = GoldenSignal(1119, 8);
    const SegmentResult result = Segment(original, false, false, params);
    EXPECT_EQ(result.taken, 0);
    EXPECT_EQ(result.error, kEndpointBadLength);
    Samples filtered = original;
    PreFilter(filtered.data(), 1119);
    EXPECT_EQ(m_recording, filtered);
    EXPECT_EQ(m_speechCount, -1);
}

class SegmenterFramingTest : public SpeechSegmenterTest, public ::testing::WithParamInterface<EndpointParams>
{
};

TEST_P(SegmenterFramingTest, UnusableFramingIsRefused)
{
    const SegmentResult result = Segment(WordAt800(Voiced(1), 600, 5), true, true, GetParam());
    EXPECT_EQ(result.taken, 0);
    EXPECT_EQ(result.error, kEndpointBadLength);
}

INSTANTIATE_TEST_SUITE_P(Framings, SegmenterFramingTest,
    ::testing::Values(EndpointParams {240, 0, 60, 250}, EndpointParams {240, -80, 60, 250},
        EndpointParams {0, 80, 60, 250}, EndpointParams {-1, 80, 60, 250}));

// Odd limits may let tiny or inverted segments through; nothing may be read or written out of place.
TEST_F(SpeechSegmenterTest, OddLengthLimitsStayInsideTheBuffers)
{
    for (const EndpointParams& params : {EndpointParams {240, 80, -1000, 1000}, EndpointParams {240, 80, 0, 0},
             EndpointParams {240, 5000, -10, 10}, EndpointParams {3000, 40, -10, 2000}}) {
        const SegmentResult result = Segment(WordAt800(Voiced(1), 600, 5), true, true, params);
        if (result.taken == 1) {
            EXPECT_GE(m_speechCount, 0);
            EXPECT_LE(m_speechCount, kSpeechCapacity);
            EXPECT_GE(result.endFrame, result.startFrame);
        }
    }
}

struct OffsetCase
{
    std::string name;
    int frames;
    int riseAt; // ratios are 0 before this frame and 1 from it on; -1: all NaN
    int expected;
};

class RefinedEndOffsetTest : public ::testing::TestWithParam<OffsetCase>
{
};

TEST_P(RefinedEndOffsetTest, FindsTheRiseWithinTheSearchedRange)
{
    const OffsetCase c = GetParam();
    std::vector<float> ratios(c.frames, std::numeric_limits<float>::quiet_NaN());
    if (c.riseAt >= 0) {
        for (int j = 0; j < c.frames; ++j) {
            ratios[j] = j >= c.riseAt ? 1.0f : 0.0f;
        }
    }
    EXPECT_EQ(RefinedEndOffset(ratios), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Ratios, RefinedEndOffsetTest,
    ::testing::Values(OffsetCase {"RiseFoundThenMarginAdded", 100, 80, 89},
        OffsetCase {"RiseNearTheFloor", 100, 62, 69}, OffsetCase {"RiseBelowTheFloorIsIgnored", 100, 30, 99},
        OffsetCase {"FlatKeepsTheLastFrame", 100, 0, 99}, OffsetCase {"SilentFramesKeepTheLastFrame", 100, -1, 99},
        OffsetCase {"RiseAtTheVeryEnd", 100, 99, 99}, OffsetCase {"FewFrames", 3, 2, 2},
        OffsetCase {"NoFrames", 0, 0, 0}),
    [](const ::testing::TestParamInfo<OffsetCase>& info) { return info.param.name; });

TEST(SpeechBandsTest, LastFrameReadsZerosPastTheSegment)
{
    // 300 samples: F = 2, the second frame (128 ... 383) reaches past the end.
    const Samples segment = GoldenSignal(300, 12);
    Samples padded(512, 0);
    std::copy(segment.begin(), segment.end(), padded.begin());
    const SpeechBandAnalysis fromSegment = AnalyseSpeechBands(segment.data(), 300);
    const SpeechBandAnalysis fromPadded = AnalyseSpeechBands(padded.data(), 300);
    ASSERT_EQ(fromSegment.frames, 2);
    EXPECT_DOUBLE_EQ(fromSegment.highBandLevel, fromPadded.highBandLevel);
    EXPECT_EQ(fromSegment.ratios, fromPadded.ratios);
    EXPECT_EQ(fromSegment.ratios[0], 0.0f); // j = 0 weighs the first frame out
}

// A real spoken word, synthesised at test time when the speech synthesiser is installed.
TEST(SpokenWordTest, SynthesisedWordIsFoundInsideItsPadding)
{
    const std::string script = std::string(ENGINE_TEST_DATA_DIR) + "/make_spoken_word.sh";
    const std::string output = std::string(ENGINE_TEST_BINARY_DIR) + "/spoken_word.raw";
    if (std::system("command -v espeak-ng >/dev/null 2>&1 && command -v sox >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "espeak-ng or sox is not installed";
    }
    const std::string command = "sh '" + script + "' '" + output + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream file(output, std::ios::binary);
    Samples recording(kFull, 0);
    file.read(reinterpret_cast<char*>(recording.data()), kFull * 2);
    ASSERT_EQ(file.gcount(), kFull * 2);

    Samples speech(kSpeechCapacity, 0);
    int speechCount = 0;
    SegmentRequest request;
    request.enrolment = true;
    request.trimEnd = true;
    const SegmentResult result
        = SegmentSpeech(recording.data(), kFull, request, speech.data(), kSpeechCapacity, &speechCount);
    EXPECT_EQ(result.taken, 1);
    EXPECT_EQ(result.error, kEndpointAccepted);
    // The script pads the word with 0.8 s of silence in front: frame 110.
    EXPECT_GE(result.startFrame, 100);
    EXPECT_LE(result.startFrame, 125);
    EXPECT_GE(result.endFrame - result.startFrame, 60);
}

} // namespace
} // namespace halvox
