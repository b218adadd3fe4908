#pragma once

#include "MixerDevice.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace platform::audio {

/**
 * The ALSA simple mixer: the speaker line is the first of "Master", "Speaker", "PCM" with a playback
 * volume; the microphone line is the first of "Capture", "Mic" with a capture volume.
 */
class AlsaMixer final : public MixerDevice
{
public:
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer&) = delete;
    AlsaMixer& operator=(const AlsaMixer&) = delete;

    /** Opens and loads the named card's mixer; null with a reason when that fails. */
    static std::unique_ptr<AlsaMixer> Open(const std::string& card, std::string& error);

    VolumeControl GetControl(MixerLine line) override;
    bool ReadVolume(MixerLine line, std::vector<long>* values) override;
    bool WriteVolume(MixerLine line, long value) override;
    bool WriteMute(MixerLine line, bool mute) override;
    std::vector<int> EventDescriptors() override;
    std::vector<MixerLine> TakeChanges() override;

private:
    AlsaMixer() = default;
    snd_mixer_elem_t* Element(MixerLine line) const;

    snd_mixer_t* m_mixer = nullptr;
    snd_mixer_elem_t* m_speaker = nullptr;
    snd_mixer_elem_t* m_microphone = nullptr;
    std::vector<long> m_lastSpeaker;
    std::vector<long> m_lastMicrophone;
};

} // namespace platform::audio
