#pragma once
// The results of a match: the results line of a game, the results screen's lists and points, and the turns of a two-player
// match. Results live only as long as the results screen stays loaded.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/game_outcome.h"
#include "common/game_settings.h"
#include "common/players.h"

namespace cifrano {

inline constexpr int kPlayerOne = 0;
inline constexpr int kPlayerTwo = 1;

// One results line, e.g. "3)  4.5 op/min -{AA + B =}- Err 2". The separator is
// the user's locale's, so the same game reads "4,5" under a decimal comma.
std::string ResultsLine(int gameNumber, double rate, std::string_view operationText, int errors,
                        char decimalSeparator = '.');

// The name the results screen shows for a chosen user file: the file name less
// its last four characters. A file name too short to carry a name leaves the
// name the player selection screen shows, so both screens agree.
std::string ResultsName(std::string_view fileName, std::string_view shownName);

// The results screen's content. A fresh board is what a freshly loaded results
// screen shows; restoring the screen never resets it.
struct ResultsBoard {
    std::array<std::vector<std::string>, 2> Lists;  // one results list per player
    std::array<int, 2> Points{};                    // pairs won (a tie counts for both)
    std::array<std::string, 2> Names;               // the name labels' captions
    bool SinglePlayer = true;

    // The results screen's load: names and kind of match from the chosen
    // players; a loaded results screen always starts with player 1's turn.
    void Load(GameSettings& settings, const ChosenPlayers& players);

    // Writes entry gameNumber - 1 of a player's list. Normally that is the next
    // entry; when the list is shorter (the screen was closed and loaded again)
    // the line is appended, so no list ever has a gap.
    void WriteLine(int player, int gameNumber, std::string line);

};

// Writes the game's line into the list of the player who played and keeps the
// turns: a single-player game advances GameNumber; player 1's game of a pair
// stores its rate and hands the turn to player 2; player 2's game scores the
// pair (higher rate one point, a tie one point each, player 1 first), gives
// the turn back and advances GameNumber.
void RecordGame(GameSettings& settings, ResultsBoard& board, const GameOutcome& outcome,
                char decimalSeparator = '.');

// Designed twips of the results screen's first column, as laid out for two players.
inline constexpr int kResultsNameWidth = 3975;
inline constexpr int kResultsListWidth = 3975;
inline constexpr int kResultsPictureWidth = 1695;

struct ResultsLayout {
    // Left edges of player 1's name, list and picture.
    long long NameLeft = 120;
    long long ListLeft = 120;
    long long PictureLeft = 1320;
    // Player 2's name, list and picture. Showing the pictures afterwards shows
    // player 2's slot again, empty in a single-player match.
    bool SecondColumnShown = true;
    bool PointsShown = true;  // both points figures and their "Puntos" captions
};

// One centred column for a single player: each control's left is the window's
// outer width less the control's width, rounded half to even, then halved
// toward zero. The picture is centred with its designed width, before scaling.
ResultsLayout ArrangeSinglePlayer(double windowWidth, int nameWidth = kResultsNameWidth,
                                  int listWidth = kResultsListWidth,
                                  int pictureWidth = kResultsPictureWidth);

}  // namespace cifrano
