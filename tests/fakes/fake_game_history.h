#pragma once
// A history in memory.
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "history/game_history.h"

namespace cifrano::testing {

class FakeGameHistory : public GameHistory {
  public:
    std::vector<FinishedGame> Kept;  // in the order recorded

    bool Record(const FinishedGame& game) override {
        Kept.push_back(game);
        return true;
    }
    std::vector<std::string> Players() override {
        std::vector<std::string> found;
        for (const FinishedGame& game : Kept)
            if (std::ranges::find(found, game.Player) == found.end()) found.push_back(game.Player);
        return found;
    }
    // The most recently recorded first.
    std::vector<std::string> Operations(const std::string& player) override {
        std::vector<std::string> found;
        for (auto game = Kept.rbegin(); game != Kept.rend(); ++game)
            if (game->Player == player && std::ranges::find(found, game->Operation) == found.end())
                found.push_back(game->Operation);
        return found;
    }
    std::vector<FinishedGame> Games(const std::string& player,
                                    const std::string& operation) override {
        std::vector<FinishedGame> games;
        std::ranges::copy_if(Kept, std::back_inserter(games), [&](const FinishedGame& game) {
            return (player.empty() || game.Player == player) &&
                   (operation.empty() || game.Operation == operation);
        });
        std::ranges::stable_sort(games, {}, &FinishedGame::PlayedAt);
        return games;
    }
    std::string Problem() const override { return {}; }
};

}  // namespace cifrano::testing
