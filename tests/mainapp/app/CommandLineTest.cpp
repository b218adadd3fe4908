#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace deskwarden::test {
namespace {

using namespace deskwarden::app;

std::optional<StartOptions> Parse(std::vector<std::string> words, std::string& error)
{
    return ParseCommandLine(words, "/home/u/docs", error);
}

TEST(CommandLine, AFileIsMadeAbsoluteAndTheSplashCanBeTurnedOff)
{
    std::string error;
    auto options = Parse({}, error);
    ASSERT_TRUE(options.has_value());
    EXPECT_TRUE(options->splash);
    EXPECT_EQ(options->file, "");

    options = Parse({"--no-splash", "../a.txt"}, error);
    ASSERT_TRUE(options.has_value());
    EXPECT_FALSE(options->splash);
    EXPECT_EQ(options->file, "/home/u/a.txt");

    options = Parse({"--", "-odd name"}, error);
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->file, "/home/u/docs/-odd name");
}

TEST(CommandLine, UnknownOptionsAndSecondFilesAreUsageErrors)
{
    std::string error;
    EXPECT_FALSE(Parse({"--splash-me"}, error).has_value());
    EXPECT_EQ(error, "unknown option --splash-me");
    EXPECT_FALSE(Parse({"/a", "/b"}, error).has_value());
    EXPECT_EQ(error, "only one file can be named");
    EXPECT_FALSE(Parse({""}, error).has_value());
}

} // namespace
} // namespace deskwarden::test
