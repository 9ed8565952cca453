// Test helper run under Wine. Wine builds a Windows command line from Unix
// arguments by its own quoting rules and hands back only 8 bits of an exit
// code, so the tests start appletgate through this runner instead:
//   gate_runner                  runs "<GATE_EXE>" <GATE_COMMAND_LINE> exactly
//                                and prints "exit=0x%08X" (or "timeout" after
//                                GATE_TIMEOUT_MS, default 60000, when it kills it)
//   gate_runner raw-sz KEY TEXT  stores TEXT as the default REG_SZ value of
//                                HKEY_CLASSES_ROOT\KEY without a terminating
//                                zero and prints "ok"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Env(const char *name)
{
    char buffer[8192];
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

int Store_Unterminated(const char *key_name, const char *text)
{
    HKEY key = nullptr;
    LONG error = RegCreateKeyExA(HKEY_CLASSES_ROOT, key_name, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (error == ERROR_SUCCESS) {
        error = RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                               static_cast<DWORD>(std::strlen(text)));
        RegCloseKey(key);
    }
    std::printf(error == ERROR_SUCCESS ? "ok\n" : "error %ld\n", error);
    return error == ERROR_SUCCESS ? 0 : 1;
}

int Run_Gate()
{
    const std::string exe = Env("GATE_EXE");
    const std::string tail = Env("GATE_COMMAND_LINE");
    const std::string timeout = Env("GATE_TIMEOUT_MS");
    const DWORD timeout_ms = timeout.empty() ? 60000 : std::strtoul(timeout.c_str(), nullptr, 10);

    std::string command_line = "\"" + exe + "\"";
    if (!tail.empty())
        command_line += " " + tail;

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::printf("start-failed %lu\n", GetLastError());
        return 1;
    }
    int result = 0;
    if (WaitForSingleObject(process.hProcess, timeout_ms) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        std::printf("timeout\n");
        result = 1;
    } else {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        std::printf("exit=0x%08lX\n", code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "raw-sz") == 0)
        return Store_Unterminated(argv[2], argv[3]);
    return Run_Gate();
}
