#include "history/game_history.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>

#include "common/numbers.h"
#include "results/match.h"

namespace cifrano {

namespace {

bool LocalTime(std::int64_t seconds, std::tm& out) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    return localtime_r(&time, &out) != nullptr;
}

std::string Format(const std::tm& time, const char* pattern) {
    std::array<char, 64> buffer{};
    const std::size_t length = std::strftime(buffer.data(), buffer.size(), pattern, &time);
    return std::string(buffer.data(), length);
}

}  // namespace

FinishedGame FinishedGameOf(const GameSettings& settings, const ChosenPlayers& players,
                            const GameOutcome& outcome, std::int64_t playedAt) {
    const bool alone = IsSinglePlayer(players.Names[1]);
    const std::string names[2] = {ResultsName(players.Files[0], players.Names[0]),
                                  ResultsName(players.Files[1], players.Names[1])};
    const int player = (!alone && settings.SecondPlayerTurn) ? kPlayerTwo : kPlayerOne;

    FinishedGame game;
    game.PlayedAt = playedAt;
    game.Player = names[player];
    game.PlayerFile = players.Files[static_cast<std::size_t>(player)];
    game.Operation = outcome.OperationText;
    game.Minutes = outcome.Minutes;
    game.Hits = outcome.Hits;
    game.Errors = outcome.Errors;
    game.Rate = outcome.Rate;
    if (!alone) {
        game.PairNumber = settings.GameNumber;
        game.Rival = names[1 - player];
    }
    return game;
}

std::int64_t NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string IsoDateTime(std::int64_t seconds) {
    std::tm time{};
    if (!LocalTime(seconds, time)) return {};
    const long offset = time.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    std::array<char, 8> zone{};
    zone[0] = offset < 0 ? '-' : '+';
    zone[1] = static_cast<char>('0' + minutes / 600 % 10);
    zone[2] = static_cast<char>('0' + minutes / 60 % 10);
    zone[3] = ':';
    zone[4] = static_cast<char>('0' + minutes % 60 / 10);
    zone[5] = static_cast<char>('0' + minutes % 10);
    return Format(time, "%Y-%m-%dT%H:%M:%S") + zone.data();
}

std::string ShortDateTime(std::int64_t seconds) {
    std::tm time{};
    if (!LocalTime(seconds, time)) return {};
    return Format(time, "%d/%m/%Y %H:%M");
}

std::string RateText(double rate, char decimalSeparator) {
    if (!std::isfinite(rate)) return "0";
    // to_chars, unlike printf, ignores the C locale the window toolkit sets.
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rate,
                                            std::chars_format::fixed, 2);
    if (error != std::errc{}) return "0";
    std::string text(buffer.data(), end);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    for (char& c : text)
        if (c == '.') c = decimalSeparator;
    return text;
}

std::string BoundedUtf8(std::string_view text, std::size_t maxBytes) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(std::min(text.size(), maxBytes));
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (valid && length > 1) {
            // Overlong forms, surrogates and code points beyond U+10FFFF.
            const auto second = static_cast<unsigned char>(text[i + 1]);
            valid = !(lead < 0xC2) && !(lead == 0xE0 && second < 0xA0) &&
                    !(lead == 0xED && second >= 0xA0) && !(lead == 0xF0 && second < 0x90) &&
                    !(lead == 0xF4 && second >= 0x90) && lead <= 0xF4;
        }
        const std::string_view piece = valid ? text.substr(i, length) : kReplacement;
        if (out.size() + piece.size() > maxBytes) break;
        out += piece;
        i += valid ? length : 1;
    }
    return out;
}

ProgressSummary Summarise(const std::vector<FinishedGame>& games) {
    ProgressSummary summary;
    summary.Games = games.size();
    if (games.empty()) return summary;
    for (std::size_t i = 0; i < games.size(); ++i) {
        if (i == 0 || games[i].Rate > summary.BestRate) {
            summary.BestRate = games[i].Rate;
            summary.BestIndex = i;
        }
    }
    summary.RecentCount = std::min(games.size(), kRecentGames);
    double sum = 0.0;
    for (std::size_t i = games.size() - summary.RecentCount; i < games.size(); ++i)
        sum += games[i].Rate;
    summary.RecentAverage = sum / static_cast<double>(summary.RecentCount);
    return summary;
}

}  // namespace cifrano
