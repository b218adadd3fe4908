#include "WaveInputs.h"

#include "platform/Environment.h"

#include <fstream>
#include <sstream>

namespace wardengate {

int CountCaptureStreams(const std::string& pcmList)
{
    // A line reads "00-00: ID : NAME : playback 1 : capture 1"; a stream may offer either direction or both.
    std::istringstream lines(pcmList);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        if (line.find(": capture ") != std::string::npos)
            ++count;
    }
    return count;
}

int CountWaveInputs()
{
    if (platform::EnvironmentText("WARDEN_AUDIO_INPUT"))
        return 1;
    std::ifstream pcm("/proc/asound/pcm");
    std::ostringstream text;
    text << pcm.rdbuf();
    return CountCaptureStreams(text.str());
}

} // namespace wardengate
