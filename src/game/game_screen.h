#pragma once
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <memory>

#include "app/base_screen.h"
#include "game/game_session.h"
#include "game/problem_generator.h"
#include "game/sheet_view.h"
#include "results/game_clock.h"

namespace cifrano {

// Form2: one game. The widgets forward every event to the game session and
// then show what it holds.
class GameScreen : public BaseScreen {
    Q_OBJECT
  public:
    explicit GameScreen(ScreenFlow& flow);
    ~GameScreen() override;
    void Load() override;
    void Unload() override;

    GameSession& session() { return session_; }
    const GameSession& session() const { return session_; }
    SheetView* sheetView() const { return sheetView_; }
    QLineEdit* editor() const { return sheetView_->Editor(); }
    QTimer* timer1() const { return timer1_; }
    QTimer* timer2() const { return timer2_; }
    QLabel* figure() const { return figure_; }
    QMovie* figureMovie() const { return movie_; }

  public slots:
    void Command1_Click();
    void Command2_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();

  private:
    void ShowPlayerPictures();
    void ShowSession();
    void LoadFigure();
    void MoveFigure();

    GameSession session_;
    std::unique_ptr<SeededRandom> random_;
    std::unique_ptr<ResultsScreenPort> results_;

    QPushButton* startButton_ = nullptr;
    SheetView* sheetView_ = nullptr;
    QLabel* lengthLabel_ = nullptr;
    QLabel* clockLabel_ = nullptr;
    QLabel* hitCountLabel_ = nullptr;
    QLabel* errorCountLabel_ = nullptr;
    std::array<PictureBox*, 2> pictures_{};
    std::array<QPushButton*, 2> scrollButtons_{};
    QLabel* figure_ = nullptr;
    QMovie* movie_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
};

// The arrow pictures of the scroll buttons: up for Command2(0), down for Command2(1).
QPixmap ArrowPicture(bool pointsUp, QSize size);

}  // namespace cifrano
