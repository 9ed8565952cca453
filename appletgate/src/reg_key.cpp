#include "reg_key.h"

#include "open_retry.h"

#include <algorithm>

namespace appletgate {

RegKey RegKey::ClassesRoot(HKEY_CLASSES_ROOT);
RegKey RegKey::CurrentConfig(HKEY_CURRENT_CONFIG);
RegKey RegKey::CurrentUser(HKEY_CURRENT_USER);
RegKey RegKey::LocalMachine(HKEY_LOCAL_MACHINE);
RegKey RegKey::Users(HKEY_USERS);

RegKeyRead::~RegKeyRead() { Close(); }

void RegKeyRead::Close()
{
    if (handle_ != nullptr)
        RegCloseKey(handle_);
    handle_ = nullptr;
}

LONG RegKeyRead::Open(const RegKeyRead &parent, const char *subkey)
{
    Close();
    HKEY opened = nullptr;
    const LONG error = Open_With_Retry(
        [&] {
            opened = nullptr;
            return RegOpenKeyExA(parent.Handle(), subkey, 0, KEY_READ, &opened);
        },
        [](unsigned ms) { Sleep(ms); });
    if (error == ERROR_SUCCESS)
        handle_ = opened;
    return error;
}

LONG RegKeyRead::Read_String(const char *value_name, std::string &text) const
{
    DWORD type = 0;
    DWORD size = 0;
    LONG error = RegQueryValueExA(handle_, value_name, nullptr, &type, nullptr, &size);
    if (error != ERROR_SUCCESS)
        return error;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATATYPE;

    // Nothing obliges a string value to end in a terminator: one spare zero
    // byte keeps the text bounded whatever was stored.
    std::string buffer(static_cast<std::size_t>(size) + 1, '\0');
    DWORD read = size;
    error = RegQueryValueExA(handle_, value_name, nullptr, &type, reinterpret_cast<BYTE *>(buffer.data()), &read);
    // A value that grew since its size was asked answers ERROR_MORE_DATA: a
    // failure like any other.
    if (error != ERROR_SUCCESS)
        return error;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATATYPE;
    buffer.resize(std::min(read, size));
    text.assign(buffer.c_str());
    return ERROR_SUCCESS;
}

} // namespace appletgate
