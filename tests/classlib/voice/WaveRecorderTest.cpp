#include "voice/WaveRecorder.h"

#include "FileCapture.h"
#include "WavFile.h"
#include "voice/WaveformModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A capture source that hands over exactly what the test queues, and can be told to fail a step.
class ScriptedCapture : public platform::audio::AudioCapture
{
public:
    struct Script
    {
        std::vector<int16_t> pending;
        uint32_t openResult = platform::audio::kAudioOk;
        uint32_t startResult = platform::audio::kAudioOk;
        uint32_t stopResult = platform::audio::kAudioOk;
        int closes = 0;
    };

    explicit ScriptedCapture(Script& script)
        : m_script(script)
    {
    }
    uint32_t Open(const platform::audio::CaptureFormat&) override { return Result(m_script.openResult); }
    uint32_t Start() override { return Result(m_script.startResult); }
    size_t Read(int16_t* target, size_t maxSamples) override
    {
        size_t count = std::min(maxSamples, m_script.pending.size());
        std::copy_n(m_script.pending.begin(), count, target);
        m_script.pending.erase(m_script.pending.begin(), m_script.pending.begin() + static_cast<long>(count));
        return count;
    }
    uint32_t Stop() override { return Result(m_script.stopResult); }
    uint32_t Close() override
    {
        ++m_script.closes;
        return platform::audio::kAudioOk;
    }
    const std::string& ErrorText() const override { return m_error; }

private:
    uint32_t Result(uint32_t code)
    {
        m_error = code == platform::audio::kAudioOk ? "" : "scripted failure";
        return code;
    }
    Script& m_script;
    std::string m_error;
};

class WaveRecorderTest : public testing::Test
{
protected:
    WaveRecorder::CaptureFactory Factory()
    {
        return [this] { return std::make_unique<ScriptedCapture>(m_script); };
    }
    void OpenSession(WaveRecorder& recorder)
    {
        recorder.SetSeconds(3);
        ASSERT_EQ(recorder.Allocate(), 1);
        recorder.PrepareHeader();
    }

    ScriptedCapture::Script m_script;
};

TEST_F(WaveRecorderTest, ConstructedWithoutBufferEverySampleIsZero)
{
    WaveRecorder recorder(3000, 100, Factory());
    EXPECT_EQ(recorder.GetBufferSize(), 0);
    EXPECT_EQ(recorder.Sample(0), 0);
    EXPECT_EQ(recorder.GetFormat().averageBytesPerSecond, 22050);
    EXPECT_EQ(recorder.GetTick(), 100);
    EXPECT_EQ(recorder.GetRecordLength(), 3000);
}

TEST_F(WaveRecorderTest, SampleAccessStopsAtTheBufferEnd)
{
    WaveRecorder recorder(3000, 100, Factory());
    OpenSession(recorder);
    EXPECT_EQ(recorder.GetBufferSize(), 66150);
    m_script.pending.assign(33075, 7);
    m_script.pending.front() = -32768;
    ASSERT_EQ(recorder.Begin(), 1);
    EXPECT_EQ(recorder.GetRecording(), 1);
    EXPECT_EQ(recorder.Poll(), 33075);
    EXPECT_EQ(recorder.Sample(0), -32768);
    EXPECT_EQ(recorder.Sample(33074), 7);
    EXPECT_EQ(recorder.Sample(33075), 0);
    EXPECT_EQ(recorder.Sample(-1), 0);
    EXPECT_EQ(recorder.Stop(), 1);
    EXPECT_EQ(recorder.GetRecording(), 0);
    recorder.Release();
    EXPECT_EQ(recorder.Sample(5), 0);
}

TEST_F(WaveRecorderTest, ANewReadingDoesNotInheritThePreviousTail)
{
    WaveRecorder recorder(3000, 100, Factory());
    OpenSession(recorder);
    m_script.pending.assign(33075, 500);
    recorder.Begin();
    recorder.Stop();
    m_script.pending.assign(100, -3);
    recorder.Begin();
    recorder.Stop();
    EXPECT_EQ(recorder.Sample(99), -3);
    EXPECT_EQ(recorder.Sample(100), 0);
    EXPECT_EQ(recorder.Sample(33074), 0);
}

TEST_F(WaveRecorderTest, FailedBeginLeavesRecordingOffAndKeepsTheResult)
{
    WaveRecorder recorder(3000, 100, Factory());
    OpenSession(recorder);
    m_script.startResult = platform::audio::kAudioNoDevice;
    EXPECT_EQ(recorder.Begin(), 0);
    EXPECT_EQ(recorder.GetRecording(), 0);
    EXPECT_EQ(recorder.GetLastResult(), platform::audio::kAudioNoDevice);
    EXPECT_EQ(recorder.GetLastErrorText(), "scripted failure");
    EXPECT_EQ(m_script.closes, 1); // the half-open source is not left behind
    EXPECT_EQ(recorder.Stop(), 0); // nothing to stop
    EXPECT_EQ(recorder.GetLastResult(), platform::audio::kAudioInvalidHandle);
}

TEST_F(WaveRecorderTest, MissingDeviceIsAFailureNotACrash)
{
    WaveRecorder recorder(3000, 100, [] { return std::unique_ptr<platform::audio::AudioCapture>(); });
    OpenSession(recorder);
    EXPECT_EQ(recorder.Begin(), 0);
    EXPECT_EQ(recorder.GetLastResult(), platform::audio::kAudioNoDevice);
    EXPECT_EQ(recorder.Poll(), 0);
}

TEST_F(WaveRecorderTest, StopCollectsTheLastSamplesThenReportsAFailingStep)
{
    WaveRecorder recorder(3000, 100, Factory());
    OpenSession(recorder);
    ASSERT_EQ(recorder.Begin(), 1);
    m_script.pending.assign(10, 9);
    m_script.stopResult = platform::audio::kAudioError;
    EXPECT_EQ(recorder.Stop(), 0);
    EXPECT_EQ(recorder.Sample(9), 9);
    EXPECT_EQ(recorder.GetRecording(), 0);
}

// The file backend, driven by a clock the test moves by hand: one tick of 100 ms at a time.
class FileBackendRecordingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("recorder-files-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        platform::audio::FileCapture::ResetFolderPositions();
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string WriteReading(const std::string& name, size_t count, int16_t base)
    {
        std::vector<int16_t> samples(count);
        for (size_t i = 0; i < count; ++i)
            samples[i] = static_cast<int16_t>(base + static_cast<int16_t>(i % 30000));
        std::string path = (m_folder / name).string();
        std::string error;
        EXPECT_TRUE(platform::audio::WriteWav(path, 11025, samples, error)) << error;
        return path;
    }

    WaveRecorder::CaptureFactory Factory(const std::string& path)
    {
        return [this, path] { return std::make_unique<platform::audio::FileCapture>(path, [this] { return m_now; }); };
    }

    fs::path m_folder;
    int64_t m_now = 1000;
};

TEST_F(FileBackendRecordingTest, ThirtyTicksDeliverTheWholeReadingInOrder)
{
    std::string path = WriteReading("reading.wav", 40000, -15000);
    WaveRecorder recorder(3000, 100, Factory(path));
    recorder.SetSeconds(3);
    recorder.Allocate();
    recorder.PrepareHeader();
    ASSERT_EQ(recorder.Begin(), 1) << recorder.GetLastErrorText();

    WaveformModel model({0, 0, 300, 100}, recorder.GetBufferSize(), 22050, 100);
    int total = 0;
    for (int tick = 1; tick <= 30; ++tick) {
        m_now += 100;
        total += recorder.Poll();
        // Every tick's slice has fully arrived by the time it is drawn.
        EXPECT_EQ(recorder.GetSamplesRecorded(), model.TickSlice(tick).last) << "tick " << tick;
    }
    EXPECT_EQ(total, 33075);
    ASSERT_EQ(recorder.Stop(), 1);
    EXPECT_EQ(recorder.GetSamplesRecorded(), 33075);
    for (long i = 0; i < 33075; ++i)
        ASSERT_EQ(recorder.Sample(i), static_cast<int16_t>(-15000 + i % 30000)) << "sample " << i;
}

TEST_F(FileBackendRecordingTest, FolderReadingsComeInNameOrderAndShortFilesEndInSilence)
{
    WriteReading("b.wav", 500, 200);
    WriteReading("a.wav", 33075, 100);
    WaveRecorder recorder(3000, 100, Factory(m_folder.string()));
    recorder.SetSeconds(3);
    recorder.Allocate();
    std::vector<int16_t> firsts;
    for (int reading = 0; reading < 3; ++reading) {
        ASSERT_EQ(recorder.Begin(), 1) << recorder.GetLastErrorText();
        m_now += 3000;
        recorder.Stop();
        firsts.push_back(recorder.Sample(0));
        if (reading == 1) {
            EXPECT_EQ(recorder.Sample(499), 200 + 499);
            EXPECT_EQ(recorder.Sample(500), 0);
            EXPECT_EQ(recorder.GetSamplesRecorded(), 33075);
        }
    }
    // After the last file the folder starts again from its first.
    EXPECT_EQ(firsts, (std::vector<int16_t> {100, 200, 100}));
}

TEST_F(FileBackendRecordingTest, WrongFormatIsAClearError)
{
    std::string path = (m_folder / "stereo.wav").string();
    std::string error;
    ASSERT_TRUE(platform::audio::WriteWav(path, 22050, std::vector<int16_t>(100, 1), error));
    WaveRecorder recorder(3000, 100, Factory(path));
    recorder.SetSeconds(3);
    recorder.Allocate();
    EXPECT_EQ(recorder.Begin(), 0);
    EXPECT_EQ(recorder.GetLastResult(), platform::audio::kAudioBadFormat);
    EXPECT_NE(recorder.GetLastErrorText().find("stereo.wav"), std::string::npos) << recorder.GetLastErrorText();
}

} // namespace
