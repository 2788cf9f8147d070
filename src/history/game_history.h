#pragma once
// The history of finished games: every game that reaches its end is kept, so
// that a player can follow their progress from one day to the next. The game
// sees the history only through GameHistory; SqliteHistory keeps it on disk.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/game_outcome.h"
#include "common/game_settings.h"
#include "common/players.h"

namespace cifrano {

// One game as the history keeps it.
struct FinishedGame {
    std::int64_t PlayedAt = 0;  // when it ended: seconds since 1970-01-01 UTC
    std::string Player;         // the name the results screen shows
    std::string PlayerFile;     // the player's picture file, e.g. "Lucía.jpg"
    std::string Operation;      // the operation type's text, e.g. "AA + B ="
    int Minutes = 0;
    int Hits = 0;
    int Errors = 0;
    double Rate = 0.0;  // hits per minute, as on the results line
    // Two-player games only: the game number of the pair and the other player.
    int PairNumber = 0;
    std::string Rival;

    friend bool operator==(const FinishedGame&, const FinishedGame&) = default;
};

class GameHistory {
  public:
    virtual ~GameHistory() = default;

    // Keeps one finished game. Never throws. Returns false when the history
    // had trouble the player should hear of: the game could not be kept, or it
    // was kept only after a damaged history was set aside. Problem() says which.
    virtual bool Record(const FinishedGame& game) = 0;

    // Reading never throws either; a history that cannot be read is empty.
    // Every player with a game, in no particular order.
    virtual std::vector<std::string> Players() = 0;
    // A player's operation types, the most recently played first.
    virtual std::vector<std::string> Operations(const std::string& player) = 0;
    // Games oldest first; an empty player or operation matches any. At most
    // the most recent kMaxGamesRead.
    virtual std::vector<FinishedGame> Games(const std::string& player,
                                            const std::string& operation) = 0;

    // The last trouble, as a Spanish sentence for the player; "" if none.
    virtual std::string Problem() const = 0;
};

// Bounds on what is read back, so that no history file can exhaust the program.
inline constexpr std::size_t kMaxGamesRead = 100'000;
inline constexpr std::size_t kMaxNamesRead = 1'000;
inline constexpr std::size_t kMaxTextBytes = 400;

// The game that has just ended. Call it before the results record it, while
// settings still hold the turn and the game number of the game that ended.
FinishedGame FinishedGameOf(const GameSettings& settings, const ChosenPlayers& players,
                            const GameOutcome& outcome, std::int64_t playedAt);

std::int64_t NowSeconds();

// ISO 8601 in local time with its offset: "2024-05-03T14:03:22+02:00".
std::string IsoDateTime(std::int64_t seconds);
// Day, month, year, hours and minutes in local time: "03/05/2024 14:03".
std::string ShortDateTime(std::int64_t seconds);

// A rate with at most two decimals and no trailing zeros: 4.5, 3.33, 12.
std::string RateText(double rate, char decimalSeparator = '.');

// At most maxBytes of valid UTF-8, cut at a character boundary; any byte that
// does not start a well-formed character becomes U+FFFD.
std::string BoundedUtf8(std::string_view text, std::size_t maxBytes);

// What the progress window shows beside the chart, over games oldest first.
struct ProgressSummary {
    std::size_t Games = 0;
    std::size_t BestIndex = 0;  // the first game with the best rate (when Games > 0)
    double BestRate = 0.0;
    std::size_t RecentCount = 0;  // the last ten games, or fewer
    double RecentAverage = 0.0;
};

inline constexpr std::size_t kRecentGames = 10;

ProgressSummary Summarise(const std::vector<FinishedGame>& games);

}  // namespace cifrano
