#include "wine_session.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

extern char **environ;

namespace gatetest {

namespace fs = std::filesystem;

namespace {

std::string Env(const char *name)
{
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool Executable(const fs::path &path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

// A .reg file string: backslashes and quotes escaped.
std::string Reg_Quoted(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// REGEDIT4 hex(n) data: the bytes of `text` followed by `zeros` zero bytes.
std::string Reg_Hex(int type, const std::string &text, int zeros)
{
    std::string out = "hex(" + std::to_string(type) + "):";
    char byte[4];
    bool first = true;
    auto add = [&](unsigned char c) {
        std::snprintf(byte, sizeof byte, "%02x", c);
        out += (first ? "" : ",");
        out += byte;
        first = false;
    };
    for (unsigned char c : text)
        add(c);
    for (int i = 0; i < zeros; ++i)
        add(0);
    return out;
}

std::string Server_Key(const char *class_id) { return std::string("[HKEY_CLASSES_ROOT\\CLSID\\") + class_id + "\\InprocServer32]"; }

} // namespace

WineSession &Session()
{
    static WineSession session;
    return session;
}

std::string WineSession::Skip_Reason()
{
    if (!Env("APPLETGATE_SKIP").empty())
        return Env("APPLETGATE_SKIP");
    if (!Executable(Env("APPLETGATE_WINE")))
        return "Wine (wine64) is not installed; scripts/install-deps installs it";
    if (!Executable(Env("APPLETGATE_WINESERVER")))
        return "wineserver is not installed; scripts/install-deps installs it";
    return "";
}

std::string WineSession::Windows_Path(const fs::path &path) const
{
    // Drive Z: is the Unix root in every new prefix.
    std::string text = "Z:" + fs::absolute(path).string();
    for (char &c : text)
        if (c == '/')
            c = '\\';
    return text;
}

fs::path WineSession::New_Path(const std::string &stem) { return dir_ / (stem + "-" + std::to_string(++counter_)); }

std::vector<std::string> WineSession::Environment(const std::vector<std::string> &extra) const
{
    std::vector<std::string> env;
    for (char **e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        // Headless on purpose, and nothing of the caller's own Wine set-up.
        if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0 || entry.rfind("WINE", 0) == 0
            || entry.rfind("GATE_", 0) == 0)
            continue;
        env.push_back(entry);
    }
    env.push_back("WINEPREFIX=" + prefix_.string());
    env.push_back("WINEARCH=win64");
    env.push_back("WINEDEBUG=-all");
    env.push_back("WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d");
    env.push_back("GATE_EXE=" + Windows_Path(gate_exe_));
    // The runner gives up on a hung appletgate well before this driver would
    // give up on the runner, so nothing is left running inside the prefix.
    env.push_back("GATE_TIMEOUT_MS=40000");
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

ChildResult WineSession::Wine(const std::vector<std::string> &args, std::chrono::seconds timeout) const
{
    std::vector<std::string> argv{wine_.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return Run(argv, Environment({}), timeout);
}

bool WineSession::Open(std::string &error)
{
    gate_exe_ = Env("APPLETGATE_EXE");
    test_bin_ = Env("APPLETGATE_TEST_BIN");
    wine_ = Env("APPLETGATE_WINE");
    wineserver_ = Env("APPLETGATE_WINESERVER");
    for (const fs::path &needed : {gate_exe_, test_bin_ / "gate_runner.exe", test_bin_ / "recording_applet.dll",
                                   test_bin_ / "no_entry.dll"}) {
        if (!fs::exists(needed)) {
            error = "not built: " + needed.string();
            return false;
        }
    }

    std::string pattern = (fs::temp_directory_path() / "appletgate-wine-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = "cannot make a temporary directory";
        return false;
    }
    dir_ = pattern;
    prefix_ = dir_ / "prefix";

    const ChildResult boot = Wine({"wineboot", "--init"}, std::chrono::seconds(180));
    if (!boot.finished || boot.exit_status != 0) {
        error = "wineboot failed to make the prefix " + prefix_.string();
        return false;
    }
    if (!Write_Registry(error))
        return false;
    // The null display driver, chosen in the registry, is only picked up by a
    // fresh server. Keep that one up between runs, but not forever should
    // this driver be killed before Close().
    Run({wineserver_.string(), "-k"}, Environment({}), std::chrono::seconds(30));
    Run({wineserver_.string(), "-w"}, Environment({}), std::chrono::seconds(30));
    Run({wineserver_.string(), "-p30"}, Environment({}), std::chrono::seconds(30));

    // The first window of a prefix also starts Wine's desktop process; have
    // that happen here rather than in the middle of a test that times windows.
    const GateOutcome warm = Run_Gate(std::string(cls::kSz) + " Warm-up window",
                                      {"GATE_APPLET_WINDOW=Warm-up window", "GATE_APPLET_HOLD_MS=0"});
    if (!warm.exited || warm.code != 0) {
        error = "the warm-up run failed: " + warm.report;
        return false;
    }
    return true;
}

bool WineSession::Write_Registry(std::string &error)
{
    const std::string recorder = Windows_Path(test_bin_ / "recording_applet.dll");
    const fs::path not_library = dir_ / "not_a_library.dll";
    std::ofstream(not_library) << "This is a text file, not a library.\n";

    std::ostringstream reg;
    reg << "REGEDIT4\r\n\r\n"
        // Windows without an X display: the null driver still lets the applet
        // open, find and activate top-level windows.
        << "[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n\"Graphics\"=\"null\"\r\n\r\n"
        << Server_Key(cls::kSz) << "\r\n@=" << Reg_Quoted(recorder) << "\r\n\r\n"
        << Server_Key(cls::kExpand) << "\r\n@=" << Reg_Hex(2, recorder, 1) << "\r\n\r\n"
        << Server_Key(cls::kExpandVar) << "\r\n@=" << Reg_Hex(2, "%GATE_APPLET_DIR%\\recording_applet.dll", 1)
        << "\r\n\r\n"
        << "[HKEY_CLASSES_ROOT\\CLSID\\" << cls::kNoServerKey << "]\r\n@=\"Test class without a server\"\r\n\r\n"
        << Server_Key(cls::kNoDefault) << "\r\n\"ThreadingModel\"=\"Apartment\"\r\n\r\n"
        << Server_Key(cls::kDword) << "\r\n@=dword:00000001\r\n\r\n"
        << Server_Key(cls::kMultiSz) << "\r\n@=" << Reg_Hex(7, recorder, 2) << "\r\n\r\n"
        << Server_Key(cls::kMissingFile) << "\r\n@=" << Reg_Quoted(Windows_Path(dir_ / "missing" / "applet.dll"))
        << "\r\n\r\n"
        << Server_Key(cls::kNotLibrary) << "\r\n@=" << Reg_Quoted(Windows_Path(not_library)) << "\r\n\r\n"
        << Server_Key(cls::kNoEntry) << "\r\n@=" << Reg_Quoted(Windows_Path(test_bin_ / "no_entry.dll"))
        << "\r\n\r\n";
    const fs::path reg_file = dir_ / "classes.reg";
    std::ofstream(reg_file, std::ios::binary) << reg.str();

    const ChildResult import = Wine({"reg", "import", Windows_Path(reg_file)}, std::chrono::seconds(60));
    if (!import.finished || import.exit_status != 0) {
        error = "reg import failed";
        return false;
    }
    // A .reg file cannot store a string without its terminator; the runner can.
    const ChildResult raw = Wine({(test_bin_ / "gate_runner.exe").string(), "raw-sz",
                                  std::string("CLSID\\") + cls::kUnterminated + "\\InprocServer32", recorder},
                                 std::chrono::seconds(60));
    if (raw.output.find("ok") == std::string::npos) {
        error = "could not store the unterminated value: " + raw.output;
        return false;
    }
    return true;
}

void WineSession::Close()
{
    if (dir_.empty())
        return;
    Run({wineserver_.string(), "-k"}, Environment({}), std::chrono::seconds(30));
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
    dir_.clear();
}

ChildProcess WineSession::Start_Gate(const std::string &command_line, const std::vector<std::string> &extra_env)
{
    std::vector<std::string> extra{"GATE_COMMAND_LINE=" + command_line};
    extra.insert(extra.end(), extra_env.begin(), extra_env.end());
    return ChildProcess::Start({wine_.string(), (test_bin_ / "gate_runner.exe").string()}, Environment(extra));
}

GateOutcome WineSession::Outcome_Of(const ChildResult &result)
{
    GateOutcome outcome;
    outcome.report = result.output;
    unsigned long code = 0;
    const std::size_t at = result.output.find("exit=0x");
    if (result.finished && at != std::string::npos && std::sscanf(result.output.c_str() + at, "exit=0x%lx", &code) == 1) {
        outcome.exited = true;
        outcome.code = static_cast<std::uint32_t>(code);
    }
    return outcome;
}

GateOutcome WineSession::Run_Gate(const std::string &command_line, const std::vector<std::string> &extra_env,
                                  std::chrono::seconds timeout)
{
    ChildProcess child = Start_Gate(command_line, extra_env);
    return Outcome_Of(child.Wait(timeout));
}

std::vector<LogLine> Read_Log(const fs::path &path)
{
    std::vector<LogLine> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        lines.push_back({line.substr(0, space), line.substr(space + 1)});
    }
    return lines;
}

} // namespace gatetest
