#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace warden::test {

// A talker of the synthetic test speech: a source-filter model whose pitch, vocal-tract length
// (formant scale) and glottal spectral tilt set it apart from other talkers.
struct Voice
{
    double pitchHz = 120.0;
    double formantScale = 1.0;
    double tilt = 0.9; // one-pole smoothing of the glottal pulses: higher is darker
    double breath = 0.02; // aspiration noise mixed into voiced sound
    bool female = false;
};

// One sound of a word: formant targets, whether the folds vibrate, and hiss for fricatives.
struct Phone
{
    double f1 = 500, f2 = 1500, f3 = 2500;
    bool voiced = true;
    double hiss = 0.0; // level of high-band noise (fricatives)
    double length = 1.0;
};

using Word = std::vector<Phone>;

// How one reading is taken: where the word lies in the recording and how it sounds this time.
struct Reading
{
    int totalSamples = 33075;
    double offsetSeconds = 0.8;
    double durationSeconds = 0.8;
    double peak = 6000.0; // the word's largest sample
    double noiseLevel = 8.0; // standard deviation of the room noise
    double rateJitter = 0.0; // relative change of the phone lengths, -0.1 ... 0.1
    double pitchFactor = 1.0; // this reading's pitch against the talker's usual one
    uint32_t seed = 1;
};

// The six words of the test vocabulary (index 0 ... 5), each with fricatives so that enrolment's
// high-band check finds speech energy above 4 kHz.
const Word& TestWord(int index);

// Talkers: index 0 ... 5 are male, 6 ... 11 female, all clearly apart in pitch and tract length.
Voice TestVoice(int index);

// Renders a reading of a word at 11025 samples per second.
std::vector<int16_t> Speak(const Voice& voice, const Word& word, const Reading& reading);

// The same reading as a loudspeaker played it back into a microphone: band-limited, mildly distorted,
// with a short room echo.
std::vector<int16_t> Replay(const std::vector<int16_t>& reading, uint32_t seed);

} // namespace warden::test
