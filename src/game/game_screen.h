#pragma once
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <cstdint>
#include <string>

#include "common/base_screen.h"
#include "common/game_settings.h"
#include "common/sound_cues.h"
#include "game/game_session.h"
#include "game/problem_generator.h"
#include "game/sheet_view.h"

namespace cifrano {

// Form2: one game. The widgets forward every event to the game session and
// then show what it holds; the finished game's outcome goes to the flow.
class GameScreen : public BaseScreen {
    Q_OBJECT
  public:
    GameScreen(ScreenSteps& steps, SoundCues& cues, const GameSettings& settings,
               std::string operationText, PlayerPictures pictures, std::uint64_t seed,
               QString appFolder);
    ~GameScreen() override;
    void Load() override;
    void Unload() override;

    // The game the screen shows.
    const GameSession& Session() const { return session_; }

  public slots:
    void Command1_Click();
    void Command2_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();

  private:
    void ShowSession();
    void LoadFigure();
    void MoveFigure();

    GameSession session_;
    SeededRandom random_;
    PlayerPictures playerPictures_;
    QString appFolder_;

    QPushButton* startButton_ = nullptr;
    SheetView* sheetView_ = nullptr;
    QLabel* lengthLabel_ = nullptr;
    QLabel* clockLabel_ = nullptr;
    QLabel* hitCountLabel_ = nullptr;
    QLabel* errorCountLabel_ = nullptr;
    std::array<PictureBox*, 2> pictures_{};
    QLabel* figure_ = nullptr;
    QMovie* movie_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
};

// The arrow pictures of the scroll buttons: up for Command2(0), down for Command2(1),
// drawn for a screen with the given device pixel ratio.
QPixmap ArrowPicture(bool pointsUp, QSize size, qreal devicePixelRatio = 1.0);

}  // namespace cifrano
