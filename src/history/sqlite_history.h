#pragma once
// The history on disk: an SQLite database in the user's data folder. Each game
// is one transaction in a write-ahead log, so a game cut off half-way (power,
// a killed process) leaves every earlier game as it was. Trouble never reaches
// the game: it turns into a false from Record and a sentence in Problem().
#include <string>
#include <vector>

#include "history/game_history.h"

struct sqlite3;

namespace cifrano {

inline constexpr const char* kHistoryFileName = "historial.sqlite3";
// Layout of the database; version 1 had no picture file, pair or rival and
// kept dates as text.
inline constexpr int kHistorySchemaVersion = 2;
// Another running copy may be writing: wait this long for it, then give up.
inline constexpr int kHistoryBusyMillis = 250;

// $XDG_DATA_HOME/cifrano/historial.sqlite3, or ~/.local/share/cifrano/... when
// XDG_DATA_HOME is unset, empty or relative. "" when neither gives a place.
std::string HistoryFilePath(const char* xdgDataHome, const char* home);
// The same from the environment.
std::string HistoryFilePath();

// Used from one thread (the window toolkit's).
class SqliteHistory : public GameHistory {
  public:
    // Nothing is opened yet: the database is opened (the folder created, the
    // file checked, migrated or set aside) on first use, and again after trouble.
    explicit SqliteHistory(std::string path);
    ~SqliteHistory() override;
    SqliteHistory(const SqliteHistory&) = delete;
    SqliteHistory& operator=(const SqliteHistory&) = delete;

    bool Record(const FinishedGame& game) override;
    std::vector<std::string> Players() override;
    std::vector<std::string> Operations(const std::string& player) override;
    std::vector<FinishedGame> Games(const std::string& player,
                                    const std::string& operation) override;
    std::string Problem() const override { return problem_; }

    const std::string& Path() const { return path_; }
    // Where the last damaged file was moved to; "" when none was.
    const std::string& SetAsidePath() const { return setAside_; }

  private:
    enum class Opened { Ready, Failed, Damaged };
    bool EnsureOpen();
    Opened OpenOnce();
    Opened PrepareSchema();
    bool SetAside();
    void Close();
    bool Insert(const FinishedGame& game, int& code);
    void Fail(const std::string& what);

    std::string path_;
    sqlite3* db_ = nullptr;
    std::string problem_;
    std::string setAside_;
    bool setAsideThisTime_ = false;
};

}  // namespace cifrano
