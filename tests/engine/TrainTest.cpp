// Enrolment training: the model written from five analysed readings, its reproducibility, the choice of
// background model, and the refusals that keep bad state from reaching the trainer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "EnginePaths.h"
#include "ModelFiles.h"
#include "SmallEngineSession.h"
#include "Train.h"

namespace {

using namespace warden::test;

constexpr int kRepeats = 5;
constexpr int kEnrolledVoice = 3; // a male talker the background models never heard
constexpr int kWord = 0;

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Training : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const SmallEngineFolder& folder = SmallEngineFolder::Get();
        ASSERT_TRUE(folder.Ready()) << folder.Error();
        m_folder = folder.Folder();
    }

    // A context with slots filled from an enrolment of the given user.
    void Enrol(halvox::EngineContext& context, const char* userId, int voice = kEnrolledVoice)
    {
        ConfigureSmallEngine(context, m_folder, userId, "aaj", kRepeats);
        MakeUserFolder(m_folder, userId);
        ASSERT_TRUE(AnalyseEnrolment(context, voice, kWord, kRepeats));
    }

    std::string UserModel(const char* userId) const { return m_folder + "user/" + userId + "/aaj.bin"; }

    std::string m_folder;
};

TEST_F(Training, WritesAModelThatFitsTheContextAndTheReadings)
{
    halvox::EngineContext context;
    Enrol(context, "train-a");
    ASSERT_EQ(halvox::Train(context), 1) << context.labelText;
    EXPECT_STREQ(context.labelText, "");

    halvox::UserModel model;
    ASSERT_EQ(halvox::ReadUserModel(UserModel("train-a"), &model), halvox::ModelFileError::None);
    EXPECT_EQ(model.userId, "train-a");
    EXPECT_EQ(model.wordText, "test word");
    EXPECT_EQ(model.code, "aaj");
    EXPECT_EQ(model.flags, 0x2D); // male, noise mode 1
    EXPECT_EQ(model.dim, 20);
    EXPECT_EQ(model.states, 5);
    EXPECT_GE(model.codebookSize, 1);
    EXPECT_LE(model.codebookSize, kSmallCodebookSize);
    EXPECT_EQ(model.versionMajor, 3);
    EXPECT_EQ(model.versionMinor, 7);
    EXPECT_EQ(context.headerOut.versionMinor, 7);
    EXPECT_EQ(context.headerOut.headerLength, halvox::UserModelHeaderLength(model));
    // Every user codeword carries its spread, and the user model explains the readings better than the
    // background does, which puts the ratio of the (negative) scores below 1.
    for (float weight : model.weights)
        EXPECT_GT(weight, 0.0f);
    EXPECT_FLOAT_EQ(model.trainedRatio, context.trainedRatio);
    EXPECT_GT(model.trainedRatio, 0.0f);
    EXPECT_LT(model.trainedRatio, 1.0f);
    EXPECT_EQ(context.sex, 0);
    for (float a : model.a)
        EXPECT_GE(a, 1e-6f);
    std::cout << "[ figures  ] K_u " << model.codebookSize << ", trained ratio " << model.trainedRatio << "\n";
}

TEST_F(Training, TwoTrainingsOnTheSameReadingsGiveIdenticalFiles)
{
    halvox::EngineContext context;
    Enrol(context, "train-b");
    ASSERT_EQ(halvox::Train(context), 1) << context.labelText;
    const std::vector<char> first = FileBytes(UserModel("train-b"));
    ASSERT_FALSE(first.empty());
    // Training moves the slots onto the background mean; analyse the readings afresh as an enrolment would.
    ASSERT_TRUE(AnalyseEnrolment(context, kEnrolledVoice, kWord, kRepeats));
    ASSERT_EQ(halvox::Train(context), 1) << context.labelText;
    EXPECT_EQ(FileBytes(UserModel("train-b")), first);
}

TEST_F(Training, PicksTheFemaleBackgroundOnlyWhenMoreReadingsWereFemale)
{
    halvox::EngineContext context;
    Enrol(context, "train-c");
    context.maleCount = 2;
    context.femaleCount = 3;
    ASSERT_EQ(halvox::Train(context), 1) << context.labelText;
    EXPECT_EQ(context.sex, 1);
    halvox::UserModel model;
    ASSERT_EQ(halvox::ReadUserModelHeader(UserModel("train-c"), &model), halvox::ModelFileError::None);
    EXPECT_EQ(model.flags, 0x0D);

    ASSERT_TRUE(AnalyseEnrolment(context, kEnrolledVoice, kWord, kRepeats));
    context.maleCount = 2;
    context.femaleCount = 2;
    ASSERT_EQ(halvox::Train(context), 1) << context.labelText;
    EXPECT_EQ(context.sex, 0);
}

TEST_F(Training, WritesIntoTheWorkFolderWhenUserFoldersAreOff)
{
    halvox::EngineContext context;
    Enrol(context, "train-d");
    context.perUserFolders = 0;
    ASSERT_EQ(halvox::Train(context), 1) << context.labelText;
    EXPECT_TRUE(std::filesystem::exists(m_folder + "work/aaj.bin"));
}

TEST_F(Training, MissingBackgroundModelIsReportedWithItsPath)
{
    halvox::EngineContext context;
    Enrol(context, "train-e");
    const std::string empty = m_folder + "nothing-here/";
    halvox::CopyText(context.folder, empty.c_str());
    EXPECT_EQ(halvox::Train(context), 0);
    EXPECT_EQ(std::string(context.labelText), "[HALVOX] Cannot open file! [" + empty + "word16/aaj_m.bin]");
}

TEST_F(Training, UncreatableModelFileKeepsTheModelInMemoryOnly)
{
    halvox::EngineContext context;
    Enrol(context, "train-f");
    halvox::CopyText(context.userId, "no-such-user-folder");
    context.trainedRatio = 0.0f;
    EXPECT_EQ(halvox::Train(context), 0);
    EXPECT_EQ(std::string(context.labelText),
        "[HALVOX] Cannot create file! [" + m_folder + "user/no-such-user-folder/aaj.bin]");
    EXPECT_GT(context.trainedRatio, 0.0f);
    EXPECT_FALSE(context.work->user.codewords.empty());
}

TEST_F(Training, RefusesWithoutReadingsOrWithUnusableSlots)
{
    halvox::EngineContext fresh;
    ConfigureSmallEngine(fresh, m_folder, "train-g", "aaj", kRepeats);
    EXPECT_EQ(halvox::Train(fresh), 0);
    EXPECT_NE(std::string(fresh.labelText).find("Work memory error"), std::string::npos);

    halvox::EngineContext context;
    Enrol(context, "train-g");
    context.work->slots[2].frameCount = 1;
    EXPECT_EQ(halvox::Train(context), 0);
    EXPECT_NE(std::string(context.labelText).find("slot 2"), std::string::npos);

    context.work->slots[2].frameCount = context.work->slotCapacity + 1;
    EXPECT_EQ(halvox::Train(context), 0);

    // More repetitions than the work memory has slots: a sizing parameter changed under it.
    context.maxRepeat = kRepeats + 1;
    EXPECT_EQ(halvox::Train(context), 0);
    EXPECT_NE(std::string(context.labelText).find("parameters changed"), std::string::npos);
}

} // namespace
