// appletgate.exe under Wine, with the recording applet: what the exit code is
// for each way the registry look-up and the library can go, what the applet is
// sent, and what a second start with the same title does.
#include "wine_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <thread>

using namespace gatetest;
using namespace std::chrono_literals;

namespace {

constexpr std::uint32_t kDone = 0;
constexpr std::uint32_t kEFail = 0x80004005;
constexpr std::uint32_t kLoadFailed = 0x80040901;
constexpr std::uint32_t kNoEntryPoint = 0x80040902;

const std::string kInit = "1 CPL_INIT window=0 lParam1=0 lParam2=0";
const std::string kDblClk = "5 CPL_DBLCLK window=0 lParam1=0 lParam2=0";
const std::string kExit = "7 CPL_EXIT window=0 lParam1=0 lParam2=0";
std::string StartWParms(const std::string &text)
{
    return "9 CPL_STARTWPARMSA window=0 lParam1=0 lParam2=\"" + text + "\"";
}

std::string Hex(std::uint32_t code)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", code);
    return text;
}

std::vector<std::string> Texts(const std::vector<LogLine> &log)
{
    std::vector<std::string> texts;
    for (const LogLine &line : log)
        texts.push_back(line.text);
    return texts;
}

std::set<std::string> Pids(const std::vector<LogLine> &log)
{
    std::set<std::string> pids;
    for (const LogLine &line : log)
        pids.insert(line.pid);
    return pids;
}

bool Has(const std::filesystem::path &log, const std::string &text)
{
    for (const LogLine &line : Read_Log(log))
        if (line.text == text)
            return true;
    return false;
}

bool Wait_For(const std::filesystem::path &log, const std::string &text, std::chrono::seconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Has(log, text))
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// The environment of one run: its own log, and the applet directory that an
// expanding reader would substitute into the REG_EXPAND_SZ value.
std::vector<std::string> Applet_Env(const std::filesystem::path &log, std::vector<std::string> more = {})
{
    more.push_back("GATE_APPLET_LOG=" + Session().Windows_Path(log));
    more.push_back("GATE_APPLET_DIR=" + Session().Applet_Dir());
    return more;
}

// --- exit codes -------------------------------------------------------------

struct ExitCase {
    const char *name;
    std::string command_line;
    std::uint32_t code;
    bool applet_runs; // if so it must see CPL_INIT, CPL_DBLCLK, CPL_EXIT
};

class ExitCodeTest : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitCodeTest, EndsWithItsCode)
{
    const ExitCase &c = GetParam();
    const auto log = Session().New_Path("exit-log");
    const GateOutcome outcome = Session().Run_Gate(c.command_line, Applet_Env(log));
    ASSERT_TRUE(outcome.exited) << outcome.report;
    EXPECT_EQ(Hex(outcome.code), Hex(c.code));
    const std::vector<std::string> expected =
        c.applet_runs ? std::vector<std::string>{kInit, kDblClk, kExit} : std::vector<std::string>{};
    EXPECT_EQ(Texts(Read_Log(log)), expected);
}

std::string Title(std::size_t length) { return std::string(length, 'T'); }

INSTANTIATE_TEST_SUITE_P(
    Wine, ExitCodeTest,
    ::testing::Values(
        ExitCase{"RegSzPath", std::string(cls::kSz) + " Setup", kDone, true},
        ExitCase{"ExpandSzPathAsStored", std::string(cls::kExpand) + " Setup", kDone, true},
        // Expanded, %GATE_APPLET_DIR% would name the real applet; as stored it names nothing.
        ExitCase{"ExpandSzNotExpanded", std::string(cls::kExpandVar) + " Setup", kLoadFailed, false},
        ExitCase{"RegSzWithoutTerminator", std::string(cls::kUnterminated) + " Setup", kDone, true},
        ExitCase{"ClassWithoutServerKey", std::string(cls::kNoServerKey) + " Setup", kEFail, false},
        ExitCase{"ServerKeyWithoutDefaultValue", std::string(cls::kNoDefault) + " Setup", kEFail, false},
        ExitCase{"DwordDefaultValue", std::string(cls::kDword) + " Setup", kEFail, false},
        ExitCase{"MultiSzDefaultValue", std::string(cls::kMultiSz) + " Setup", kEFail, false},
        ExitCase{"UnregisteredClass", std::string(cls::kUnregistered) + " Setup", kEFail, false},
        ExitCase{"PathToNoFile", std::string(cls::kMissingFile) + " Setup", kLoadFailed, false},
        ExitCase{"PathToTextFile", std::string(cls::kNotLibrary) + " Setup", kLoadFailed, false},
        ExitCase{"LibraryWithoutCPlApplet", std::string(cls::kNoEntry) + " Setup", kNoEntryPoint, false},
        ExitCase{"EmptyCommandLine", "", kEFail, false},
        ExitCase{"NoClosingBrace", "6B7F2A10 Setup", kEFail, false},
        ExitCase{"ParameterButNoTitle", std::string(cls::kSz) + " abc", kEFail, false},
        // "ORVIK.Setup.OpenControlPanel." has 29 characters: 230 more make 259.
        // Windows refuses a mutex name with a backslash (error 3): the applet opens unguarded.
        ExitCase{"BackslashInTitle", std::string(cls::kSz) + " Door\\1", kDone, true},
        ExitCase{"LongestTitle", std::string(cls::kSz) + " " + Title(230), kDone, true},
        ExitCase{"TitleTooLongForMutexName", std::string(cls::kSz) + " " + Title(231), kEFail, false}),
    [](const ::testing::TestParamInfo<ExitCase> &info) { return std::string(info.param.name); });

// --- message sequence -------------------------------------------------------

struct SequenceCase {
    const char *name;
    std::string after_class; // the command line after the class part
    std::string init_result; // what CPL_INIT answers; empty: 1
    std::vector<std::string> expected;
};

class MessageSequenceTest : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(MessageSequenceTest, AppletIsSentExactly)
{
    const SequenceCase &c = GetParam();
    const auto log = Session().New_Path("sequence-log");
    std::vector<std::string> env;
    if (!c.init_result.empty())
        env.push_back("GATE_APPLET_INIT=" + c.init_result);
    const GateOutcome outcome = Session().Run_Gate(std::string(cls::kSz) + c.after_class, Applet_Env(log, env));
    ASSERT_TRUE(outcome.exited) << outcome.report;
    EXPECT_EQ(Hex(outcome.code), Hex(kDone));
    const std::vector<LogLine> lines = Read_Log(log);
    EXPECT_EQ(Texts(lines), c.expected);
    EXPECT_EQ(Pids(lines).size(), 1u) << "every call comes from the one appletgate process";
}

INSTANTIATE_TEST_SUITE_P(
    Wine, MessageSequenceTest,
    ::testing::Values(
        SequenceCase{"NoParameter", " Setup", "", {kInit, kDblClk, kExit}},
        SequenceCase{"ThreeLetterParameter", " Camera Setup abc", "", {kInit, StartWParms("abc"), kExit}},
        SequenceCase{"DashedParameter", " Setup ab-cde", "", {kInit, StartWParms("ab-cde"), kExit}},
        SequenceCase{"SixLettersAreTitle", " Setup abcdef", "", {kInit, kDblClk, kExit}},
        SequenceCase{"OtherSeparator", "|Door 1 xyz", "", {kInit, StartWParms("xyz"), kExit}},
        SequenceCase{"InitAnswersZero", " Setup", "0", {kInit}},
        SequenceCase{"InitAnswersTwo", " Setup", "2", {kInit}},
        SequenceCase{"InitAnswersMinusOne", " Setup abc", "-1", {kInit}}),
    [](const ::testing::TestParamInfo<SequenceCase> &info) { return std::string(info.param.name); });

// --- second start -----------------------------------------------------------

TEST(SecondStartTest, SameTitleBringsTheOpenWindowToFrontAndExitsZero)
{
    const std::string title = "Front Door Setup";
    const std::string command_line = std::string(cls::kSz) + " " + title;
    const auto log = Session().New_Path("first-log");
    const auto release = Session().New_Path("release");
    const std::vector<std::string> env = Applet_Env(
        log, {"GATE_APPLET_WINDOW=" + title, "GATE_APPLET_RELEASE=" + Session().Windows_Path(release),
              "GATE_APPLET_HOLD_MS=30000"});

    ChildProcess first = Session().Start_Gate(command_line, env);
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(Wait_For(log, "window-ready", 30s))
        << "the applet window did not open behind a cover window: " << ::testing::PrintToString(Texts(Read_Log(log)));
    ASSERT_FALSE(Has(log, "activated")) << "nothing has tried to bring the window forward yet";

    const GateOutcome second = Session().Run_Gate(command_line, env);
    ASSERT_TRUE(second.exited) << second.report;
    EXPECT_EQ(Hex(second.code), Hex(kDone));
    EXPECT_TRUE(Wait_For(log, "activated", 10s))
        << "the open applet window was not brought to the front: " << ::testing::PrintToString(Texts(Read_Log(log)));
    EXPECT_TRUE(first.Running()) << "the first start must still be inside its applet";

    // The mutex is per title: another title opens its applet meanwhile.
    const auto other_log = Session().New_Path("other-log");
    const GateOutcome other = Session().Run_Gate(std::string(cls::kSz) + " Back Door Setup", Applet_Env(other_log));
    ASSERT_TRUE(other.exited) << other.report;
    EXPECT_EQ(Hex(other.code), Hex(kDone));
    EXPECT_EQ(Texts(Read_Log(other_log)), (std::vector<std::string>{kInit, kDblClk, kExit}));

    std::ofstream(release) << "done\n";
    const GateOutcome first_outcome = WineSession::Outcome_Of(first.Wait(60s));
    ASSERT_TRUE(first_outcome.exited) << first_outcome.report;
    EXPECT_EQ(Hex(first_outcome.code), Hex(kDone));
    const std::vector<LogLine> lines = Read_Log(log);
    EXPECT_EQ(Texts(lines), (std::vector<std::string>{kInit, kDblClk, "window-ready", "activated", "window-closed",
                                                       kExit}));
    EXPECT_EQ(Pids(lines).size(), 1u) << "the second start must not have driven the applet";

    // Once the first has ended its mutex is gone and the title opens again.
    const auto third_log = Session().New_Path("third-log");
    const GateOutcome third = Session().Run_Gate(command_line, Applet_Env(third_log));
    ASSERT_TRUE(third.exited) << third.report;
    EXPECT_EQ(Hex(third.code), Hex(kDone));
    EXPECT_EQ(Texts(Read_Log(third_log)), (std::vector<std::string>{kInit, kDblClk, kExit}));
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    const std::string skip = WineSession::Skip_Reason();
    if (!skip.empty()) {
        std::printf("SKIPPED: %s\n", skip.c_str());
        return 77; // SKIP_RETURN_CODE
    }
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    if (!Session().Open(error)) {
        std::fprintf(stderr, "Wine set-up failed: %s\n", error.c_str());
        Session().Close();
        return 1;
    }
    std::printf("Wine prefix ready in %.1f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const int result = RUN_ALL_TESTS();
    Session().Close();
    return result;
}
