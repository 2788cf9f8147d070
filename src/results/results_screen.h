#pragma once
#include <QListWidget>
#include <array>

#include "common/base_screen.h"
#include "common/game_settings.h"
#include "common/prompts.h"
#include "common/sound_cues.h"
#include "results/match.h"

namespace cifrano {

// Form3: the results of every game of the run, one list per player, and the
// points of a two-player match. It shows its ResultsBoard.
class ResultsScreen : public BaseScreen {
    Q_OBJECT
  public:
    ResultsScreen(ScreenSteps& steps, SoundCues& cues, Prompts& prompts, GameSettings& settings,
                  ChosenPlayers players, PlayerPictures pictures);
    void Load() override;

    // A finished game: its line, the turns and the points, then shown.
    void RecordGame(const GameOutcome& outcome);

  public slots:
    void Command1_Click();  // "CONTINUAR"
    void Command2_Click();  // "SALIR"

  private:
    void ArrangeSinglePlayer();
    void Refresh();

    SoundCues& cues_;
    Prompts& prompts_;
    GameSettings& settings_;
    ChosenPlayers players_;
    PlayerPictures playerPictures_;
    ResultsBoard board_;
    std::array<QLabel*, 2> names_{};
    std::array<QListWidget*, 2> lists_{};
    std::array<QLabel*, 2> points_{};
    std::array<QLabel*, 2> pointCaptions_{};
    std::array<PictureBox*, 2> pictures_{};
    QPushButton* progressButton_ = nullptr;
    static constexpr int kPictureHeight = 1575;
};

}  // namespace cifrano
