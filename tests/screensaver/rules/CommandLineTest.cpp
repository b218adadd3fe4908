#include "rules/CommandLine.h"

#include <gtest/gtest.h>

namespace screenveil {
namespace {

struct Case
{
    std::vector<std::string> arguments;
    StartAction action;
};

void PrintTo(const Case& c, std::ostream* out)
{
    for (const std::string& argument : c.arguments)
        *out << '[' << argument << ']';
}

class CommandLineTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(CommandLineTest, FirstArgumentDecides)
{
    EXPECT_EQ(ParseCommandLine(GetParam().arguments).action, GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineTest,
    ::testing::Values(Case {{}, StartAction::Lock}, Case {{"/k"}, StartAction::Lock},
        Case {{"/s"}, StartAction::SystemStart}, Case {{"-s"}, StartAction::SystemStart},
        // Only the second character counts, in its own letter case.
        Case {{"xs"}, StartAction::SystemStart}, Case {{"/S"}, StartAction::Lock},
        Case {{"/c:1234"}, StartAction::Settings}, Case {{"-c"}, StartAction::Settings},
        Case {{"/a"}, StartAction::Exit}, Case {{"/A"}, StartAction::Lock}, Case {{"/p", "77"}, StartAction::Preview},
        Case {{"-p", "77"}, StartAction::Preview},
        // A preview switch is exactly two characters; anything longer is judged by its second one.
        Case {{"/pc"}, StartAction::Lock}, Case {{"/"}, StartAction::Lock}, Case {{""}, StartAction::Lock}));

TEST(PreviewWindow, TakesTheDecimalIdAfterTheSwitch)
{
    EXPECT_EQ(ParseCommandLine({"/p", "4194305"}).previewWindow, 4194305u);
    EXPECT_EQ(ParseCommandLine({"/p"}).previewWindow, 0u);
    EXPECT_EQ(ParseCommandLine({"/p", "12x"}).previewWindow, 0u);
    EXPECT_EQ(ParseCommandLine({"/p", "-5"}).previewWindow, 0u);
}

} // namespace
} // namespace screenveil
