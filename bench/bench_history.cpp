// Figures for the history: recording one game (target 5 ms) and opening the
// progress window over 10,000 games up to its first painted frame (target
// 100 ms), with the store's opening and one chart frame on their own.
#include <sqlite3.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "history/progress_chart_view.h"
#include "history/progress_screen.h"
#include "history/sqlite_history.h"

#include "bench_support.h"

using namespace cifrano;
using bench::Figures;
using bench::Measure;

namespace {

void Print(const char* what, Figures f, const char* target) {
    std::printf("%-52s median %8.3f ms, worst %8.3f ms%s\n", what, f.median, f.worst, target);
}

FinishedGame Game(int n) {
    FinishedGame game;
    game.PlayedAt = 1700000000 + n * 900LL;
    game.Player = "Lucía";
    game.PlayerFile = "Lucía.jpg";
    game.Operation = "AA + B =";
    game.Minutes = 1 + n % 6;
    game.Hits = 5 + (n * 7) % 30;
    game.Errors = n % 4;
    game.Rate = static_cast<double>(game.Hits) / game.Minutes;
    return game;
}

// Many games at once, in one transaction, as years of play would leave them.
void Fill(const std::string& path, int games) {
    SqliteHistory(path).Players();  // creates the database and its tables
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO games (played_at, player, player_file, operation, minutes,"
                       " hits, errors, rate) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    for (int n = 0; n < games; ++n) {
        const FinishedGame game = Game(n);
        sqlite3_bind_int64(insert, 1, game.PlayedAt);
        sqlite3_bind_text(insert, 2, game.Player.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, game.PlayerFile.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, game.Operation.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 5, game.Minutes);
        sqlite3_bind_int(insert, 6, game.Hits);
        sqlite3_bind_int(insert, 7, game.Errors);
        sqlite3_bind_double(insert, 8, game.Rate);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;

    // Recording, into a fresh history and into one of 10,000 games; every
    // game is its own transaction, synced to the disk.
    for (int existing : {0, 10000}) {
        const std::string path =
            folder.filePath(QStringLiteral("grabar-%1.sqlite3").arg(existing)).toStdString();
        if (existing > 0) Fill(path, existing);
        SqliteHistory history(path);
        history.Record(Game(0));  // opened before timing, as in a run
        int n = existing;
        char what[80];
        std::snprintf(what, sizeof what, "recording one game (%d in the history)", existing);
        Print(what, Measure(200, nullptr, [&] { history.Record(Game(++n)); }), " (target <= 5 ms)");
    }

    const std::string path = folder.filePath(QStringLiteral("diez-mil.sqlite3")).toStdString();
    Fill(path, 10000);
    Print("opening the store (checked) with 10,000 games",
          Measure(20, nullptr, [&] { SqliteHistory(path).Players(); }), "");

    {
        SqliteHistory store(path);
        Print("reading 10,000 games from an open store",
              Measure(20, nullptr, [&] { store.Games("Lucía", "AA + B ="); }), "");
    }

    std::unique_ptr<SqliteHistory> history;
    std::unique_ptr<ProgressScreen> screen;
    Print("progress window, 10,000 games, to first frame",
          Measure(
              20,
              [&] {
                  screen.reset();
                  history.reset();
                  QCoreApplication::processEvents();
              },
              [&] {
                  history = std::make_unique<SqliteHistory>(path);
                  screen = std::make_unique<ProgressScreen>(*history);
                  screen->show();
                  QCoreApplication::processEvents();
                  screen->repaint();
              }),
          " (target <= 100 ms)");
    std::printf("%-52s %zu points\n", "games on the chart", screen->Chart()->Points().size());
    Print("one chart frame with 10,000 games",
          Measure(50, nullptr, [&] { screen->Chart()->repaint(); }), "");
    screen.reset();
    return 0;
}
