// The command-line cut, natively: every shape of command line appletgate must
// take apart or refuse.
#include "command_line.h"

#include <gtest/gtest.h>

using appletgate::Arguments_Of;
using appletgate::Command;
using appletgate::Mutex_Name;
using appletgate::Parse_Command_Line;

namespace {

struct ParseCase {
    const char *name;
    std::string text;
    bool accepted;
    std::string class_part;
    std::string title;
    std::optional<std::string> parameter;
};

ParseCase Accepts(const char *name, std::string text, std::string class_part, std::string title,
                  std::optional<std::string> parameter = std::nullopt)
{
    return {name, std::move(text), true, std::move(class_part), std::move(title), std::move(parameter)};
}
ParseCase Refuses(const char *name, std::string text) { return {name, std::move(text), false, {}, {}, {}}; }

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, SplitsOrRefuses)
{
    const ParseCase &c = GetParam();
    const std::optional<Command> command = Parse_Command_Line(c.text);
    ASSERT_EQ(command.has_value(), c.accepted) << '"' << c.text << '"';
    if (!command)
        return;
    EXPECT_EQ(command->class_part, c.class_part);
    EXPECT_EQ(command->title, c.title);
    EXPECT_EQ(command->parameter, c.parameter);
}

const std::string C = "{0F0E0D0C-1111-2222-3333-444455556666}";

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseCommandLineTest,
    ::testing::Values(
        Accepts("OneWordTitle", C + " Setup", C, "Setup"),
        Accepts("ThreeLetterParameter", C + " Camera Setup abc", C, "Camera Setup", "abc"),
        Accepts("DashedSixLetterParameter", C + " Setup ab-cde", C, "Setup", "ab-cde"),
        Accepts("SixLettersWithoutDashAreTitle", C + " Setup abcdef", C, "Setup abcdef"),
        Accepts("DashInWrongPlaceIsTitle", C + " Setup abc-de", C, "Setup abc-de"),
        Accepts("TwoLettersAreTitle", C + " Setup ab", C, "Setup ab"),
        Accepts("FourLettersAreTitle", C + " Setup abcd", C, "Setup abcd"),
        Accepts("SevenLettersAreTitle", C + " Setup ab-cdef", C, "Setup ab-cdef"),
        Accepts("AnyCharacterSeparates", C + "|Door 1 xyz", C, "Door 1", "xyz"),
        Accepts("OneCharacterTitleWithParameter", C + " x abc", C, "x", "abc"),
        Accepts("DoubleSpaceStaysInTitle", C + " Setup  abc", C, "Setup ", "abc"),
        Accepts("TrailingSpaceStaysInTitle", C + " Setup ", C, "Setup "),
        Accepts("SpaceInsideClassPart", "{a b} Setup", "{a b}", "Setup"),
        Accepts("OnlyFirstBraceEndsClassPart", "{a}} Setup", "{a}", " Setup"),
        Accepts("ClassPartNeedNotBeBraced", "Keyvane.Applet} Setup", "Keyvane.Applet}", "Setup"),
        Refuses("ParameterButNoTitle", C + " abc"),
        Refuses("SeparatorThenParameterOnly", C + "  abc"),
        Refuses("NoClosingBrace", "{0F0E0D0C Setup"),
        Refuses("NoSpace", C + "|Setup"),
        Refuses("Empty", ""),
        Refuses("NothingAfterBrace", "{a b}"),
        Refuses("OnlySeparatorAfterBrace", C + " "),
        Refuses("LoneBraceIsNoClass", "} Setup"),
        // The parameter word starts inside the class part: no room for a title.
        Refuses("ParameterOverlapsClassPart", "{ab c}d")),
    [](const ::testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

struct TailCase {
    const char *name;
    std::string full;
    std::string tail;
};

class ArgumentsOfTest : public ::testing::TestWithParam<TailCase> {};

TEST_P(ArgumentsOfTest, DropsProgramName)
{
    EXPECT_EQ(Arguments_Of(GetParam().full), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentsOfTest,
    ::testing::Values(TailCase{"Bare", "appletgate.exe {C} Setup", "{C} Setup"},
                      TailCase{"QuotedWithSpaces", "\"C:\\Program Files\\appletgate.exe\" {C} Setup", "{C} Setup"},
                      TailCase{"BlanksAfterNameDropped", "appletgate.exe \t  {C}  Setup", "{C}  Setup"},
                      TailCase{"QuotedNameTouchingArguments", "\"a.exe\"{C} Setup", "{C} Setup"},
                      TailCase{"NameOnly", "appletgate.exe", ""},
                      TailCase{"QuotedNameOnly", "\"C:\\x y\\appletgate.exe\"", ""},
                      TailCase{"UnclosedQuote", "\"C:\\x y\\appletgate.exe {C} Setup", ""},
                      TailCase{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<TailCase> &info) { return std::string(info.param.name); });

TEST(MutexNameTest, TitleFollowsPrefixUpTo259Characters)
{
    EXPECT_EQ(Mutex_Name("Setup"), "ORVIK.Setup.OpenControlPanel.Setup");
    const std::optional<std::string> longest = Mutex_Name(std::string(230, 'T'));
    ASSERT_TRUE(longest.has_value());
    EXPECT_EQ(longest->size(), 259u);
    EXPECT_FALSE(Mutex_Name(std::string(231, 'T')).has_value());
}

} // namespace
