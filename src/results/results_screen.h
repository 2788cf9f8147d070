#pragma once
#include <QListWidget>
#include <array>

#include "app/base_screen.h"
#include "results/game_clock.h"
#include "results/match.h"

namespace cifrano {

// Form3: the results of every game of the run, one list per player, and the
// points of a two-player match. It shows its ResultsBoard.
class ResultsScreen : public BaseScreen {
    Q_OBJECT
  public:
    explicit ResultsScreen(ScreenFlow& flow);
    void Load() override;

    ResultsBoard& Board() { return board_; }
    // Shows the board's lines and points again after the end of a game wrote them.
    void Refresh();

    QListWidget* List(int player) const { return lists_[player]; }

    int PictureHeight = 1575;

  public slots:
    void Command1_Click();  // "CONTINUAR"
    void Command2_Click();  // "SALIR"

  private:
    void ArrangeSinglePlayer();
    void ShowPlayerPictures();

    ResultsBoard board_;
    std::array<QLabel*, 2> names_{};
    std::array<QListWidget*, 2> lists_{};
    std::array<QLabel*, 2> points_{};
    std::array<QLabel*, 2> pointCaptions_{};
    std::array<PictureBox*, 2> pictures_{};
};

// The results screen as the end of a game reaches it, through the screen flow:
// restoring and showing it loads it first when needed.
class FlowResultsPort : public ResultsScreenPort {
  public:
    explicit FlowResultsPort(ScreenFlow& flow) : flow_(flow) {}
    ResultsBoard& RestoreAndShow() override;

  private:
    ScreenFlow& flow_;
};

}  // namespace cifrano
