#include <gtest/gtest.h>

#include "ArgumentParser.h"

#include <map>
#include <string>
#include <vector>

namespace {

// The options of a typical tool: every kind of declaration once.
struct ToolOptions
{
    std::string dir;
    int repeat = 5;
    float margin = 0.3f;
    bool trim = false;
    bool adapt = true;
    std::vector<std::string> files;
};

tools::ArgumentParser ParserFor(ToolOptions& o)
{
    tools::ArgumentParser parser;
    parser.Text("dir", &o.dir)
        .Integer("repeat", 1, 20, &o.repeat)
        .Number("margin", &o.margin)
        .Switch("trim", &o.trim)
        .Switch("no-adapt", &o.adapt, false)
        .Operands(&o.files);
    return parser;
}

TEST(ArgumentParserTest, ReadsEveryKindOfOptionAndKeepsOperandsInOrder)
{
    ToolOptions o;
    std::string error;
    ASSERT_TRUE(ParserFor(o).Parse(
        {"a.wav", "--dir", "/tmp/x", "--repeat=7", "b.wav", "--margin", "-0.25", "--trim", "--no-adapt", "c.wav"},
        error))
        << error;
    EXPECT_EQ(o.dir, "/tmp/x");
    EXPECT_EQ(o.repeat, 7);
    EXPECT_FLOAT_EQ(o.margin, -0.25f);
    EXPECT_TRUE(o.trim);
    EXPECT_FALSE(o.adapt);
    EXPECT_EQ(o.files, (std::vector<std::string> {"a.wav", "b.wav", "c.wav"}));
}

TEST(ArgumentParserTest, UndeclaredOptionsKeepTheirDefaults)
{
    ToolOptions o;
    std::string error;
    ASSERT_TRUE(ParserFor(o).Parse({"only.wav"}, error)) << error;
    EXPECT_EQ(o.repeat, 5);
    EXPECT_FLOAT_EQ(o.margin, 0.3f);
    EXPECT_FALSE(o.trim);
    EXPECT_TRUE(o.adapt);
}

TEST(ArgumentParserTest, DoubleDashEndsTheOptionsAndLoneDashIsAnOperand)
{
    ToolOptions o;
    std::string error;
    ASSERT_TRUE(ParserFor(o).Parse({"-", "--", "--trim", "--dir"}, error)) << error;
    EXPECT_FALSE(o.trim);
    EXPECT_EQ(o.files, (std::vector<std::string> {"-", "--trim", "--dir"}));
}

TEST(ArgumentParserTest, AnEmptyValueAfterTheEqualsSignIsAValue)
{
    ToolOptions o;
    o.dir = "before";
    std::string error;
    ASSERT_TRUE(ParserFor(o).Parse({"--dir="}, error)) << error;
    EXPECT_EQ(o.dir, "");
}

struct UsageCase
{
    std::vector<std::string> words;
    const char* reason;
};

class ArgumentParserUsageTest : public ::testing::TestWithParam<UsageCase>
{
};

TEST_P(ArgumentParserUsageTest, IsRefusedWithOneLineNamingTheCause)
{
    ToolOptions o;
    std::string error;
    EXPECT_FALSE(ParserFor(o).Parse(GetParam().words, error));
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Mistakes, ArgumentParserUsageTest,
    ::testing::Values(UsageCase {{"--bogus"}, "unknown option --bogus"},
        UsageCase {{"--bogus=1"}, "unknown option --bogus"}, UsageCase {{"--dir"}, "--dir needs a value"},
        UsageCase {{"--trim", "--trim"}, "--trim given twice"},
        UsageCase {{"--dir", "a", "--dir=b"}, "--dir given twice"}, UsageCase {{"--trim=yes"}, "takes no value"},
        UsageCase {{"--repeat", "21"}, "--repeat wants a whole number from 1 to 20, not \"21\""},
        UsageCase {{"--repeat", "0"}, "from 1 to 20"}, UsageCase {{"--repeat", "5x"}, "not \"5x\""},
        UsageCase {{"--repeat", ""}, "not \"\""}, UsageCase {{"--repeat", "99999999999999999999"}, "from 1 to 20"},
        UsageCase {{"--margin", "0.3.1"}, "--margin wants a number"}, UsageCase {{"--margin", "inf"}, "number"},
        UsageCase {{"--margin", ""}, "--margin wants a number"}));

TEST(ArgumentParserTest, AnOperandIsAUsageErrorWhereTheToolTakesNone)
{
    int threads = 2;
    std::string error;
    EXPECT_FALSE(tools::ArgumentParser().Integer("threads", 1, 16, &threads).Parse({"--threads", "4", "x"}, error));
    EXPECT_EQ(error, "unexpected argument \"x\"");
}

TEST(ArgumentParserTest, OtherOptionsAreCollectedByNameWhenTheToolAsksForThem)
{
    std::vector<std::string> words;
    std::map<std::string, std::string> options;
    std::string error;
    ASSERT_TRUE(tools::ArgumentParser().Operands(&words).OtherOptions(&options).Parse(
        {"user", "create", "--name", "Ann", "--group=1", "alice"}, error))
        << error;
    EXPECT_EQ(words, (std::vector<std::string> {"user", "create", "alice"}));
    EXPECT_EQ(options, (std::map<std::string, std::string> {{"name", "Ann"}, {"group", "1"}}));

    EXPECT_FALSE(tools::ArgumentParser().OtherOptions(&options).Parse({"--name", "a", "--name", "b"}, error));
    EXPECT_EQ(error, "option --name given twice");
    EXPECT_FALSE(tools::ArgumentParser().OtherOptions(&options).Parse({"--out"}, error));
    EXPECT_EQ(error, "option --out needs a value");
}

TEST(ArgumentParserTest, CommandLineWordsLeaveOutTheProgramName)
{
    char program[] = "tool";
    char first[] = "--trim";
    char second[] = "a.wav";
    char* argv[] = {program, first, second, nullptr};
    EXPECT_EQ(tools::CommandLineWords(3, argv), (std::vector<std::string> {"--trim", "a.wav"}));
    EXPECT_TRUE(tools::CommandLineWords(1, argv).empty());
}

TEST(ArgumentParserTest, AUsageErrorIsOneLineOnStandardErrorAndExitStatusTwo)
{
    ::testing::internal::CaptureStderr();
    const int status = tools::ReportUsageError("halvox", "unknown option --x");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "halvox: unknown option --x\n");
    EXPECT_EQ(status, 2);
}

} // namespace
