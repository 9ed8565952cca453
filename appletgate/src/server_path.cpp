#include "server_path.h"

#include "reg_key.h"

namespace appletgate {

std::optional<std::string> Read_Server_Path(const std::string &class_part)
{
    RegKeyRead root;
    RegKeyRead clsid;
    RegKeyRead server_class;
    RegKeyRead server;
    if (root.Open(RegKey::ClassesRoot, nullptr) != ERROR_SUCCESS || clsid.Open(root, "CLSID") != ERROR_SUCCESS
        || server_class.Open(clsid, class_part.c_str()) != ERROR_SUCCESS
        || server.Open(server_class, "InprocServer32") != ERROR_SUCCESS)
        return std::nullopt;

    std::string path;
    if (server.Read_String("", path) != ERROR_SUCCESS)
        return std::nullopt;
    return path;
}

} // namespace appletgate
