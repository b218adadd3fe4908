#include "AlsaMixer.h"

#include <platform/Environment.h>

#include <alsa/asoundlib.h>

#include <poll.h>

namespace platform::audio {

namespace {

bool Fail(std::string& error, const std::string& message)
{
    error = message;
    return false;
}

bool IsPlayback(MixerLine line)
{
    return line == MixerLine::Speaker;
}

snd_mixer_elem_t* FindElement(snd_mixer_t* mixer, const char* const* names, bool playback)
{
    for (const char* const* name = names; *name != nullptr; ++name) {
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, *name);
        snd_mixer_elem_t* elem = snd_mixer_find_selem(mixer, id);
        if (elem == nullptr)
            continue;
        if (playback ? snd_mixer_selem_has_playback_volume(elem) : snd_mixer_selem_has_capture_volume(elem))
            return elem;
    }
    return nullptr;
}

std::vector<snd_mixer_selem_channel_id_t> Channels(snd_mixer_elem_t* elem, bool playback)
{
    std::vector<snd_mixer_selem_channel_id_t> channels;
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
        if (playback ? snd_mixer_selem_has_playback_channel(elem, channel)
                     : snd_mixer_selem_has_capture_channel(elem, channel))
            channels.push_back(channel);
    }
    return channels;
}

} // namespace

std::unique_ptr<MixerDevice> OpenDefaultMixer(std::string& error)
{
    if (platform::EnvironmentIs("WARDEN_AUDIO_MIXER", "none")) {
        Fail(error, "the mixer is switched off by WARDEN_AUDIO_MIXER=none");
        return nullptr;
    }
    return AlsaMixer::Open("default", error);
}

AlsaMixer::~AlsaMixer()
{
    if (m_mixer != nullptr)
        snd_mixer_close(m_mixer);
}

std::unique_ptr<AlsaMixer> AlsaMixer::Open(const std::string& card, std::string& error)
{
    std::unique_ptr<AlsaMixer> result(new AlsaMixer);
    int rc = snd_mixer_open(&result->m_mixer, 0);
    if (rc < 0) {
        result->m_mixer = nullptr;
        Fail(error, std::string("cannot open a mixer: ") + snd_strerror(rc));
        return nullptr;
    }
    rc = snd_mixer_attach(result->m_mixer, card.c_str());
    if (rc >= 0)
        rc = snd_mixer_selem_register(result->m_mixer, nullptr, nullptr);
    if (rc >= 0)
        rc = snd_mixer_load(result->m_mixer);
    if (rc < 0) {
        Fail(error, "no mixer on " + card + ": " + snd_strerror(rc));
        return nullptr;
    }
    static const char* const kSpeakerNames[] = {"Master", "Speaker", "PCM", nullptr};
    static const char* const kMicrophoneNames[] = {"Capture", "Mic", nullptr};
    result->m_speaker = FindElement(result->m_mixer, kSpeakerNames, true);
    result->m_microphone = FindElement(result->m_mixer, kMicrophoneNames, false);
    result->ReadVolume(MixerLine::Speaker, &result->m_lastSpeaker);
    result->ReadVolume(MixerLine::Microphone, &result->m_lastMicrophone);
    return result;
}

snd_mixer_elem_t* AlsaMixer::Element(MixerLine line) const
{
    return IsPlayback(line) ? m_speaker : m_microphone;
}

VolumeControl AlsaMixer::GetControl(MixerLine line)
{
    VolumeControl control;
    snd_mixer_elem_t* elem = Element(line);
    if (elem == nullptr)
        return control;
    bool playback = IsPlayback(line);
    int rc = playback ? snd_mixer_selem_get_playback_volume_range(elem, &control.minimum, &control.maximum)
                      : snd_mixer_selem_get_capture_volume_range(elem, &control.minimum, &control.maximum);
    if (rc < 0)
        return VolumeControl {};
    control.items = static_cast<int>(Channels(elem, playback).size());
    control.present = control.items > 0 && control.maximum > control.minimum;
    control.hasMute = playback ? snd_mixer_selem_has_playback_switch(elem) : snd_mixer_selem_has_capture_switch(elem);
    return control;
}

bool AlsaMixer::ReadVolume(MixerLine line, std::vector<long>* values)
{
    snd_mixer_elem_t* elem = Element(line);
    if (elem == nullptr || values == nullptr)
        return false;
    values->clear();
    bool playback = IsPlayback(line);
    for (snd_mixer_selem_channel_id_t channel : Channels(elem, playback)) {
        long value = 0;
        int rc = playback ? snd_mixer_selem_get_playback_volume(elem, channel, &value)
                          : snd_mixer_selem_get_capture_volume(elem, channel, &value);
        if (rc < 0)
            return false;
        values->push_back(value);
    }
    return !values->empty();
}

bool AlsaMixer::WriteVolume(MixerLine line, long value)
{
    snd_mixer_elem_t* elem = Element(line);
    if (elem == nullptr)
        return false;
    int rc = IsPlayback(line) ? snd_mixer_selem_set_playback_volume_all(elem, value)
                              : snd_mixer_selem_set_capture_volume_all(elem, value);
    if (rc < 0)
        return false;
    // Our own change is not news for the slider that caused it.
    ReadVolume(line, IsPlayback(line) ? &m_lastSpeaker : &m_lastMicrophone);
    return true;
}

bool AlsaMixer::WriteMute(MixerLine line, bool mute)
{
    snd_mixer_elem_t* elem = Element(line);
    if (elem == nullptr)
        return false;
    // ALSA switches are "sound on" switches, the opposite of a mute control.
    int rc = IsPlayback(line) ? snd_mixer_selem_set_playback_switch_all(elem, mute ? 0 : 1)
                              : snd_mixer_selem_set_capture_switch_all(elem, mute ? 0 : 1);
    return rc >= 0;
}

std::vector<int> AlsaMixer::EventDescriptors()
{
    std::vector<int> fds;
    int count = snd_mixer_poll_descriptors_count(m_mixer);
    if (count <= 0)
        return fds;
    std::vector<pollfd> polls(static_cast<size_t>(count));
    count = snd_mixer_poll_descriptors(m_mixer, polls.data(), static_cast<unsigned>(count));
    for (int i = 0; i < count; ++i)
        fds.push_back(polls[static_cast<size_t>(i)].fd);
    return fds;
}

std::vector<MixerLine> AlsaMixer::TakeChanges()
{
    snd_mixer_handle_events(m_mixer);
    std::vector<MixerLine> changed;
    std::vector<long> now;
    if (ReadVolume(MixerLine::Speaker, &now) && now != m_lastSpeaker) {
        m_lastSpeaker = now;
        changed.push_back(MixerLine::Speaker);
    }
    if (ReadVolume(MixerLine::Microphone, &now) && now != m_lastMicrophone) {
        m_lastMicrophone = now;
        changed.push_back(MixerLine::Microphone);
    }
    return changed;
}

} // namespace platform::audio
