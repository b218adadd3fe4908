// The halvox tool's enrolment and verification commands, run as a user runs them: WAV files in, the
// engine's lines and an exit status out.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "EngineFolderFixture.h"
#include "WavFile.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun
{
    int status = -1;
    std::string output;
};

ToolRun RunTool(const std::string& arguments)
{
    ToolRun run;
    const std::string command = std::string(HALVOX_TOOL) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 512> buffer {};
    while (fgets(buffer.data(), buffer.size(), pipe) != nullptr)
        run.output += buffer.data();
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

class HalvoxTool : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        warden::test::FixtureOptions options;
        options.takesPerVoice = 2;
        s_scratch = new warden::test::ScratchEngineFolder(options);
        s_root = new fs::path(s_scratch->Path());
        s_ready = s_scratch->Ready();
    }

    static void TearDownTestSuite()
    {
        delete s_root;
        s_root = nullptr;
        delete s_scratch;
        s_scratch = nullptr;
    }

    static std::string Reading(int voice, int take)
    {
        const fs::path path = *s_root / ("v" + std::to_string(voice) + "_" + std::to_string(take) + ".wav");
        std::string error;
        EXPECT_TRUE(platform::audio::WriteWav(path.string(), 11025, warden::test::TestReading(voice, 2, take), error))
            << error;
        return path.string();
    }

    static std::string Session() { return "--dir " + s_root->string() + " --user u4 --word acj"; }

    static warden::test::ScratchEngineFolder* s_scratch;
    static fs::path* s_root;
    static bool s_ready;
};

warden::test::ScratchEngineFolder* HalvoxTool::s_scratch = nullptr;
fs::path* HalvoxTool::s_root = nullptr;
bool HalvoxTool::s_ready = false;

TEST_F(HalvoxTool, EnrolsThenAcceptsTheSameTalkerAndDeniesAnother)
{
    ASSERT_TRUE(s_ready);
    std::string files;
    for (int take = 0; take < 5; ++take)
        files += " " + Reading(4, take);
    const ToolRun enrol = RunTool("enrol " + Session() + " --text word" + files);
    ASSERT_EQ(enrol.status, 0) << enrol.output;
    EXPECT_NE(enrol.output.find("reading 5 of 5"), std::string::npos) << enrol.output;
    EXPECT_NE(enrol.output.find("[Male]"), std::string::npos) << enrol.output;
    EXPECT_TRUE(fs::exists(*s_root / "work/acj.bin"));

    const ToolRun info = RunTool("model-info " + (*s_root / "work/acj.bin").string());
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("user: u4"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("version: 3.7"), std::string::npos) << info.output;

    const ToolRun genuine = RunTool("verify " + Session() + " " + Reading(4, 7));
    EXPECT_EQ(genuine.status, 0) << genuine.output;
    EXPECT_NE(genuine.output.find("[Accept-0.000] "), std::string::npos) << genuine.output;

    const ToolRun impostor = RunTool("verify " + Session() + " " + Reading(10, 7));
    EXPECT_EQ(impostor.status, 1) << impostor.output;
    EXPECT_NE(impostor.output.find("decision: denied"), std::string::npos) << impostor.output;
}

TEST_F(HalvoxTool, ReportsErrorsWithStatusTwo)
{
    ASSERT_TRUE(s_ready);
    const ToolRun noModel = RunTool("verify --dir " + s_root->string() + " --user nobody --word adj " + Reading(4, 1));
    EXPECT_EQ(noModel.status, 2) << noModel.output;
    EXPECT_NE(noModel.output.find("Cannot open file!"), std::string::npos) << noModel.output;

    const fs::path stereo = *s_root / "not-a-wav.wav";
    std::FILE* f = std::fopen(stereo.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("RIFF....WAVEjunk", f);
    std::fclose(f);
    const ToolRun bad = RunTool("verify " + Session() + " " + stereo.string());
    EXPECT_EQ(bad.status, 2) << bad.output;

    const ToolRun tooFew = RunTool("enrol " + Session() + " " + Reading(4, 1));
    EXPECT_EQ(tooFew.status, 2) << tooFew.output;
    EXPECT_EQ(RunTool("verify --user x " + Reading(4, 1)).status, 2);
}

} // namespace
