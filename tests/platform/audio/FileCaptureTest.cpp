#include "FileCapture.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class FileCaptureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("file-capture-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        platform::audio::FileCapture::ResetFolderPositions();
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Write(const std::string& name, int rate, std::vector<int16_t> samples)
    {
        std::string path = (m_folder / name).string();
        std::string error;
        EXPECT_TRUE(platform::audio::WriteWav(path, rate, samples, error)) << error;
        return path;
    }

    platform::audio::FileCapture Capture(const std::string& path)
    {
        return platform::audio::FileCapture(path, [this] { return m_now; });
    }

    fs::path m_folder;
    int64_t m_now = 0;
    platform::audio::CaptureFormat m_format;
};

TEST_F(FileCaptureTest, SamplesArriveAtRealTimePace)
{
    std::vector<int16_t> samples(2000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(i);
    platform::audio::FileCapture capture = Capture(Write("r.wav", 11025, samples));
    ASSERT_EQ(capture.Open(m_format), platform::audio::kAudioOk) << capture.ErrorText();
    std::vector<int16_t> got(4000, -1);
    EXPECT_EQ(capture.Read(got.data(), got.size()), 0u); // not started
    ASSERT_EQ(capture.Start(), platform::audio::kAudioOk);
    EXPECT_EQ(capture.Read(got.data(), got.size()), 0u);
    m_now = 100;
    ASSERT_EQ(capture.Read(got.data(), got.size()), 1102u);
    EXPECT_EQ(got[1101], 1101);
    m_now = 200;
    ASSERT_EQ(capture.Read(got.data(), 500), 500u); // a small target takes what fits, the rest waits
    EXPECT_EQ(got[0], 1102);
    ASSERT_EQ(capture.Read(got.data(), got.size()), 603u);
    EXPECT_EQ(got[602], 0); // past the file's end: silence
    EXPECT_EQ(got[0], 1602);
}

TEST_F(FileCaptureTest, MissingInputsAreClearErrors)
{
    platform::audio::FileCapture missing = Capture((m_folder / "none.wav").string());
    EXPECT_EQ(missing.Open(m_format), platform::audio::kAudioNoDevice);
    EXPECT_NE(missing.ErrorText().find("none.wav"), std::string::npos);
    fs::create_directories(m_folder / "empty");
    platform::audio::FileCapture empty = Capture((m_folder / "empty").string());
    EXPECT_EQ(empty.Open(m_format), platform::audio::kAudioNoDevice);
    EXPECT_NE(empty.ErrorText().find("no WAV file"), std::string::npos);
}

TEST_F(FileCaptureTest, WrongRateAndBrokenFilesAreRefused)
{
    platform::audio::FileCapture fast = Capture(Write("fast.wav", 44100, std::vector<int16_t>(10)));
    EXPECT_EQ(fast.Open(m_format), platform::audio::kAudioBadFormat);
    std::string junk = (m_folder / "junk.wav").string();
    FILE* file = std::fopen(junk.c_str(), "wb");
    std::fputs("not a wave", file);
    std::fclose(file);
    platform::audio::FileCapture broken = Capture(junk);
    EXPECT_EQ(broken.Open(m_format), platform::audio::kAudioBadFormat);
    EXPECT_NE(broken.ErrorText().find("RIFF"), std::string::npos) << broken.ErrorText();
}

TEST_F(FileCaptureTest, FolderListsOnlyWaveFilesInNameOrder)
{
    Write("b.WAV", 11025, {2});
    Write("a.wav", 11025, {1});
    std::FILE* note = std::fopen((m_folder / "readme.txt").c_str(), "w");
    std::fclose(note);
    std::vector<std::string> files = platform::audio::ListWaveFiles(m_folder.string());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(fs::path(files[0]).filename(), "a.wav");
    EXPECT_EQ(fs::path(files[1]).filename(), "b.WAV");
}

} // namespace
