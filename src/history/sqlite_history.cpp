#include "history/sqlite_history.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>
#include <utility>

namespace cifrano {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};
// Checking every page of a huge file would freeze the start; beyond this size
// damage is left to show up as errors when the pages are used.
constexpr long long kQuickCheckLimit = 64LL * 1024 * 1024;
// No value read back can be larger than this, whatever the file holds.
constexpr int kMaxValueBytes = 1024 * 1024;

constexpr const char* kCreateGames = R"sql(
CREATE TABLE games (
  id INTEGER PRIMARY KEY,
  played_at INTEGER NOT NULL,
  player TEXT NOT NULL,
  player_file TEXT NOT NULL DEFAULT '',
  operation TEXT NOT NULL,
  minutes INTEGER NOT NULL,
  hits INTEGER NOT NULL,
  errors INTEGER NOT NULL,
  rate REAL NOT NULL,
  pair_number INTEGER NOT NULL DEFAULT 0,
  rival TEXT NOT NULL DEFAULT ''
);
CREATE INDEX games_by_player ON games (player, operation, played_at);
)sql";

// Version 1 kept the date as ISO 8601 text in UTC and had no picture file,
// pair or rival: the table is rebuilt with the new columns empty.
constexpr const char* kMigrateFromVersion1 = R"sql(
ALTER TABLE games RENAME TO games_version_1;
DROP INDEX IF EXISTS games_by_player;
)sql";
constexpr const char* kCopyVersion1 = R"sql(
INSERT INTO games (id, played_at, player, operation, minutes, hits, errors, rate)
  SELECT id, COALESCE(CAST(strftime('%s', played_at) AS INTEGER), 0), player, operation,
         minutes, hits, errors, rate
  FROM games_version_1;
DROP TABLE games_version_1;
UPDATE schema_version SET version = 2;
)sql";

class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        code_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return code_ == SQLITE_OK; }
    int Code() const { return code_; }
    void Bind(int index, const std::string& text) {
        if (Ok())
            code_ = sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                                      SQLITE_TRANSIENT);
    }
    void Bind(int index, long long value) {
        if (Ok()) code_ = sqlite3_bind_int64(statement_, index, value);
    }
    void Bind(int index, double value) {
        if (Ok()) code_ = sqlite3_bind_double(statement_, index, value);
    }
    // True while there is a row; Code() tells an error from the end.
    bool Step() {
        if (!Ok() && code_ != SQLITE_ROW) return false;
        code_ = sqlite3_step(statement_);
        if (code_ == SQLITE_ROW) return true;
        if (code_ == SQLITE_DONE) code_ = SQLITE_OK;
        return false;
    }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(statement_, column);
        const int bytes = sqlite3_column_bytes(statement_, column);
        if (!text || bytes <= 0) return {};
        return BoundedUtf8(
            std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes)),
            kMaxTextBytes);
    }
    long long Integer(int column) const { return sqlite3_column_int64(statement_, column); }
    double Real(int column) const { return sqlite3_column_double(statement_, column); }

  private:
    sqlite3_stmt* statement_ = nullptr;
    int code_ = SQLITE_OK;
};

int Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

bool IsDamage(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool IsBusy(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

std::string Reason(int code, sqlite3* db) {
    // SQLite reports some writes that find the disk full (the log's index) as
    // plain I/O errors; the system's own error tells what happened.
    const int systemError = db ? sqlite3_system_errno(db) : 0;
    if (systemError == ENOSPC || systemError == EDQUOT) return "el disco está lleno";
    if (systemError == EROFS) return "el archivo o su carpeta son de solo lectura";
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "otra copia del programa lo está usando";
        case SQLITE_FULL:
            return "el disco está lleno";
        case SQLITE_READONLY:
            return "el archivo o su carpeta son de solo lectura";
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "no se puede abrir el archivo";
        case SQLITE_IOERR:
            return "ha fallado la lectura o la escritura en el disco";
        case SQLITE_NOMEM:
            return "no queda memoria";
        default:
            return std::string("error de SQLite: ") + sqlite3_errstr(code);
    }
}

int ClampCount(long long value) {
    if (value < 0) return 0;
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

double ClampRate(double value) { return std::isfinite(value) && value > 0.0 ? value : 0.0; }

// Moves a file to a name that nothing holds; never replaces what is there.
bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without RENAME_NOREPLACE: link() refuses an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    return ::unlink(from.c_str()) == 0;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string HistoryFilePath(const char* xdgDataHome, const char* home) {
    std::string folder;
    if (xdgDataHome && xdgDataHome[0] == '/') {
        folder = xdgDataHome;
    } else if (home && home[0] != '\0') {
        folder = std::string(home) + "/.local/share";
    } else {
        return {};
    }
    return folder + "/cifrano/" + kHistoryFileName;
}

std::string HistoryFilePath() {
    return HistoryFilePath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

SqliteHistory::SqliteHistory(std::string path) : path_(std::move(path)) {}

SqliteHistory::~SqliteHistory() { Close(); }

void SqliteHistory::Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteHistory::Fail(const std::string& what) {
    problem_ = "No se ha podido usar el historial de partidas (" + path_ + "): " + what + ".";
}

bool SqliteHistory::EnsureOpen() {
    if (db_) return true;
    const Opened opened = OpenOnce();
    if (opened == Opened::Ready) return true;
    Close();
    if (opened == Opened::Failed || !SetAside()) return false;
    if (OpenOnce() == Opened::Ready) return true;
    Close();
    if (problem_.empty()) Fail("no se puede empezar un historial nuevo");
    return false;
}

SqliteHistory::Opened SqliteHistory::OpenOnce() {
    if (path_.empty()) {
        Fail("no se sabe dónde guardarlo (faltan HOME y XDG_DATA_HOME)");
        return Opened::Failed;
    }
    std::error_code error;
    const fs::path folder = fs::path(path_).parent_path();
    if (!folder.empty()) {
        fs::create_directories(folder, error);
        if (!fs::is_directory(folder, error)) {
            Fail("no se puede crear la carpeta " + folder.string());
            return Opened::Failed;
        }
    }
    struct stat info {};
    if (::stat(path_.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            Fail("no es un archivo normal");
            return Opened::Failed;
        }
        if (info.st_size > 0) {
            std::ifstream file(path_, std::ios::binary);
            std::string header(kSqliteHeader.size(), '\0');
            file.read(header.data(), static_cast<std::streamsize>(header.size()));
            if (!file) {
                Fail("no se puede leer el archivo");
                return Opened::Failed;
            }
            if (header != kSqliteHeader) return Opened::Damaged;
        }
    } else if (errno != ENOENT) {
        Fail("no se puede abrir el archivo");
        return Opened::Failed;
    }

    // One thread uses a history: no locking around every call into SQLite.
    int code =
        sqlite3_open_v2(path_.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        Fail(Reason(code, db_));
        return Opened::Failed;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kHistoryBusyMillis);
    sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    // The file is the user's: never run code a crafted schema might carry.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);

    code = Exec(db_, "PRAGMA journal_mode = WAL");
    if (code == SQLITE_OK) code = Exec(db_, "PRAGMA synchronous = FULL");
    if (code == SQLITE_OK && info.st_size <= kQuickCheckLimit) {
        Statement check(db_, "PRAGMA quick_check(1)");
        if (check.Step()) {
            if (check.Text(0) != "ok") return Opened::Damaged;
        } else {
            code = check.Code();
        }
    }
    if (IsDamage(code)) return Opened::Damaged;
    if (code != SQLITE_OK) {
        Fail(Reason(code, db_));
        return Opened::Failed;
    }
    return PrepareSchema();
}

SqliteHistory::Opened SqliteHistory::PrepareSchema() {
    // The layout version: 0 for an empty database, -1 for one that holds
    // something other than a history of games.
    auto version = [this](int& code) {
        Statement tables(db_,
                         "SELECT count(*), sum(name = 'schema_version'), sum(name = 'games') "
                         "FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
        if (!tables.Step()) {
            code = tables.Code();
            return -1;
        }
        if (tables.Integer(0) == 0) return 0;
        if (tables.Integer(1) != 1 || tables.Integer(2) != 1) return -1;
        Statement read(db_, "SELECT version FROM schema_version");
        const long long found = read.Step() ? read.Integer(0) : -1;
        code = read.Code() == SQLITE_ROW ? SQLITE_OK : read.Code();
        return found >= 1 && found <= 1000 ? static_cast<int>(found) : -1;
    };
    // Reading first, so that an up-to-date history needs no write lock.
    int code = SQLITE_OK;
    int found = version(code);
    bool locked = false;
    if (code == SQLITE_OK && (found == 0 || found == 1)) {
        code = Exec(db_, "BEGIN IMMEDIATE");
        locked = code == SQLITE_OK;
        if (locked) found = version(code);  // another copy may have got there first
        if (code == SQLITE_OK && found == 0) {
            code = Exec(db_, kCreateGames);
            if (code == SQLITE_OK)
                code = Exec(db_,
                            "CREATE TABLE schema_version (version INTEGER NOT NULL);"
                            "INSERT INTO schema_version VALUES (2);");
        } else if (code == SQLITE_OK && found == 1) {
            code = Exec(db_, kMigrateFromVersion1);
            if (code == SQLITE_OK) code = Exec(db_, kCreateGames);
            if (code == SQLITE_OK) code = Exec(db_, kCopyVersion1);
        }
        if (code == SQLITE_OK && (found == 0 || found == 1)) {
            code = Exec(db_, "COMMIT");
            if (code == SQLITE_OK) found = kHistorySchemaVersion;
        }
        if (locked && sqlite3_get_autocommit(db_) == 0) Exec(db_, "ROLLBACK");
    }
    if (IsDamage(code)) return Opened::Damaged;
    if (code != SQLITE_OK) {
        Fail(Reason(code, db_));
        return Opened::Failed;
    }
    if (found == kHistorySchemaVersion) return Opened::Ready;
    if (found > kHistorySchemaVersion) {
        Fail("lo ha escrito una versión más nueva del programa");
        return Opened::Failed;
    }
    return Opened::Damaged;  // a database, but not a history of games
}

bool SqliteHistory::SetAside() {
    std::tm now{};
    const std::time_t seconds = std::time(nullptr);
    localtime_r(&seconds, &now);
    char stamp[32] = {};
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &now);
    const std::string base = path_ + ".dañado-" + stamp;
    std::string target = base;
    for (int n = 2; Exists(target) || Exists(target + "-wal"); ++n) {
        if (n > 1000) {
            Fail("está dañado y no se puede apartar");
            return false;
        }
        target = base + "-" + std::to_string(n);
    }
    if (!MoveWithoutReplacing(path_, target)) {
        Fail("está dañado y no se puede apartar (" + std::string(std::strerror(errno)) + ")");
        return false;
    }
    // The log and its index belong to the damaged file; a fresh database must
    // never replay them.
    for (const char* suffix : {"-wal", "-shm"}) {
        if (Exists(path_ + suffix) && !MoveWithoutReplacing(path_ + suffix, target + suffix)) {
            Fail("está dañado y no se puede apartar su registro " + path_ + suffix);
            return false;
        }
    }
    setAside_ = target;
    setAsideThisTime_ = true;
    problem_ = "El historial de partidas (" + path_ +
               ") estaba dañado: se ha guardado aparte como " +
               fs::path(target).filename().string() + " y se ha empezado uno nuevo.";
    return true;
}

bool SqliteHistory::Insert(const FinishedGame& game, int& code) {
    code = Exec(db_, "BEGIN IMMEDIATE");
    if (code != SQLITE_OK) return false;
    Statement insert(db_,
                     "INSERT INTO games (played_at, player, player_file, operation, minutes, hits,"
                     " errors, rate, pair_number, rival) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.Bind(1, static_cast<long long>(game.PlayedAt));
    insert.Bind(2, BoundedUtf8(game.Player, kMaxTextBytes));
    insert.Bind(3, BoundedUtf8(game.PlayerFile, kMaxTextBytes));
    insert.Bind(4, BoundedUtf8(game.Operation, kMaxTextBytes));
    insert.Bind(5, static_cast<long long>(game.Minutes));
    insert.Bind(6, static_cast<long long>(game.Hits));
    insert.Bind(7, static_cast<long long>(game.Errors));
    insert.Bind(8, ClampRate(game.Rate));
    insert.Bind(9, static_cast<long long>(game.PairNumber));
    insert.Bind(10, BoundedUtf8(game.Rival, kMaxTextBytes));
    insert.Step();
    code = insert.Code();
    if (code == SQLITE_OK) code = Exec(db_, "COMMIT");
    if (code == SQLITE_OK) return true;
    Exec(db_, "ROLLBACK");
    return false;
}

bool SqliteHistory::Record(const FinishedGame& game) {
    try {
        problem_.clear();
        setAsideThisTime_ = false;
        if (!EnsureOpen()) return false;
        int code = SQLITE_OK;
        if (Insert(game, code)) return !setAsideThisTime_;
        if (IsDamage(code)) {
            // Damage found while writing: the game goes into a fresh history,
            // and false still tells that the old one was set aside.
            Close();
            if (!SetAside() || !EnsureOpen()) return false;
            if (Insert(game, code)) return false;
        }
        Fail(Reason(code, db_));
        // Anything but another copy's lock may have left the connection unusable.
        if (!IsBusy(code)) Close();
        return false;
    } catch (...) {
        Close();
        Fail("error inesperado");
        return false;
    }
}

std::vector<std::string> SqliteHistory::Players() {
    std::vector<std::string> players;
    try {
        problem_.clear();
        if (!EnsureOpen()) return players;
        Statement query(db_, "SELECT DISTINCT player FROM games LIMIT ?");
        query.Bind(1, static_cast<long long>(kMaxNamesRead));
        while (query.Step()) players.push_back(query.Text(0));
        if (query.Code() != SQLITE_OK) Fail(Reason(query.Code(), db_));
    } catch (...) {
        Fail("error inesperado");
    }
    return players;
}

std::vector<std::string> SqliteHistory::Operations(const std::string& player) {
    std::vector<std::string> operations;
    try {
        problem_.clear();
        if (!EnsureOpen()) return operations;
        Statement query(db_,
                        "SELECT operation FROM games WHERE player = ? GROUP BY operation"
                        " ORDER BY max(played_at) DESC, max(id) DESC LIMIT ?");
        query.Bind(1, player);
        query.Bind(2, static_cast<long long>(kMaxNamesRead));
        while (query.Step()) operations.push_back(query.Text(0));
        if (query.Code() != SQLITE_OK) Fail(Reason(query.Code(), db_));
    } catch (...) {
        Fail("error inesperado");
    }
    return operations;
}

std::vector<FinishedGame> SqliteHistory::Games(const std::string& player,
                                               const std::string& operation) {
    std::vector<FinishedGame> games;
    try {
        problem_.clear();
        if (!EnsureOpen()) return games;
        // One statement per filter: the index then serves a player's games,
        // of one type or all, without a scan or a sort.
        static constexpr const char* kSelect =
            "SELECT played_at, player, player_file, operation, minutes, hits, errors, rate,"
            " pair_number, rival FROM games";
        static constexpr const char* kOrder = " ORDER BY played_at DESC, id DESC LIMIT ?3";
        const std::string filter =
            player.empty() ? (operation.empty() ? "" : " WHERE operation = ?2")
                           : (operation.empty() ? " WHERE player = ?1"
                                                : " WHERE player = ?1 AND operation = ?2");
        Statement query(db_, (std::string(kSelect) + filter + kOrder).c_str());
        if (!player.empty()) query.Bind(1, player);
        if (!operation.empty()) query.Bind(2, operation);
        query.Bind(3, static_cast<long long>(kMaxGamesRead));
        while (query.Step()) {
            FinishedGame& game = games.emplace_back();
            game.PlayedAt = query.Integer(0);
            game.Player = query.Text(1);
            game.PlayerFile = query.Text(2);
            game.Operation = query.Text(3);
            game.Minutes = ClampCount(query.Integer(4));
            game.Hits = ClampCount(query.Integer(5));
            game.Errors = ClampCount(query.Integer(6));
            game.Rate = ClampRate(query.Real(7));
            game.PairNumber = ClampCount(query.Integer(8));
            game.Rival = query.Text(9);
        }
        if (query.Code() != SQLITE_OK) Fail(Reason(query.Code(), db_));
        // Read newest first, so the index gives the most recent games without
        // a sort; handed back oldest first.
        std::reverse(games.begin(), games.end());
    } catch (...) {
        Fail("error inesperado");
    }
    return games;
}

}  // namespace cifrano
