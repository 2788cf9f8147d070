#pragma once
// What the benchmarks share: a game that makes no sound, asks nothing and
// leads nowhere.
#include <string>

#include "common/base_screen.h"
#include "common/prompts.h"
#include "common/sound_cues.h"

namespace cifrano::bench {

class SilentCues : public SoundCues {
  public:
    void Play(SoundCue) override {}
};

class NoPrompts : public Prompts {
  public:
    void Inform(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

// A screen's steps that lead nowhere: the benchmark drives one screen alone.
class NoSteps : public ScreenSteps {
  public:
    void SplashContinued() override {}
    void PlayersAccepted(const ChosenPlayers&, const PlayerPictures&) override {}
    void ExerciseAccepted() override {}
    void GameFinished(const GameOutcome&) override {}
    void GameLeft() override {}
    void ResultsContinued() override {}
    void QuitConfirmed() override {}
    void LoadFailed(const std::string&) override {}
    void CloseRequested(ScreenId) override {}
};

}  // namespace cifrano::bench
