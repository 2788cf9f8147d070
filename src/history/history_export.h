#pragma once
// The history as a CSV file (RFC 4180): UTF-8, a header line, CR LF line ends,
// dates in ISO 8601 and "." as the decimal separator whatever the locale, so
// that a spreadsheet or a script reads it the same everywhere.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "history/game_history.h"

namespace cifrano {

inline constexpr std::string_view kCsvHeader =
    "fecha,jugador,archivo_imagen,tipo_de_operacion,minutos,aciertos,errores,op_por_minuto,"
    "partida,rival";

// A field quoted when it holds a comma, a double quote, CR or LF; quotes doubled.
std::string CsvField(std::string_view text);
std::string CsvLine(const FinishedGame& game);
std::string HistoryCsv(const std::vector<FinishedGame>& games);

struct ExportResult {
    bool Ok = false;
    std::size_t Games = 0;
    std::string Message;  // Spanish: what was written, or why nothing was
};

// Writes the games of one player (every player when player is "") to file.
// The file is written beside the target under another name and then renamed,
// so an existing file is replaced whole or not at all.
ExportResult ExportHistory(GameHistory& history, const std::string& file,
                           const std::string& player);

}  // namespace cifrano
