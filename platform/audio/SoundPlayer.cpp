#include "SoundPlayer.h"

#include "WavFile.h"

#include <platform/Environment.h>

#include <alsa/asoundlib.h>

#include <cstring>

namespace platform::audio {

namespace {

bool Fail(std::string& error, const std::string& message)
{
    error = message;
    return false;
}

bool OutputSilenced()
{
    return platform::EnvironmentIs("WARDEN_AUDIO_OUTPUT", "null");
}

bool PlayOnDevice(const WavAudio& audio, std::string& error)
{
    snd_pcm_t* pcm = nullptr;
    int rc = snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0);
    if (rc < 0)
        return Fail(error, std::string("cannot open playback device: ") + snd_strerror(rc));
    rc = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
        static_cast<unsigned>(audio.channels), static_cast<unsigned>(audio.sampleRate), 1, 200000);
    if (rc < 0) {
        snd_pcm_close(pcm);
        return Fail(error, std::string("playback device refuses the format: ") + snd_strerror(rc));
    }
    const size_t frames = audio.samples.size() / static_cast<size_t>(audio.channels);
    size_t done = 0;
    while (done < frames) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, audio.samples.data() + done * audio.channels, frames - done);
        if (written < 0) {
            if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0) {
                snd_pcm_close(pcm);
                return Fail(error, std::string("playback failed: ") + snd_strerror(static_cast<int>(written)));
            }
            continue;
        }
        done += static_cast<size_t>(written);
    }
    snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
    return true;
}

} // namespace

bool PlayWaveFile(const std::string& path, std::string& error)
{
    WavAudio audio;
    std::string reason;
    if (!ReadWav(path, &audio, reason))
        return Fail(error, path + ": " + reason);
    if (audio.sampleRate <= 0)
        return Fail(error, path + ": no sample rate");
    if (OutputSilenced())
        return true;
    return PlayOnDevice(audio, error);
}

} // namespace platform::audio
