// A control-panel applet for the Wine tests. It appends one line per call to
// the file named by GATE_APPLET_LOG ("<pid> <message> <name> window=..
// lParam1=.. lParam2=..") so a test sees exactly what appletgate sent, and in
// which process.
//   GATE_APPLET_INIT     what CPL_INIT returns (default 1)
//   GATE_APPLET_WINDOW   on CPL_DBLCLK / CPL_STARTWPARMSA, open a top-level
//                        window with this title and stay in it until
//   GATE_APPLET_RELEASE  this file exists, or GATE_APPLET_HOLD_MS (default
//                        30000) have passed.
// While the window is open another window is put in front of it, and every
// later activation of the applet's window is logged once as "activated": that
// is how a test sees a second appletgate bring it to the front.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HINSTANCE g_instance = nullptr;
HWND g_applet_window = nullptr;
bool g_ready = false;
bool g_activated = false;

std::string Env(const char *name)
{
    char buffer[2048];
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

void Log(const std::string &text)
{
    const std::string path = Env("GATE_APPLET_LOG");
    if (path.empty())
        return;
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string line = std::to_string(GetCurrentProcessId()) + " " + text + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

const char *Message_Name(UINT message)
{
    switch (message) {
    case 1: return "CPL_INIT";
    case 2: return "CPL_GETCOUNT";
    case 3: return "CPL_INQUIRE";
    case 4: return "CPL_SELECT";
    case 5: return "CPL_DBLCLK";
    case 6: return "CPL_STOP";
    case 7: return "CPL_EXIT";
    case 8: return "CPL_NEWINQUIRE";
    case 9: return "CPL_STARTWPARMSA";
    case 10: return "CPL_STARTWPARMSW";
    default: return "CPL_UNKNOWN";
    }
}

LRESULT CALLBACK Window_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    // One line however many activation messages Wine sends for one change.
    if (message == WM_ACTIVATE && window == g_applet_window && g_ready && !g_activated
        && LOWORD(wparam) != WA_INACTIVE) {
        g_activated = true;
        Log("activated");
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void Pump_Messages(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

void Hold_Window(const std::string &title)
{
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = Window_Proc;
    window_class.hInstance = g_instance;
    window_class.lpszClassName = "GateRecordingApplet";
    RegisterClassA(&window_class);

    g_applet_window = CreateWindowExA(0, window_class.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                                      320, 200, nullptr, nullptr, g_instance, nullptr);
    HWND cover = CreateWindowExA(0, window_class.lpszClassName, "Gate cover", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200,
                                 nullptr, nullptr, g_instance, nullptr);
    if (g_applet_window == nullptr || cover == nullptr) {
        Log("window-failed " + std::to_string(GetLastError()));
        return;
    }
    ShowWindow(g_applet_window, SW_SHOW);
    ShowWindow(cover, SW_SHOW);
    SetForegroundWindow(cover);
    // Activation can arrive through the message queue; let it settle before
    // declaring the cover in front, so a later activation has an outside cause.
    Pump_Messages(200);
    g_ready = GetForegroundWindow() == cover;
    Log(g_ready ? "window-ready" : "window-not-covered");

    const std::string release = Env("GATE_APPLET_RELEASE");
    const std::string hold = Env("GATE_APPLET_HOLD_MS");
    const DWORD hold_ms = hold.empty() ? 30000 : std::strtoul(hold.c_str(), nullptr, 10);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < hold_ms) {
        if (!release.empty() && GetFileAttributesA(release.c_str()) != INVALID_FILE_ATTRIBUTES)
            break;
        Pump_Messages(20);
    }
    g_ready = false;
    DestroyWindow(cover);
    DestroyWindow(g_applet_window);
    g_applet_window = nullptr;
    Log("window-closed");
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_instance = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) LONG APIENTRY CPlApplet(HWND window, UINT message, LPARAM lparam1, LPARAM lparam2)
{
    char line[160];
    std::snprintf(line, sizeof line, "%u %s window=%llu lParam1=%lld", message, Message_Name(message),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                  static_cast<long long>(lparam1));
    std::string text = line;
    if (message == 9)
        text += lparam2 == 0 ? std::string(" lParam2=null")
                             : " lParam2=\"" + std::string(reinterpret_cast<const char *>(lparam2)) + "\"";
    else
        text += " lParam2=" + std::to_string(static_cast<long long>(lparam2));
    Log(text);

    if (message == 1) {
        const std::string init = Env("GATE_APPLET_INIT");
        return init.empty() ? 1 : std::strtol(init.c_str(), nullptr, 10);
    }
    if (message == 5 || message == 9) {
        const std::string title = Env("GATE_APPLET_WINDOW");
        if (!title.empty())
            Hold_Window(title);
    }
    return 0;
}
