#pragma once
// The choices that one screen makes and a later one needs. One instance lives
// for the whole run, owned by the screen flow and handed to every screen.
#include <array>
#include <string>

namespace cifrano {

// The fields of the chosen operation type; "" after the last field.
using OperationFields = std::array<std::string, 11>;

struct GameSettings {
    cifrano::OperationFields OperationFields{};
    short GameMinutes = 0;          // 1 to 6 once the exercise selection has loaded
    bool SecondPlayerTurn = false;  // the next (or current) game is player 2's
    // 1-based; 1 once the player selection has loaded. Wide enough for any run:
    // a game lasts at least a minute.
    int GameNumber = 0;
    double FirstPlayerRate = 0.0;   // player 1's hits per minute in the current pair
};

}  // namespace cifrano
