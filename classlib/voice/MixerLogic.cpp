#include "MixerLogic.h"

int MixerLogic::VolumeToPercent(uint32_t value, uint32_t maximum)
{
    if (maximum == 0)
        return 0;
    return static_cast<int>(static_cast<double>(value) / maximum * 100);
}

bool MixerLogic::PercentToVolume(int percent, uint32_t maximum, uint32_t* value)
{
    double fraction = percent * 0.01;
    if (fraction < 0.0 || fraction > 1.0 || value == nullptr)
        return false;
    *value = static_cast<uint32_t>(fraction * maximum);
    return true;
}

MixerLogic::MixerLogic(std::unique_ptr<platform::audio::MixerDevice> device)
    : m_device(std::move(device))
{
}

MixerLogic::~MixerLogic() = default;

std::unique_ptr<MixerLogic> MixerLogic::OpenDefault()
{
    std::string reason;
    return std::make_unique<MixerLogic>(platform::audio::OpenDefaultMixer(reason));
}

bool MixerLogic::LineOfSlider(const std::string& name, platform::audio::MixerLine* line)
{
    if (name == kSpeakerSlider) {
        *line = platform::audio::MixerLine::Speaker;
        return true;
    }
    if (name == kMicSlider) {
        *line = platform::audio::MixerLine::Microphone;
        return true;
    }
    return false;
}

void MixerLogic::ReadVolumes(const SliderSink& sink)
{
    ReadVolume(kSpeakerSlider, sink);
    ReadVolume(kMicSlider, sink);
}

void MixerLogic::ReadVolume(const std::string& sliderName, const SliderSink& sink)
{
    platform::audio::MixerLine line;
    if (!m_device || !LineOfSlider(sliderName, &line))
        return;
    platform::audio::VolumeControl control = m_device->GetControl(line);
    std::vector<long> values;
    if (!control.present || !m_device->ReadVolume(line, &values))
        return;
    // The platform's range may start above zero; the percentage counts from its bottom.
    auto maximum = static_cast<uint32_t>(control.maximum - control.minimum);
    for (long raw : values) {
        long above = raw < control.minimum ? 0 : raw - control.minimum;
        int percent = VolumeToPercent(static_cast<uint32_t>(above), maximum);
        (line == platform::audio::MixerLine::Speaker ? m_speakerPercent : m_micPercent) = percent;
        if (sink)
            sink(sliderName, percent);
    }
}

bool MixerLogic::ApplySlider(const std::string& sliderName, int position)
{
    platform::audio::MixerLine line;
    if (!m_enabled || !m_device || !LineOfSlider(sliderName, &line))
        return false;
    platform::audio::VolumeControl control = m_device->GetControl(line);
    uint32_t value = 0;
    if (!control.present
        || !PercentToVolume(position, static_cast<uint32_t>(control.maximum - control.minimum), &value))
        return false;
    return m_device->WriteVolume(line, control.minimum + static_cast<long>(value));
}

bool MixerLogic::SetMute(const std::string& sliderName, bool mute)
{
    platform::audio::MixerLine line;
    if (!m_device || !LineOfSlider(sliderName, &line) || !m_device->GetControl(line).hasMute)
        return false;
    return m_device->WriteMute(line, mute);
}

void MixerLogic::HandleDeviceChanges(const SliderSink& sink)
{
    if (!m_device)
        return;
    for (platform::audio::MixerLine line : m_device->TakeChanges())
        ReadVolume(line == platform::audio::MixerLine::Speaker ? kSpeakerSlider : kMicSlider, sink);
}

std::vector<int> MixerLogic::EventDescriptors() const
{
    return m_device ? m_device->EventDescriptors() : std::vector<int> {};
}

void MixerLogic::ClearRemembered()
{
    m_speakerPercent = 0;
    m_micPercent = 0;
}
