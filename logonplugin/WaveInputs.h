#pragma once

#include <string>

namespace wardengate {

/**
 * How many sound inputs the machine has: the file backend of WARDEN_AUDIO_INPUT counts as one, and every
 * capture stream the sound cards list. The logon dialog leaves the mixer alone without any.
 */
int CountWaveInputs();

/** The capture streams in the text of the kernel's list of sound streams (/proc/asound/pcm). */
int CountCaptureStreams(const std::string& pcmList);

} // namespace wardengate
