#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace appletgate {

// Opens the control-panel applet of `class_part` once per `title`; returns the
// program's exit code (see exit_codes.h).
std::uint32_t Open_Applet(const std::string &class_part, const std::string &title,
                          const std::optional<std::string> &parameter);

} // namespace appletgate
