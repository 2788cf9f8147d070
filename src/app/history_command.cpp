#include "app/history_command.h"

#include <utility>

#include "app/command_line.h"
#include "history/history_export.h"

namespace cifrano {

namespace {

HistoryCommand Bad(std::string problem) {
    HistoryCommand command;
    command.Kind = HistoryCommandKind::Bad;
    command.Problem = std::move(problem);
    return command;
}

bool IsOurs(std::string_view arg) {
    for (std::string_view option : {kProgressOption, kExportOption, kPlayerOption}) {
        if (arg == option) return true;
        if (arg.size() > option.size() && arg.substr(0, option.size()) == option &&
            arg[option.size()] == '=')
            return true;
    }
    return false;
}

}  // namespace

HistoryCommand ParseHistoryCommand(const std::vector<std::string>& args) {
    bool any = false;
    for (const std::string& arg : args) any = any || IsOurs(arg);
    if (!any) return {};

    HistoryCommand command;
    bool progress = false;
    bool exportAsked = false;
    bool playerGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
            value = std::string(arg.substr(equals + 1));
            hasValue = true;
            arg = arg.substr(0, equals);
        }
        auto takeValue = [&]() -> bool {
            if (!hasValue) {
                if (i + 1 >= args.size()) return false;
                value = args[++i];
            }
            return !value.empty();
        };
        if (arg == kProgressOption) {
            if (hasValue) return Bad("--progreso no lleva valor.");
            if (progress) return Bad("--progreso aparece dos veces.");
            progress = true;
        } else if (arg == kExportOption) {
            if (exportAsked) return Bad("--exportar aparece dos veces.");
            if (!takeValue()) return Bad("Falta el nombre del archivo CSV después de --exportar.");
            exportAsked = true;
            command.File = value;
        } else if (arg == kPlayerOption) {
            if (playerGiven) return Bad("--jugador aparece dos veces.");
            if (!takeValue()) return Bad("Falta el nombre del jugador después de --jugador.");
            playerGiven = true;
            command.Player = value;
        } else {
            command.Rest.push_back(args[i]);
        }
    }
    if (progress && exportAsked) return Bad("--progreso y --exportar no van juntas.");
    if (!progress && !exportAsked) return Bad("--jugador va con --exportar o con --progreso.");
    if (exportAsked && !command.Rest.empty())
        return Bad("Opción desconocida con --exportar: " + command.Rest.front());
    command.Kind = progress ? HistoryCommandKind::Progress : HistoryCommandKind::Export;
    return command;
}

std::string HistoryUsageText(const HistoryCommand& command) {
    return "cifrano: " + command.Problem +
           "\nUso: cifrano --progreso [--jugador NOMBRE]\n"
           "     cifrano --exportar archivo.csv [--jugador NOMBRE]\n"
           "Más información con cifrano --help.\n";
}

CommandResult RunExportCommand(const HistoryCommand& command, GameHistory& history) {
    CommandResult result;
    if (command.Kind != HistoryCommandKind::Export) {
        result.Status = kExitUnusable;
        result.Error = HistoryUsageText(command.Kind == HistoryCommandKind::Bad
                                            ? command
                                            : Bad("Se esperaba --exportar ARCHIVO.csv."));
        return result;
    }
    const ExportResult exported = ExportHistory(history, command.File, command.Player);
    if (exported.Ok) {
        result.Output = exported.Message + "\n";
    } else {
        result.Status = kExitHistoryFailed;
        result.Error = "cifrano: " + exported.Message + "\n";
    }
    return result;
}

}  // namespace cifrano
