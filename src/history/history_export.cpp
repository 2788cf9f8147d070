#include "history/history_export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/numbers.h"

namespace cifrano {

namespace {

std::string GamesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " partida" : " partidas");
}

std::string SystemError() { return std::strerror(errno); }

// Writes all bytes and flushes them to the disk; false (errno set) on any error.
bool WriteAll(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = ::fsync(::fileno(file)) == 0 && ok;
    const int savedErrno = errno;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        if (errno == 0) errno = savedErrno;
        std::remove(path.c_str());
    }
    return ok;
}

}  // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string field = "\"";
    for (char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    field += '"';
    return field;
}

std::string CsvLine(const FinishedGame& game) {
    std::string line = CsvField(IsoDateTime(game.PlayedAt));
    for (const std::string& text :
         {game.Player, game.PlayerFile, game.Operation, NumberText(game.Minutes),
          NumberText(game.Hits), NumberText(game.Errors), NumberText(game.Rate, '.'),
          game.PairNumber > 0 ? NumberText(game.PairNumber) : std::string(), game.Rival}) {
        line += ',';
        line += CsvField(BoundedUtf8(text, kMaxTextBytes));
    }
    line += "\r\n";
    return line;
}

std::string HistoryCsv(const std::vector<FinishedGame>& games) {
    std::string csv(kCsvHeader);
    csv += "\r\n";
    for (const FinishedGame& game : games) csv += CsvLine(game);
    return csv;
}

ExportResult ExportHistory(GameHistory& history, const std::string& file,
                           const std::string& player) {
    ExportResult result;
    if (file.empty()) {
        result.Message = "Falta el nombre del archivo CSV.";
        return result;
    }
    const std::vector<FinishedGame> games = history.Games(player, "");
    const std::string problem = history.Problem();
    if (!problem.empty()) {
        result.Message = problem;
        return result;
    }
    if (!player.empty() && games.empty()) {
        result.Message = "No hay ninguna partida de «" + player + "» en el historial.";
        return result;
    }
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        result.Message = "No se puede escribir en " + file + ": no es un archivo normal.";
        return result;
    }
    const std::string partial = file + ".parcial-" + std::to_string(::getpid());
    if (!WriteAll(partial, HistoryCsv(games))) {
        result.Message = "No se puede escribir " + file + ": " + SystemError() + ".";
        return result;
    }
    if (std::rename(partial.c_str(), file.c_str()) != 0) {
        result.Message = "No se puede escribir " + file + ": " + SystemError() + ".";
        std::remove(partial.c_str());
        return result;
    }
    result.Ok = true;
    result.Games = games.size();
    result.Message = "Se han exportado " + GamesText(games.size()) +
                     (player.empty() ? "" : " de «" + player + "»") + " a " + file + ".";
    return result;
}

}  // namespace cifrano
