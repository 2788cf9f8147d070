#pragma once
// The command line: play (no arguments), check a configuration file, or help.
// Parsed without a window system, so that the rules are tested on their own.
#include <string>
#include <string_view>
#include <vector>

namespace cifrano {

inline constexpr std::string_view kCheckOption = "--comprobar";
inline constexpr int kExitUsable = 0;
inline constexpr int kExitUnusable = 2;  // also the status of a bad command line

enum class CommandKind { Play, Check, Help, Unknown };

struct CommandLine {
    CommandKind Kind = CommandKind::Play;
    std::string Path;     // Check: the file to read, "" for the default one
    std::string Problem;  // Unknown: what was not understood, in Spanish
    // Unknown, but it starts with an option of the window toolkit (-platform,
    // -style ...), which only the toolkit can take off the command line.
    bool MaybeToolkitOptions = false;
};

// args holds the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText();
// The message for a command line that is not understood: the problem and a
// short usage line.
std::string UsageText(const CommandLine& parsed);

}  // namespace cifrano
