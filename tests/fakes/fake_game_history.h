#pragma once
// A history in memory, which can be told to fail or to throw.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "history/game_history.h"

namespace cifrano::testing {

class FakeGameHistory : public GameHistory {
  public:
    std::vector<FinishedGame> Kept;  // in the order recorded
    std::string FailWith;            // non-empty: Record fails with this problem
    bool Throw = false;              // every call throws

    bool Record(const FinishedGame& game) override {
        if (Throw) throw std::runtime_error("fake history");
        problem_ = FailWith;
        if (!FailWith.empty()) return false;
        Kept.push_back(game);
        return true;
    }
    std::vector<std::string> Players() override {
        if (Throw) throw std::runtime_error("fake history");
        std::vector<std::string> players;
        for (const FinishedGame& game : Kept)
            if (std::find(players.begin(), players.end(), game.Player) == players.end())
                players.push_back(game.Player);
        return players;
    }
    std::vector<std::string> Operations(const std::string& player) override {
        if (Throw) throw std::runtime_error("fake history");
        std::vector<std::string> operations;
        for (auto game = Kept.rbegin(); game != Kept.rend(); ++game)
            if (game->Player == player && std::find(operations.begin(), operations.end(),
                                                    game->Operation) == operations.end())
                operations.push_back(game->Operation);
        return operations;
    }
    std::vector<FinishedGame> Games(const std::string& player,
                                    const std::string& operation) override {
        if (Throw) throw std::runtime_error("fake history");
        std::vector<FinishedGame> games;
        for (const FinishedGame& game : Kept)
            if ((player.empty() || game.Player == player) &&
                (operation.empty() || game.Operation == operation))
                games.push_back(game);
        std::stable_sort(games.begin(), games.end(),
                         [](const auto& a, const auto& b) { return a.PlayedAt < b.PlayedAt; });
        return games;
    }
    std::string Problem() const override { return problem_; }

  private:
    std::string problem_;
};

}  // namespace cifrano::testing
