#include "SyntheticVoice.h"

#include <algorithm>
#include <cmath>

namespace warden::test {

namespace {

constexpr double kRate = 11025.0;
constexpr double kPi = 3.14159265358979323846;

// Small deterministic generator so that a reading is the same on every machine.
class Noise
{
public:
    explicit Noise(uint32_t seed)
        : m_state(seed * 2654435761u + 12345u)
    {
    }
    double Uniform()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / 16777216.0;
    }
    double Gaussian()
    {
        double sum = 0.0;
        for (int i = 0; i < 6; ++i)
            sum += Uniform();
        return (sum - 3.0) * std::sqrt(2.0);
    }

private:
    uint32_t m_state;
};

// Second-order resonator with unity gain at 0 Hz.
class Resonator
{
public:
    void Tune(double frequency, double bandwidth)
    {
        m_c = -std::exp(-2.0 * kPi * bandwidth / kRate);
        m_b = 2.0 * std::exp(-kPi * bandwidth / kRate) * std::cos(2.0 * kPi * frequency / kRate);
        m_a = 1.0 - m_b - m_c;
    }
    double Step(double x)
    {
        double y = m_a * x + m_b * m_y1 + m_c * m_y2;
        m_y2 = m_y1;
        m_y1 = y;
        return y;
    }

private:
    double m_a = 1, m_b = 0, m_c = 0, m_y1 = 0, m_y2 = 0;
};

struct PhoneAt
{
    double f1, f2, f3, voicing, hiss;
};

// Formants and sources at a point of the word, gliding between neighbouring phones.
PhoneAt Interpolate(const Word& word, const std::vector<double>& ends, double position)
{
    size_t i = 0;
    while (i + 1 < word.size() && position > ends[i])
        ++i;
    const double begin = i == 0 ? 0.0 : ends[i - 1];
    const double local = (position - begin) / std::max(ends[i] - begin, 1e-9);
    const Phone& here = word[i];
    const Phone& next = word[std::min(i + 1, word.size() - 1)];
    // The last fifth of each phone moves towards the next one.
    const double glide = local > 0.8 ? (local - 0.8) / 0.2 : 0.0;
    auto mix = [glide](double a, double b) { return a + (b - a) * glide; };
    return PhoneAt {mix(here.f1, next.f1), mix(here.f2, next.f2), mix(here.f3, next.f3),
        mix(here.voiced ? 1.0 : 0.0, next.voiced ? 1.0 : 0.0), mix(here.hiss, next.hiss)};
}

Phone Vowel(double f1, double f2, double f3, double length = 1.0)
{
    return Phone {f1, f2, f3, true, 0.0, length};
}
Phone Fricative(double hiss, double length = 0.7)
{
    return Phone {400, 1800, 2700, false, hiss, length};
}
Phone Nasal(double length = 0.6)
{
    return Phone {280, 1300, 2300, true, 0.0, length};
}

} // namespace

const Word& TestWord(int index)
{
    static const std::vector<Word> words = {
        {Vowel(730, 1090, 2440), Fricative(1.0), Vowel(270, 2290, 3010), Nasal(), Vowel(570, 840, 2410)},
        {Fricative(0.9), Vowel(530, 1840, 2480), Nasal(), Vowel(300, 870, 2240), Fricative(1.0),
            Vowel(730, 1090, 2440)},
        {Vowel(270, 2290, 3010), Fricative(1.0, 0.9), Vowel(660, 1720, 2410), Vowel(440, 1020, 2240), Nasal()},
        {Nasal(), Vowel(730, 1090, 2440), Fricative(0.8), Vowel(300, 870, 2240), Vowel(530, 1840, 2480),
            Fricative(1.0)},
        {Vowel(570, 840, 2410), Vowel(270, 2290, 3010), Fricative(1.0), Nasal(), Vowel(660, 1720, 2410)},
        {Fricative(1.0, 0.5), Vowel(300, 870, 2240), Nasal(0.8), Vowel(270, 2290, 3010), Fricative(0.9),
            Vowel(440, 1020, 2240)},
    };
    return words[static_cast<size_t>(index) % words.size()];
}

Voice TestVoice(int index)
{
    const int i = index % 12;
    const bool female = i >= 6;
    const int k = i % 6;
    Voice voice;
    voice.female = female;
    voice.pitchHz = (female ? 195.0 : 98.0) + 9.0 * k;
    voice.formantScale = (female ? 1.14 : 0.94) + 0.025 * k;
    voice.tilt = 0.82 + 0.025 * k;
    voice.breath = 0.01 + 0.01 * (k % 3);
    return voice;
}

std::vector<int16_t> Speak(const Voice& voice, const Word& word, const Reading& reading)
{
    Noise noise(reading.seed);
    std::vector<double> ends;
    double total = 0.0;
    for (size_t i = 0; i < word.size(); ++i) {
        double length = word[i].length * (1.0 + reading.rateJitter * ((i % 2) ? 1.0 : -0.5));
        total += std::max(length, 0.1);
        ends.push_back(total);
    }
    for (double& e : ends)
        e /= total;

    const int wordSamples = static_cast<int>(reading.durationSeconds * kRate);
    std::vector<double> word_(wordSamples, 0.0);
    Resonator r1, r2, r3, r4;
    double phase = 1.0, glottis = 0.0, hissState = 0.0;
    for (int n = 0; n < wordSamples; ++n) {
        const double position = static_cast<double>(n) / wordSamples;
        const PhoneAt at = Interpolate(word, ends, position);
        const double s = voice.formantScale;
        r1.Tune(at.f1 * s, 70);
        r2.Tune(at.f2 * s, 100);
        r3.Tune(at.f3 * s, 160);
        r4.Tune(3600.0 * s, 250);

        // Glottal source: one pulse per period, smoothed by the voice's tilt, with a little vibrato.
        const double pitch = voice.pitchHz * reading.pitchFactor
            * (1.0 + 0.04 * std::sin(2.0 * kPi * 4.0 * n / kRate) - 0.08 * position);
        phase += pitch / kRate;
        double pulse = 0.0;
        if (phase >= 1.0) {
            phase -= 1.0;
            pulse = 1.0;
        }
        glottis = voice.tilt * glottis + (1.0 - voice.tilt) * pulse * 40.0;
        const double source = at.voicing * (glottis + voice.breath * noise.Gaussian());
        double voiced = r4.Step(r3.Step(r2.Step(r1.Step(source))));

        // Fricative hiss: noise differenced twice, which leaves mostly the band above 3 kHz.
        const double white = noise.Gaussian();
        const double high = white - hissState;
        hissState = white;
        const double fricative = at.hiss * high * 0.35;

        const double envelope = std::min({1.0, n / (0.04 * kRate), (wordSamples - n) / (0.05 * kRate)});
        word_[n] = (voiced + fricative) * envelope;
    }
    double peak = 1e-9;
    for (double v : word_)
        peak = std::max(peak, std::fabs(v));

    std::vector<int16_t> out(reading.totalSamples, 0);
    const int offset = static_cast<int>(reading.offsetSeconds * kRate);
    for (int n = 0; n < reading.totalSamples; ++n) {
        double v = reading.noiseLevel * noise.Gaussian();
        const int k = n - offset;
        if (k >= 0 && k < wordSamples)
            v += word_[k] / peak * reading.peak;
        out[n] = static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
    }
    return out;
}

std::vector<int16_t> Replay(const std::vector<int16_t>& reading, uint32_t seed)
{
    Noise noise(seed ^ 0x5eedu);
    std::vector<int16_t> out(reading.size());
    Resonator lowPass;
    lowPass.Tune(0.0, 3000.0); // a broad low-pass: the loudspeaker's top end falls away
    double previous = 0.0, highPassed = 0.0;
    std::vector<double> played(reading.size());
    for (size_t n = 0; n < reading.size(); ++n) {
        const double x = reading[n];
        highPassed = 0.97 * (highPassed + x - previous); // and so does its bottom end
        previous = x;
        const double y = lowPass.Step(highPassed);
        played[n] = 9000.0 * std::tanh(y / 9000.0); // a mildly overdriven amplifier
    }
    const size_t echo = static_cast<size_t>(0.012 * kRate);
    for (size_t n = 0; n < reading.size(); ++n) {
        double v = played[n] + (n >= echo ? 0.3 * played[n - echo] : 0.0) + 6.0 * noise.Gaussian();
        out[n] = static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
    }
    return out;
}

} // namespace warden::test
