#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform::audio {

/** The two mixer lines the voice dialog shows: playback volume and microphone recording level. */
enum class MixerLine
{
    Speaker,
    Microphone,
};

/** The volume control of one line: raw values run from `minimum` to `maximum`, one value per item (channel). */
struct VolumeControl
{
    bool present = false;
    long minimum = 0;
    long maximum = 0;
    int items = 0;
    bool hasMute = false;
};

/**
 * A sound mixer as the voice dialog uses it. Methods return false when the line or control is missing or
 * the device refuses; they never throw.
 */
class MixerDevice
{
public:
    virtual ~MixerDevice() = default;

    virtual VolumeControl GetControl(MixerLine line) = 0;
    /** Current raw value of every item of the line's volume control. */
    virtual bool ReadVolume(MixerLine line, std::vector<long>* values) = 0;
    /** Sets every item of the line's volume control to one raw value, in one call. */
    virtual bool WriteVolume(MixerLine line, long value) = 0;
    /** Mutes (true) or unmutes every item of the line. */
    virtual bool WriteMute(MixerLine line, bool mute) = 0;
    /** File descriptors that become readable when another program changes a control (may be empty). */
    virtual std::vector<int> EventDescriptors() = 0;
    /** Takes the pending change events and returns the lines whose volume changed since the last call. */
    virtual std::vector<MixerLine> TakeChanges() = 0;
};

/**
 * Opens the sound card's "default" mixer. Returns null (with a reason) when the machine has no mixer, or
 * when WARDEN_AUDIO_MIXER=none asks to leave the mixer alone.
 */
std::unique_ptr<MixerDevice> OpenDefaultMixer(std::string& error);

} // namespace platform::audio
