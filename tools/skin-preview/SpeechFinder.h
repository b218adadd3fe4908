#pragma once

#include <vector>

namespace skin_preview {

/** Where the engine finds the spoken word in a reading, in samples. */
struct SpeechSpan
{
    bool found = false;
    long startSample = 0;
    long endSample = 0;
    int errorNumber = 0;
};

/** Runs the engine's endpoint detection on a copy of the reading (the engine filters its input in place). */
SpeechSpan FindSpeech(std::vector<short> samples);

} // namespace skin_preview
