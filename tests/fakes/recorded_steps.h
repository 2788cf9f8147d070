#pragma once
// The steps screens report, by name, for a screen driven without the flow;
// the last accepted players are kept.
#include <QStringList>

#include "common/base_screen.h"

namespace cifrano {

class RecordedSteps : public ScreenSteps {
  public:
    void SplashContinued() override { steps << "SplashContinued"; }
    void PlayersAccepted(const ChosenPlayers& chosen, const PlayerPictures& shown) override {
        steps << "PlayersAccepted";
        players = chosen;
        pictures = shown;
    }
    void ExerciseAccepted() override { steps << "ExerciseAccepted"; }
    void GameFinished(const GameOutcome&) override { steps << "GameFinished"; }
    void GameLeft() override { steps << "GameLeft"; }
    void ResultsContinued() override { steps << "ResultsContinued"; }
    void QuitConfirmed() override { steps << "QuitConfirmed"; }
    void ProgressRequested(const std::string& player) override {
        steps << "ProgressRequested " + QString::fromStdString(player);
    }
    void LoadFailed(const std::string&) override { steps << "LoadFailed"; }
    void CloseRequested(ScreenId) override { steps << "CloseRequested"; }
    QStringList steps;
    ChosenPlayers players;
    PlayerPictures pictures;
};

}  // namespace cifrano
