#include "open_applet.h"

#include "command_line.h"
#include "exit_codes.h"
#include "server_path.h"

#include <windows.h>

namespace appletgate {

namespace {

// Control-panel applet messages (cpl.h), spelled out to keep the header set small.
constexpr UINT kCplInit = 1;
constexpr UINT kCplDblClk = 5;
constexpr UINT kCplExit = 7;
constexpr UINT kCplStartWParmsA = 9;

using AppletProc = LONG(APIENTRY *)(HWND, UINT, LPARAM, LPARAM);

class Library {
public:
    explicit Library(const std::string &path) : module_(LoadLibraryA(path.c_str())) {}
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;
    ~Library()
    {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    bool Loaded() const { return module_ != nullptr; }
    AppletProc Entry() const
    {
        // FARPROC carries no real signature; going through void(*)() says so.
        const FARPROC entry = GetProcAddress(module_, "CPlApplet");
        return reinterpret_cast<AppletProc>(reinterpret_cast<void (*)()>(entry));
    }

private:
    HMODULE module_;
};

// The per-title mutex, created initially owned. Only the instance that really
// created it owns it; a handle to an existing mutex is just closed.
class TitleMutex {
public:
    explicit TitleMutex(const std::string &name)
    {
        // A stale code from an earlier call must not pass for "already exists".
        SetLastError(ERROR_SUCCESS);
        handle_ = CreateMutexA(nullptr, TRUE, name.c_str());
        error_ = GetLastError();
    }
    TitleMutex(const TitleMutex &) = delete;
    TitleMutex &operator=(const TitleMutex &) = delete;
    ~TitleMutex()
    {
        if (handle_ == nullptr)
            return;
        if (Owned())
            ReleaseMutex(handle_);
        CloseHandle(handle_);
    }
    // Another instance holds this title: the mutex existed already, or it
    // belongs to a session this user may not open. A mutex that could not be
    // made at all (a name Windows refuses) guards nothing, and the applet
    // still opens: better a duplicate window than none.
    bool Held_Elsewhere() const { return error_ == ERROR_ALREADY_EXISTS || error_ == ERROR_ACCESS_DENIED; }

private:
    bool Owned() const { return !Held_Elsewhere(); }

    HANDLE handle_ = nullptr;
    DWORD error_ = ERROR_SUCCESS;
};

void Bring_To_Front(const std::string &title)
{
    if (HWND window = FindWindowA(nullptr, title.c_str()))
        SetForegroundWindow(window);
}

void Run_Applet(AppletProc applet, const std::optional<std::string> &parameter)
{
    // Only an exact 1 counts as a successful initialisation; an applet that
    // refuses gets no further message, CPL_EXIT included.
    if (applet(nullptr, kCplInit, 0, 0) != 1)
        return;
    // These calls return once the applet's dialog has closed.
    if (parameter)
        applet(nullptr, kCplStartWParmsA, 0, reinterpret_cast<LPARAM>(parameter->c_str()));
    else
        applet(nullptr, kCplDblClk, 0, 0);
    applet(nullptr, kCplExit, 0, 0);
}

} // namespace

std::uint32_t Open_Applet(const std::string &class_part, const std::string &title,
                          const std::optional<std::string> &parameter)
{
    const std::optional<std::string> mutex_name = Mutex_Name(title);
    if (class_part.empty() || !mutex_name)
        return kFail;

    const std::optional<std::string> path = Read_Server_Path(class_part);
    if (!path)
        return kFail;

    Library library(*path);
    if (!library.Loaded())
        return kLoadFailed;
    const AppletProc applet = library.Entry();
    if (applet == nullptr)
        return kNoEntryPoint;

    TitleMutex mutex(*mutex_name);
    if (mutex.Held_Elsewhere())
        Bring_To_Front(title);
    else
        Run_Applet(applet, parameter);
    return kDone;
}

} // namespace appletgate
