#pragma once

#include <string>

namespace platform::audio {

/**
 * Plays a WAV file (16-bit PCM, any rate and channel count) to the end before returning.
 * WARDEN_AUDIO_OUTPUT=null checks the file and plays nothing. Returns false with a reason when the file
 * cannot be read or no output device takes it.
 */
bool PlayWaveFile(const std::string& path, std::string& error);

} // namespace platform::audio
