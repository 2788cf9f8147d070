#pragma once
// The history as the game uses it: trouble with the history file never stops
// a game, and the player hears of it once per run, without being asked anything.
#include <functional>
#include <string>
#include <vector>

#include "history/game_history.h"

namespace cifrano {

class HistoryRecorder : public GameHistory {
  public:
    using Notice = std::function<void(const std::string&)>;

    // notice shows a Spanish sentence without blocking; it is called at most
    // once in the recorder's life, for the first trouble.
    HistoryRecorder(GameHistory& history, Notice notice);

    bool Record(const FinishedGame& game) override;
    std::vector<std::string> Players() override;
    std::vector<std::string> Operations(const std::string& player) override;
    std::vector<FinishedGame> Games(const std::string& player,
                                    const std::string& operation) override;
    std::string Problem() const override;

    bool Noticed() const { return noticed_; }

  private:
    void NoticeOnce(const std::string& problem);

    GameHistory& history_;
    Notice notice_;
    bool noticed_ = false;
};

// The sentence the player reads for a history's trouble.
std::string HistoryNoticeText(const std::string& problem);

}  // namespace cifrano
