#pragma once
// What appletgate reads from its command line. Plain text handling with no
// Windows headers, so the native tests exercise exactly this code.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace appletgate {

struct Command {
    std::string class_part;               // up to and including the first '}'
    std::string title;                    // the applet window's title
    std::optional<std::string> parameter; // passed with CPL_STARTWPARMSA
};

// The text after the program's name in a full Windows command line, the way
// WinMain's lpCmdLine is formed: the name (quoted or not) and the blanks that
// follow it are dropped.
std::string_view Arguments_Of(std::string_view full_command_line);

// nullopt stands for E_FAIL.
std::optional<Command> Parse_Command_Line(std::string_view text);

// One mutex per title keeps two instances from opening the same applet.
// Windows object names stop at MAX_PATH - 1 characters; a longer name would be
// cut off or refused, so such a title is refused here (nullopt).
inline constexpr std::string_view kMutexPrefix = "ORVIK.Setup.OpenControlPanel.";
inline constexpr std::size_t kMutexNameMax = 259;
std::optional<std::string> Mutex_Name(std::string_view title);

} // namespace appletgate
