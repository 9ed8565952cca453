#pragma once
#include <windows.h>

#include <string>

namespace appletgate {

// A registry key opened for reading. It owns its handle and closes it when
// destroyed, so every early return in the look-up releases what it opened.
class RegKeyRead {
public:
    RegKeyRead() = default;
    RegKeyRead(const RegKeyRead &) = delete;
    RegKeyRead &operator=(const RegKeyRead &) = delete;
    virtual ~RegKeyRead();

    // Opens `subkey` of `parent` (nullptr: a new handle to `parent` itself)
    // with KEY_READ, under the retry rule. Returns a Win32 error code.
    LONG Open(const RegKeyRead &parent, const char *subkey);

    // Reads a REG_SZ or REG_EXPAND_SZ value as stored: an expandable string is
    // not expanded. Any other type gives ERROR_INVALID_DATATYPE.
    LONG Read_String(const char *value_name, std::string &text) const;

    HKEY Handle() const { return handle_; }
    bool Is_Open() const { return handle_ != nullptr; }

protected:
    explicit RegKeyRead(HKEY handle) : handle_(handle) {}
    void Close();

    HKEY handle_ = nullptr;
};

// A key handed in from outside, such as one of the predefined roots; it closes
// its own handle when destroyed. The five roots live for the whole run and are
// released at program exit.
class RegKey : public RegKeyRead {
public:
    explicit RegKey(HKEY handle) : RegKeyRead(handle) {}
    ~RegKey() override { Close(); }

    static RegKey ClassesRoot;
    static RegKey CurrentConfig;
    static RegKey CurrentUser;
    static RegKey LocalMachine;
    static RegKey Users;
};

} // namespace appletgate
