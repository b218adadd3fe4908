#include "EndpointDetector.h"

#include "PreFilter.h"
#include "SyntheticAudio.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace halvox {
namespace {

using namespace testaudio;

constexpr int kFull = 33075; // 3 s, as the dialog records

EndpointResult DetectFiltered(Samples recording, const EndpointParams& params = {})
{
    PreFilter(recording.data(), static_cast<int>(recording.size()));
    return DetectEndpoints(recording.data(), static_cast<int>(recording.size()), params);
}

// A word spoken from 800 ms to 1700 ms: frames about 110 ... 234.
Samples WordAt800(const std::vector<Partial>& partials, double noiseSigma, double backgroundSigma)
{
    return Compose(kFull, Noise(kFull, backgroundSigma, 1), {{Ms(800), Word(900, partials, noiseSigma, 2)}});
}

struct ErrorCase
{
    std::string name;
    std::function<Samples()> recording;
    int error;
};

class EndpointErrorTest : public ::testing::TestWithParam<ErrorCase>
{
};

TEST_P(EndpointErrorTest, SyntheticRecordingGivesItsErrorNumber)
{
    EXPECT_EQ(DetectFiltered(GetParam().recording()).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Recordings, EndpointErrorTest,
    ::testing::Values(ErrorCase {"Word", [] { return WordAt800(Voiced(1), 600, 5); }, kEndpointAccepted},
        // 3 s of silence: no onset, so the whole recording (403 frames) is the "word" and too long.
        ErrorCase {"SilenceThreeSeconds", [] { return Silence(kFull); }, kEndpointBadLength},
        // Shorter silence fits the length limits and fails on its level.
        ErrorCase {"SilenceOneAndHalfSeconds", [] { return Silence(16000); }, kEndpointTooWeak},
        ErrorCase {"TooShort",
            [] {
                return Compose(kFull, Noise(kFull, 5, 1), {{Ms(800), Word(250, Voiced(1), 600, 2)}});
            },
            kEndpointBadLength},
        ErrorCase {"TooLong",
            [] {
                return Compose(kFull, Noise(kFull, 5, 1), {{Ms(300), Word(2500, Voiced(1), 600, 2)}});
            },
            kEndpointBadLength},
        ErrorCase {"TooWeak",
            [] {
                return WordAt800({{kPeakGainHz, 25}}, 0, 0);
            },
            kEndpointTooWeak},
        ErrorCase {"WeakAgainstBackground",
            [] {
                return WordAt800({{kPeakGainHz, 300}}, 0, 100);
            },
            kEndpointTooWeak},
        ErrorCase {"TooLoud",
            [] {
                return WordAt800({{2600, 9000}}, 0, 5);
            },
            kEndpointTooLoud}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

TEST(EndpointDetectorTest, WordIsFoundWhereItWasSpoken)
{
    const EndpointResult result = DetectFiltered(WordAt800(Voiced(1), 600, 5));
    ASSERT_EQ(result.error, kEndpointAccepted);
    // Spoken over frames 110.25 ... 234.3; the ramps are 30 ms (about 4 frames) each.
    EXPECT_GE(result.start, 104);
    EXPECT_LE(result.start, 114);
    EXPECT_GE(result.end, 226);
    EXPECT_LE(result.end, 238);
}

// A click long enough to count as a word, then a much louder word after the click's end: detection
// restarts after the click, and the word is reported.
TEST(EndpointDetectorTest, LouderSoundAfterTheEndRestartsDetection)
{
    const std::vector<double> click = Word(150, Voiced(1), 0, 3);
    const Samples withWord
        = Compose(kFull, Noise(kFull, 5, 1), {{Ms(300), click}, {Ms(1200), Word(900, Voiced(3), 1800, 2)}});
    const EndpointResult restarted = DetectFiltered(withWord);
    const EndpointResult wordAlone
        = DetectFiltered(Compose(kFull, Noise(kFull, 5, 1), {{Ms(1200), Word(900, Voiced(3), 1800, 2)}}));
    EXPECT_EQ(restarted.error, kEndpointAccepted);
    EXPECT_EQ(restarted.start, wordAlone.start);
    EXPECT_EQ(restarted.end, wordAlone.end);

    // A following word only slightly louder than the click does not discard the click.
    const Samples withQuietWord
        = Compose(kFull, Noise(kFull, 5, 1), {{Ms(300), click}, {Ms(1200), Word(900, Voiced(1.2), 0, 2)}});
    const EndpointResult kept = DetectFiltered(withQuietWord);
    EXPECT_EQ(kept.error, kEndpointBadLength);
    EXPECT_LT(kept.end, 70); // the click's end, 450 ms = frame 62
}

// A blip too short to confirm an onset must be forgotten, so that the word after it starts where it does.
TEST(EndpointDetectorTest, UnconfirmedOnsetIsDropped)
{
    const std::vector<double> blip = Tones(40, {{kPeakGainHz, 300}});
    const Samples recording
        = Compose(kFull, Noise(kFull, 5, 1), {{Ms(300), blip}, {Ms(1200), Word(900, Voiced(1.2), 0, 2)}});
    const EndpointResult withBlip = DetectFiltered(recording);
    const EndpointResult wordAlone
        = DetectFiltered(Compose(kFull, Noise(kFull, 5, 1), {{Ms(1200), Word(900, Voiced(1.2), 0, 2)}}));
    ASSERT_EQ(wordAlone.error, kEndpointAccepted);
    EXPECT_EQ(withBlip.error, kEndpointAccepted);
    EXPECT_EQ(withBlip.start, wordAlone.start);
    EXPECT_EQ(withBlip.end, wordAlone.end);
}

struct Segment
{
    int firstFrame;
    int lastFrame;
    int level;
};

struct ProfileCase
{
    std::string name;
    int frames;
    std::vector<Segment> segments;
    int start;
    int end;
    int error = kEndpointAccepted;
};

// Frames of 80 samples that do not overlap, each of alternating sign and constant magnitude, so that every
// frame level equals the profile exactly and start/end can be derived by hand.
Samples LevelProfile(const ProfileCase& c, int floor)
{
    std::vector<int> levels(c.frames, floor);
    for (const Segment& segment : c.segments) {
        std::fill(levels.begin() + segment.firstFrame, levels.begin() + segment.lastFrame + 1, segment.level);
    }
    Samples samples(static_cast<size_t>(c.frames) * 80);
    for (size_t n = 0; n < samples.size(); ++n) {
        const int level = levels[n / 80];
        samples[n] = static_cast<int16_t>(n % 2 == 0 ? level : -level);
    }
    return samples;
}

class EndpointProfileTest : public ::testing::TestWithParam<ProfileCase>
{
};

// Expected frames from tests/engine/golden/derive_endpoint_golden.py.
TEST_P(EndpointProfileTest, FindsTheDerivedFrames)
{
    const ProfileCase& c = GetParam();
    const Samples recording = LevelProfile(c, 10);
    const EndpointParams params {80, 80, 60, 250};
    const EndpointResult result = DetectEndpoints(recording.data(), static_cast<int>(recording.size()), params);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.start, c.start);
    EXPECT_EQ(result.end, c.end);
}

INSTANTIATE_TEST_SUITE_P(Profiles, EndpointProfileTest,
    ::testing::Values(
        ProfileCase {"DecayingTail", 300, {{50, 149, 1000}, {150, 159, 300}, {160, 169, 120}, {170, 179, 40}}, 50, 178},
        ProfileCase {"BlipBeforeWord", 300, {{30, 31, 200}, {60, 179, 800}}, 60, 178},
        ProfileCase {"ClickThenLouderWord", 360, {{40, 60, 1500}, {150, 260, 5000}}, 150, 260},
        ProfileCase {"TailThenFaintSound", 300, {{50, 149, 1000}, {150, 159, 100}, {186, 189, 100}}, 50, 180},
        ProfileCase {"WalkBackIntoLaterSound", 300, {{50, 149, 400}, {150, 169, 100}, {202, 221, 600}}, 50, 164,
            kEndpointTooWeak}), // the later sound lifts the background above a fifth of the word
    [](const ::testing::TestParamInfo<ProfileCase>& info) { return info.param.name; });

TEST(EndpointDetectorTest, RejectionKeepsTheUnplacedFrames)
{
    const EndpointResult result = DetectFiltered(Silence(kFull));
    EXPECT_EQ(result.start, kUnplacedStart);
    EXPECT_EQ(result.end, kFull / 80 - 5);
}

struct ShortCase
{
    int count;
    int error;
};

class EndpointShortRecordingTest : public ::testing::TestWithParam<ShortCase>
{
};

// With the length limit out of the way, silence one sample short of 11 frames plus a window is refused
// before detection, and silence of exactly that length is judged on its level.
TEST_P(EndpointShortRecordingTest, TooShortRecordingIsRefusedBeforeDetection)
{
    EndpointParams params;
    params.minFrames = 0;
    const Samples silence = Silence(GetParam().count);
    EXPECT_EQ(DetectEndpoints(silence.data(), GetParam().count, params).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Counts, EndpointShortRecordingTest,
    ::testing::Values(ShortCase {0, kEndpointBadLength}, ShortCase {500, kEndpointBadLength},
        ShortCase {1119, kEndpointBadLength}, ShortCase {1120, kEndpointTooWeak}));

struct FramingCase
{
    int windowLength;
    int frameShift;
};

class EndpointFramingTest : public ::testing::TestWithParam<FramingCase>
{
};

// Framing from a caller must never lead outside the recording; unusable framing is a length error.
TEST_P(EndpointFramingTest, AnyFramingStaysInsideTheRecording)
{
    EndpointParams params;
    params.windowLength = GetParam().windowLength;
    params.frameShift = GetParam().frameShift;
    Samples recording = WordAt800(Voiced(1), 600, 5);
    const EndpointResult result = DetectEndpoints(recording.data(), static_cast<int>(recording.size()), params);
    if (params.windowLength <= 0 || params.frameShift <= 0) {
        EXPECT_EQ(result.error, kEndpointBadLength);
    } else {
        EXPECT_GE(result.error, kEndpointTooLoud);
        EXPECT_LE(result.error, kEndpointAccepted);
    }
}

INSTANTIATE_TEST_SUITE_P(Framings, EndpointFramingTest,
    ::testing::Values(FramingCase {240, 0}, FramingCase {240, -80}, FramingCase {0, 80}, FramingCase {-5, 80},
        FramingCase {2000, 80}, FramingCase {240, 1}, FramingCase {240, 3000}, FramingCase {1, 1}));

TEST(EndpointDetectorTest, NullRecordingIsALengthError)
{
    EXPECT_EQ(DetectEndpoints(nullptr, 20000, EndpointParams {}).error, kEndpointBadLength);
}

TEST(EndpointDetectorTest, LevelsExistOnlyForEvaluatedFrames)
{
    const Samples constant(80 * 30, -300);
    const std::vector<double> levels = EvenFrameLevels(constant.data(), 80 * 30, EndpointParams {});
    ASSERT_EQ(levels.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        const bool evaluated = i >= 4 && i < 25 && i % 2 == 0;
        EXPECT_EQ(levels[i], evaluated ? 300.0 : 0.0) << "frame " << i;
    }
}

} // namespace
} // namespace halvox
