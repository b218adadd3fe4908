// The fingerprint of the captured-unlock check on real synthesised speech (espeak-ng, made at test time):
// a reading played back through a loudspeaker, a room and a microphone stays close to itself, another
// reading of the same word by the same voice does not.
#include "voice/ReadingFingerprint.h"

#include "../../support/ProcessScratchFolder.h"
#include "SyntheticVoice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using talk::voice::CompareFingerprints;
using talk::voice::ComputeFingerprint;
using talk::voice::kReplayDistance;
using talk::voice::ReadingFingerprint;

using Samples = std::vector<int16_t>;
constexpr int kRate = 11025;
constexpr int kLength = 33075;
constexpr double kPi = 3.14159265358979323846;

bool HaveSynthesiser()
{
    return std::system("command -v espeak-ng >/dev/null 2>&1 && command -v sox >/dev/null 2>&1") == 0;
}

// One reading of `text`: espeak-ng at `wordsPerMinute` and `pitch` (its 0 ... 99 scale), resampled to the
// engine's rate and placed at `offsetSeconds` in 3 s of low room noise.
Samples Spoken(const std::string& text, int wordsPerMinute, int pitch, double offsetSeconds, unsigned seed)
{
    const std::string raw
        = (warden::test::ProcessScratchFolder() / ("spoken" + std::to_string(seed) + ".raw")).string();
    const std::string command = "espeak-ng -v en+m3 -s " + std::to_string(wordsPerMinute) + " -p "
        + std::to_string(pitch) + " --stdout '" + text + "' 2>/dev/null | sox -t wav - -t raw -r 11025 -c 1 -b 16 "
        + "-e signed-integer '" + raw + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return {};
    std::ifstream in(raw, std::ios::binary);
    Samples word;
    int16_t sample = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
        word.push_back(sample);
    Samples reading(kLength, 0);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 8.0);
    const auto offset = static_cast<size_t>(offsetSeconds * kRate);
    for (size_t i = 0; i < reading.size(); ++i) {
        const double speech = i >= offset && i - offset < word.size() ? word[i - offset] : 0.0;
        reading[i] = static_cast<int16_t>(std::clamp(std::lround(speech + noise(random)), -32768L, 32767L));
    }
    return reading;
}

// Where the word lies: the first and last sample above a tenth of the peak (the voice dialog takes the
// engine's endpoints, which also differ between a reading and its replay).
ReadingFingerprint FingerprintOf(const Samples& reading)
{
    int peak = 1;
    for (int16_t s : reading)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    long first = -1, last = -1;
    for (size_t i = 0; i < reading.size(); ++i) {
        if (std::abs(static_cast<int>(reading[i])) * 10 > peak) {
            if (first < 0)
                first = static_cast<long>(i);
            last = static_cast<long>(i);
        }
    }
    return ComputeFingerprint(reading.data(), static_cast<int>(reading.size()), first, last);
}

// One filter section (high-pass or low-pass, Butterworth) for the loudspeaker chains below.
struct Section
{
    double b0, b1, b2, a1, a2, z1 = 0, z2 = 0;
    Section(double hz, bool highPass)
    {
        const double w = 2 * kPi * hz / kRate, alpha = std::sin(w) / std::sqrt(2.0), c = std::cos(w);
        const double a0 = 1 + alpha;
        b0 = (highPass ? (1 + c) / 2 : (1 - c) / 2) / a0;
        b1 = (highPass ? -(1 + c) : (1 - c)) / a0;
        b2 = b0;
        a1 = -2 * c / a0;
        a2 = (1 - alpha) / a0;
    }
    double Step(double x)
    {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// A small loudspeaker in a room: band limits, soft clipping, reverberation, noise and a new level.
Samples ThroughRoom(const Samples& reading, double lowHz, double highHz, double drive, double rt60, double level)
{
    std::vector<Section> sections;
    for (int i = 0; i < 3; ++i) {
        sections.emplace_back(lowHz, true);
        sections.emplace_back(highHz, false);
    }
    std::vector<double> played(reading.size());
    double peak = 1.0;
    for (size_t n = 0; n < reading.size(); ++n) {
        double x = reading[n];
        for (Section& s : sections)
            x = s.Step(x);
        played[n] = x;
        peak = std::max(peak, std::fabs(x));
    }
    for (double& x : played)
        x = peak * std::tanh(drive * x / peak) / std::tanh(drive);
    std::mt19937 random(99);
    std::normal_distribution<double> gauss(0.0, 1.0);
    const auto tailLength = static_cast<size_t>(rt60 * kRate);
    std::vector<double> tail(tailLength);
    for (size_t k = 0; k < tailLength; ++k)
        tail[k] = 0.02 * gauss(random) * std::exp(-6.9 * static_cast<double>(k) / static_cast<double>(tailLength));
    tail[0] = 1.0;
    Samples out(reading.size());
    for (size_t n = 0; n < reading.size(); ++n) {
        double y = 0.0;
        for (size_t k = 0; k < tailLength && k <= n; k += 1)
            y += tail[k] * played[n - k];
        y = level * y + 20.0 * gauss(random);
        out[n] = static_cast<int16_t>(std::clamp(std::lround(y), -32768L, 32767L));
    }
    return out;
}

class ReadingFingerprintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!HaveSynthesiser())
            GTEST_SKIP() << "espeak-ng or sox is not installed";
        m_reading = Spoken("himawari", 160, 50, 0.8, 1);
        ASSERT_FALSE(m_reading.empty());
        m_print = FingerprintOf(m_reading);
        ASSERT_FALSE(m_print.Empty());
    }

    Samples m_reading;
    ReadingFingerprint m_print;
};

TEST_F(ReadingFingerprintTest, ReplaysThroughLoudspeakersAndRoomsStayCloseToTheirReading)
{
    struct Chain
    {
        const char* name;
        Samples replay;
    };
    const Chain chains[] = {
        {"phone speaker close by", ThroughRoom(m_reading, 800, 3600, 2.5, 0.12, 0.5)},
        {"small speaker in a room", ThroughRoom(m_reading, 600, 3300, 1.5, 0.35, 1.3)},
        {"wide speaker, quiet", ThroughRoom(m_reading, 200, 4500, 1.0, 0.25, 0.2)},
        {"the support library's replay", warden::test::Replay(m_reading, 5)},
    };
    for (const Chain& chain : chains) {
        const auto match = CompareFingerprints(m_print, FingerprintOf(chain.replay));
        EXPECT_LT(match.distance, kReplayDistance) << chain.name << ": scale " << match.timeScale << ", pitch "
                                                   << match.pitchCents << ", spread " << match.pitchSpread;
        EXPECT_NEAR(match.timeScale, 1.0, 0.02) << chain.name;
        EXPECT_NEAR(match.pitchCents, 0.0, 5.0) << chain.name;
    }
}

TEST_F(ReadingFingerprintTest, AnotherReadingOfTheSameWordIsFar)
{
    struct Other
    {
        const char* name;
        Samples reading;
    };
    const Other others[] = {
        {"faster", Spoken("himawari", 176, 50, 1.1, 2)},
        {"higher", Spoken("himawari", 160, 56, 0.6, 3)},
        {"slower and lower", Spoken("himawari", 150, 46, 0.9, 4)},
        {"another word", Spoken("sakuranbo", 160, 50, 0.8, 5)},
    };
    for (const Other& other : others) {
        ASSERT_FALSE(other.reading.empty());
        const auto match = CompareFingerprints(m_print, FingerprintOf(other.reading));
        EXPECT_GE(match.distance, kReplayDistance) << other.name << ": scale " << match.timeScale << ", pitch "
                                                   << match.pitchCents << ", spread " << match.pitchSpread;
    }
    // The same reading placed elsewhere in the recording is still that reading.
    const Samples moved = Spoken("himawari", 160, 50, 1.3, 6);
    EXPECT_LT(CompareFingerprints(m_print, FingerprintOf(moved)).distance, kReplayDistance);
}

TEST_F(ReadingFingerprintTest, OneReadingIsAtDistanceZeroFromItselfAndEmptyPrintsAreFar)
{
    EXPECT_NEAR(CompareFingerprints(m_print, m_print).distance, 0.0, 1e-9);
    EXPECT_GE(CompareFingerprints(m_print, ReadingFingerprint()).distance, kReplayDistance);
    EXPECT_GE(CompareFingerprints(ReadingFingerprint(), m_print).distance, kReplayDistance);
    // Silence has no pitch contour: nothing can show it to be a replay.
    const Samples silence(kLength, 0);
    EXPECT_GE(CompareFingerprints(FingerprintOf(silence), FingerprintOf(silence)).distance, kReplayDistance);
}

TEST_F(ReadingFingerprintTest, EncodedFingerprintsComeBackAndDamagedBytesAreRefused)
{
    const std::string bytes = talk::voice::EncodeFingerprint(m_print) + talk::voice::EncodeFingerprint(m_print);
    std::size_t offset = 0;
    ReadingFingerprint first, second;
    ASSERT_TRUE(talk::voice::DecodeFingerprint(bytes, offset, first));
    ASSERT_TRUE(talk::voice::DecodeFingerprint(bytes, offset, second));
    EXPECT_EQ(offset, bytes.size());
    EXPECT_EQ(first.level, m_print.level);
    EXPECT_EQ(first.pitch, m_print.pitch);
    EXPECT_EQ(second.pitch, m_print.pitch);

    ReadingFingerprint ignored;
    std::size_t at = 0;
    EXPECT_FALSE(talk::voice::DecodeFingerprint(bytes.substr(0, bytes.size() / 2 - 1), at, ignored)) << "truncated";
    std::string otherVersion = bytes;
    otherVersion[0] = 9;
    at = 0;
    EXPECT_FALSE(talk::voice::DecodeFingerprint(otherVersion, at, ignored));
    at = 0;
    EXPECT_FALSE(talk::voice::DecodeFingerprint(std::string(), at, ignored));
}

} // namespace
