#pragma once

#include "MixerDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/**
 * The volume logic behind the voice dialog's "SPEAKER" and "MIC" sliders: reads the speaker and microphone
 * volume into slider percentages, applies slider moves to the mixer and follows changes made elsewhere.
 * Without a mixer (or without a line's volume control) nothing moves and nothing is set.
 */
class MixerLogic
{
public:
    /** Moves the skin slider `name` to `percent` (the dialog's SetProgressPos). */
    using SliderSink = std::function<void(const std::string& name, int percent)>;

    static constexpr const char* kSpeakerSlider = "SPEAKER";
    static constexpr const char* kMicSlider = "MIC";

    /** Percentage shown for a raw value: integer part of value / maximum x 100 (0 when maximum is 0). */
    static int VolumeToPercent(uint32_t value, uint32_t maximum);
    /**
     * Raw value for a slider percentage: integer part of percent x 0.01 x maximum. False (nothing to set)
     * when the percentage lies outside 0..100.
     */
    static bool PercentToVolume(int percent, uint32_t maximum, uint32_t* value);

    /** Takes the mixer (null: a machine without one). */
    explicit MixerLogic(std::unique_ptr<platform::audio::MixerDevice> device);
    ~MixerLogic();
    MixerLogic(const MixerLogic&) = delete;
    MixerLogic& operator=(const MixerLogic&) = delete;

    /** Opens the machine's default mixer (none when it has none). */
    static std::unique_ptr<MixerLogic> OpenDefault();

    bool HasMixer() const { return m_device != nullptr; }

    /** Reads both lines and moves both sliders (speaker first). */
    void ReadVolumes(const SliderSink& sink);
    /**
     * Reads one line's volume: each item's percentage is remembered for its slider and the slider is moved
     * once per item (the last item wins). Unknown slider names set nothing.
     */
    void ReadVolume(const std::string& sliderName, const SliderSink& sink);
    /** Applies a slider moved by the user; false when nothing was set. Other names are ignored. */
    bool ApplySlider(const std::string& sliderName, int position);
    /** Mutes or unmutes the line of a slider name. */
    bool SetMute(const std::string& sliderName, bool mute);
    /** Follows volume changes made by other programs: moves the sliders of the lines that changed. */
    void HandleDeviceChanges(const SliderSink& sink);
    /** Descriptors to watch for HandleDeviceChanges (empty without a mixer). */
    std::vector<int> EventDescriptors() const;

    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }
    int GetSpeakerPercent() const { return m_speakerPercent; }
    int GetMicPercent() const { return m_micPercent; }
    /** Forgets the remembered percentages. */
    void ClearRemembered();

private:
    static bool LineOfSlider(const std::string& name, platform::audio::MixerLine* line);

    std::unique_ptr<platform::audio::MixerDevice> m_device;
    bool m_enabled = true;
    int m_speakerPercent = 0;
    int m_micPercent = 0;
};
