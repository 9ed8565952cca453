#include "command_line.h"

namespace appletgate {

namespace {

bool Is_Blank(char c) { return c == ' ' || c == '\t'; }

// A trailing word is a start parameter when it has 3 characters, or 6 with a
// '-' after the first two ("ab-cde"). Returns the characters it takes off the
// end of the line, its separating space included.
std::size_t Parameter_Span(std::string_view last_word)
{
    if (last_word.size() == 3)
        return 4;
    if (last_word.size() == 6 && last_word[2] == '-')
        return 7;
    return 0;
}

} // namespace

std::string_view Arguments_Of(std::string_view line)
{
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && !Is_Blank(line[i]))
            ++i;
    }
    while (i < line.size() && Is_Blank(line[i]))
        ++i;
    return line.substr(i);
}

std::optional<Command> Parse_Command_Line(std::string_view text)
{
    const std::size_t brace = text.find('}');
    const std::size_t space = text.rfind(' ');
    if (brace == std::string_view::npos || space == std::string_view::npos)
        return std::nullopt;

    const std::size_t p = Parameter_Span(text.substr(space + 1));
    // Signed arithmetic: when the parameter word reaches back into the class
    // part (as in "{ab c}d") the title length comes out negative, and that
    // must read as "no title" rather than wrap around to a huge size.
    const long long length = static_cast<long long>(text.size());
    const long long n = static_cast<long long>(brace) + 1;
    const long long title_length = length - n - static_cast<long long>(p) - 1;

    // A lone "}" names no class.
    if (brace == 0 || n >= length || title_length <= 0)
        return std::nullopt;

    Command command;
    command.class_part = std::string(text.substr(0, n));
    command.title = std::string(text.substr(n + 1, title_length));
    if (p != 0)
        command.parameter = std::string(text.substr(space + 1));
    return command;
}

std::optional<std::string> Mutex_Name(std::string_view title)
{
    if (kMutexPrefix.size() + title.size() > kMutexNameMax)
        return std::nullopt;
    std::string name(kMutexPrefix);
    name += title;
    return name;
}

} // namespace appletgate
