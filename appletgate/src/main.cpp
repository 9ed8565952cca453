// appletgate: opens the control-panel applet of a COM class, once per window
// title. It has no window of its own; the exit code is the result.
#include "command_line.h"
#include "exit_codes.h"
#include "open_applet.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    using namespace appletgate;
    // lpCmdLine is not used: the same cut is made by Arguments_Of, which the
    // native tests cover.
    const std::optional<Command> command = Parse_Command_Line(Arguments_Of(GetCommandLineA()));
    if (!command)
        return static_cast<int>(kFail);
    return static_cast<int>(Open_Applet(command->class_part, command->title, command->parameter));
}
