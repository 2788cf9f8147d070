#pragma once
// The command-line options of the history: "--progreso" opens the progress
// window, "--exportar archivo.csv [--jugador NOMBRE]" writes the history as CSV
// without any window. They are recognised before the rest of the command line.
#include <string>
#include <string_view>
#include <vector>

#include "history/game_history.h"

namespace cifrano {

inline constexpr std::string_view kProgressOption = "--progreso";
inline constexpr std::string_view kExportOption = "--exportar";
inline constexpr std::string_view kPlayerOption = "--jugador";
inline constexpr int kExitHistoryFailed = 1;  // the history or the CSV file failed

enum class HistoryCommandKind {
    None,      // no history option: the rest of the program parses the line
    Progress,  // --progreso [--jugador NOMBRE]
    Export,    // --exportar ARCHIVO [--jugador NOMBRE]
    Bad,       // a history option used wrongly
};

struct HistoryCommand {
    HistoryCommandKind Kind = HistoryCommandKind::None;
    std::string File;     // Export
    std::string Player;   // "" for every player (Export) or the last one (Progress)
    std::string Problem;  // Bad: what was not understood, in Spanish
    // Progress: arguments that are not ours, left to the window toolkit
    // (-platform, -style ...); whatever it does not take is a Bad command.
    std::vector<std::string> Rest;
};

// args holds the arguments after the program name.
HistoryCommand ParseHistoryCommand(const std::vector<std::string>& args);

// A bad command's problem and a usage line, for standard error.
std::string HistoryUsageText(const HistoryCommand& command);

struct CommandResult {
    int Status = 0;
    std::string Output;  // for standard output
    std::string Error;   // for standard error
};

// --exportar: writes the CSV and tells how it went. Bad commands give their
// usage and status 2, like the rest of the command line.
CommandResult RunExportCommand(const HistoryCommand& command, GameHistory& history);

}  // namespace cifrano
