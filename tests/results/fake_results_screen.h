#pragma once
#include <functional>
#include <utility>

#include "app/game_settings.h"
#include "results/game_clock.h"
#include "results/match.h"

namespace cifrano {

// A results screen that loads on first reference, like the real one, and can
// be closed by the user (the next reference loads it afresh).
class FakeResultsScreen : public ResultsScreenPort {
public:
    FakeResultsScreen(GameSettings& settings, ResultsPlayers players)
        : settings_(settings), players_(std::move(players)) {}

    ResultsBoard& RestoreAndShow() override {
        if (!loaded) {
            board.Load(settings_, players_);
            loaded = true;
        }
        ++timesShown;
        if (onShow) onShow();
        return board;
    }

    ResultsBoard board;
    bool loaded = false;
    int timesShown = 0;
    std::function<void()> onShow;  // runs when the screen comes to the front

private:
    GameSettings& settings_;
    ResultsPlayers players_;
};

}  // namespace cifrano
