#pragma once
// A user is a picture file in the users folder; its name is the file name less
// its last four characters (a dot and a three-letter extension).
#include <array>
#include <string>
#include <string_view>

namespace cifrano {

// Counted in characters, not bytes; a name of fewer than four characters has
// nothing to cut and gives no name (the caller keeps what it showed before).
bool HasUserName(std::string_view fileName);
std::string UserName(std::string_view fileName);

inline constexpr std::string_view kNoPlayerOne = "Jugador 1";
inline constexpr std::string_view kNoPlayerTwo = "Jugador 2";

// The second name reads exactly "Jugador 2" (case-sensitive) when nobody was
// chosen for that slot: the match is then single-player.
bool IsSinglePlayer(std::string_view secondPlayerName);

// The players as accepted on the player selection screen; they do not change
// for the rest of the run.
struct ChosenPlayers {
    std::array<std::string, 2> Names{std::string(kNoPlayerOne), std::string(kNoPlayerTwo)};
    std::array<std::string, 2> Files;  // chosen user files, "" when none
};

}  // namespace cifrano
