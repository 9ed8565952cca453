#pragma once
#include <optional>
#include <string>

namespace appletgate {

// The in-process server of a class: the default value of
// HKEY_CLASSES_ROOT\CLSID\<class_part>\InprocServer32, as stored.
std::optional<std::string> Read_Server_Path(const std::string &class_part);

} // namespace appletgate
