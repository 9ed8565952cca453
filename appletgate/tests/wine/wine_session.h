#pragma once
// One throwaway Wine prefix shared by every test of this run: making a prefix
// takes seconds, starting a program in a running one a fraction of that.
#include "child_process.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace gatetest {

// Classes registered in the prefix, one per way the look-up can go.
namespace cls {
inline constexpr const char *kSz = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0001}";         // REG_SZ -> recording applet
inline constexpr const char *kExpand = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0002}";     // REG_EXPAND_SZ, literal path
inline constexpr const char *kExpandVar = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0003}";  // REG_EXPAND_SZ "%GATE_APPLET_DIR%\..."
inline constexpr const char *kNoServerKey = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0004}"; // no InprocServer32 key
inline constexpr const char *kNoDefault = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0005}";   // InprocServer32, only a named value
inline constexpr const char *kDword = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0006}";       // default value is a REG_DWORD
inline constexpr const char *kMultiSz = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0007}";     // default value is a REG_MULTI_SZ
inline constexpr const char *kMissingFile = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0008}"; // path to no file
inline constexpr const char *kNotLibrary = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F0009}";  // path to a text file
inline constexpr const char *kNoEntry = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F000A}";     // DLL without CPlApplet
inline constexpr const char *kUnterminated = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F000B}"; // REG_SZ stored without a zero
inline constexpr const char *kUnregistered = "{6B7F2A10-3C4D-4E5F-8A9B-0C1D2E3F000C}"; // not in the registry at all
} // namespace cls

struct GateOutcome {
    bool exited = false;     // appletgate ended within the runner's deadline
    std::uint32_t code = 0;  // its full 32-bit exit code
    std::string report;      // the runner's output, for failure messages
};

// One line the recording applet wrote: the process that wrote it and the rest.
struct LogLine {
    std::string pid;
    std::string text;
};

class WineSession {
public:
    // Empty when everything the Wine tests need is there; otherwise why not.
    static std::string Skip_Reason();

    bool Open(std::string &error);
    void Close();

    std::string Windows_Path(const std::filesystem::path &path) const;
    // A fresh path in the session's directory, for a log or a release file.
    std::filesystem::path New_Path(const std::string &stem);

    // Runs appletgate with exactly `command_line` after its name; extra_env
    // holds "NAME=value" entries for the applet.
    GateOutcome Run_Gate(const std::string &command_line, const std::vector<std::string> &extra_env = {},
                         std::chrono::seconds timeout = std::chrono::seconds(60));
    ChildProcess Start_Gate(const std::string &command_line, const std::vector<std::string> &extra_env = {});
    static GateOutcome Outcome_Of(const ChildResult &result);

    std::string Applet_Dir() const { return Windows_Path(test_bin_); }

private:
    std::vector<std::string> Environment(const std::vector<std::string> &extra) const;
    ChildResult Wine(const std::vector<std::string> &args, std::chrono::seconds timeout) const;
    bool Write_Registry(std::string &error);

    std::filesystem::path gate_exe_, test_bin_, wine_, wineserver_;
    std::filesystem::path dir_, prefix_;
    int counter_ = 0;
};

WineSession &Session();

std::vector<LogLine> Read_Log(const std::filesystem::path &path);

} // namespace gatetest
