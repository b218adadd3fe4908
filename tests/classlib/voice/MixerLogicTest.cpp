#include "voice/MixerLogic.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

// A mixer whose controls the test sets up and inspects.
class FakeMixer : public platform::audio::MixerDevice
{
public:
    struct Line
    {
        platform::audio::VolumeControl control;
        std::vector<long> values;
        bool muted = false;
        int writes = 0;
    };

    explicit FakeMixer(std::map<platform::audio::MixerLine, Line>& lines)
        : m_lines(lines)
    {
    }

    platform::audio::VolumeControl GetControl(platform::audio::MixerLine line) override
    {
        return m_lines[line].control;
    }
    bool ReadVolume(platform::audio::MixerLine line, std::vector<long>* values) override
    {
        *values = m_lines[line].values;
        return m_lines[line].control.present;
    }
    bool WriteVolume(platform::audio::MixerLine line, long value) override
    {
        Line& l = m_lines[line];
        ++l.writes;
        for (long& v : l.values)
            v = value;
        return true;
    }
    bool WriteMute(platform::audio::MixerLine line, bool mute) override
    {
        m_lines[line].muted = mute;
        return true;
    }
    std::vector<int> EventDescriptors() override { return {}; }
    std::vector<platform::audio::MixerLine> TakeChanges() override { return std::exchange(changes, {}); }

    std::vector<platform::audio::MixerLine> changes;

private:
    std::map<platform::audio::MixerLine, Line>& m_lines;
};

class MixerLogicTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_lines[platform::audio::MixerLine::Speaker] = {{true, 0, 65535, 2, true}, {32767, 65535}};
        m_lines[platform::audio::MixerLine::Microphone] = {{true, 0, 100, 1, false}, {25}};
        auto device = std::make_unique<FakeMixer>(m_lines);
        m_device = device.get();
        m_mixer = std::make_unique<MixerLogic>(std::move(device));
    }

    MixerLogic::SliderSink Sink()
    {
        return [this](const std::string& name, int percent) { m_moves.emplace_back(name, percent); };
    }

    std::map<platform::audio::MixerLine, FakeMixer::Line> m_lines;
    FakeMixer* m_device = nullptr;
    std::unique_ptr<MixerLogic> m_mixer;
    std::vector<std::pair<std::string, int>> m_moves;
};

TEST(MixerLogicArithmeticTest, PercentagesAreTruncated)
{
    EXPECT_EQ(MixerLogic::VolumeToPercent(32767, 65535), 49);
    EXPECT_EQ(MixerLogic::VolumeToPercent(65535, 65535), 100);
    EXPECT_EQ(MixerLogic::VolumeToPercent(5, 0), 0);
    uint32_t value = 0;
    EXPECT_TRUE(MixerLogic::PercentToVolume(50, 65535, &value));
    EXPECT_EQ(value, 32767u);
    EXPECT_TRUE(MixerLogic::PercentToVolume(100, 65535, &value));
    EXPECT_EQ(value, 65535u);
    EXPECT_FALSE(MixerLogic::PercentToVolume(101, 65535, &value));
    EXPECT_FALSE(MixerLogic::PercentToVolume(-1, 65535, &value));
}

TEST_F(MixerLogicTest, ReadingMovesEachSliderOncePerItemLastWins)
{
    m_mixer->ReadVolumes(Sink());
    std::vector<std::pair<std::string, int>> expected = {{"SPEAKER", 49}, {"SPEAKER", 100}, {"MIC", 25}};
    EXPECT_EQ(m_moves, expected);
    EXPECT_EQ(m_mixer->GetSpeakerPercent(), 100);
    EXPECT_EQ(m_mixer->GetMicPercent(), 25);
}

TEST_F(MixerLogicTest, SliderSetsEveryItemInOneCall)
{
    EXPECT_TRUE(m_mixer->ApplySlider("SPEAKER", 50));
    EXPECT_EQ(m_lines[platform::audio::MixerLine::Speaker].values, (std::vector<long> {32767, 32767}));
    EXPECT_EQ(m_lines[platform::audio::MixerLine::Speaker].writes, 1);
}

TEST_F(MixerLogicTest, OutOfRangeDisabledOrUnknownSlidersSetNothing)
{
    EXPECT_FALSE(m_mixer->ApplySlider("SPEAKER", 150));
    EXPECT_FALSE(m_mixer->ApplySlider("VOLUME", 50));
    m_mixer->SetEnabled(false);
    EXPECT_FALSE(m_mixer->ApplySlider("MIC", 50));
    EXPECT_EQ(m_lines[platform::audio::MixerLine::Speaker].writes, 0);
    EXPECT_EQ(m_lines[platform::audio::MixerLine::Microphone].writes, 0);
}

TEST_F(MixerLogicTest, RangeThatStartsAboveZeroCountsFromItsBottom)
{
    m_lines[platform::audio::MixerLine::Microphone] = {{true, -20, 80, 1, false}, {30}};
    m_mixer->ReadVolume("MIC", Sink());
    EXPECT_EQ(m_mixer->GetMicPercent(), 50);
    EXPECT_TRUE(m_mixer->ApplySlider("MIC", 100));
    EXPECT_EQ(m_lines[platform::audio::MixerLine::Microphone].values.front(), 80);
}

TEST_F(MixerLogicTest, MissingControlLeavesTheSliderAlone)
{
    m_lines[platform::audio::MixerLine::Microphone].control.present = false;
    m_mixer->ReadVolume("MIC", Sink());
    EXPECT_TRUE(m_moves.empty());
    EXPECT_FALSE(m_mixer->ApplySlider("MIC", 10));
    EXPECT_FALSE(m_mixer->SetMute("MIC", true)); // no mute control either
    EXPECT_TRUE(m_mixer->SetMute("SPEAKER", true));
    EXPECT_TRUE(m_lines[platform::audio::MixerLine::Speaker].muted);
}

TEST_F(MixerLogicTest, ChangesElsewhereMoveOnlyTheirSlider)
{
    m_device->changes = {platform::audio::MixerLine::Microphone};
    m_lines[platform::audio::MixerLine::Microphone].values = {75};
    m_mixer->HandleDeviceChanges(Sink());
    std::vector<std::pair<std::string, int>> expected = {{"MIC", 75}};
    EXPECT_EQ(m_moves, expected);
}

TEST(MixerLogicNoMixerTest, MachineWithoutMixerDoesNothing)
{
    MixerLogic mixer(nullptr);
    bool moved = false;
    mixer.ReadVolumes([&](const std::string&, int) { moved = true; });
    EXPECT_FALSE(moved);
    EXPECT_FALSE(mixer.ApplySlider("SPEAKER", 50));
    EXPECT_TRUE(mixer.EventDescriptors().empty());
}

} // namespace
