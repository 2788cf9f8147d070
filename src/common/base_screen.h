#pragma once
// What every screen shares: its client size and background in twips,
// centring at load, and the steps through which it tells the screen flow
// what happened. Screens never reach each other.
#include <QString>
#include <QWidget>
#include <string>

#include "common/colours.h"
#include "common/controls_view.h"
#include "common/game_outcome.h"
#include "common/players.h"

namespace cifrano {

// The five screens; their designed names are Form1 to Form5.
enum class ScreenId { Splash, PlayerSelection, ExerciseSelection, Game, Results };
inline constexpr int kScreenCount = 5;
const char* DesignedName(ScreenId id);

// What the screens report; the screen flow alone decides what follows.
class ScreenSteps {
  public:
    virtual ~ScreenSteps() = default;
    virtual void SplashContinued() = 0;
    virtual void PlayersAccepted(const ChosenPlayers& players, const PlayerPictures& pictures) = 0;
    virtual void ExerciseAccepted() = 0;
    virtual void GameFinished(const GameOutcome& outcome) = 0;
    virtual void GameLeft() = 0;
    virtual void ResultsContinued() = 0;
    virtual void QuitConfirmed() = 0;
    // The progress window, opened for a player (the results screen's button).
    virtual void ProgressRequested(const std::string& player) = 0;
    // A screen cannot work (a required file is missing): the message, then the end.
    virtual void LoadFailed(const std::string& message) = 0;
    // A screen's close box was used.
    virtual void CloseRequested(ScreenId id) = 0;
};

class BaseScreen : public QWidget {
    Q_OBJECT
  public:
    BaseScreen(ScreenSteps& steps, ScreenId id, int clientWidthTwips, int clientHeightTwips,
               Rgb background, const QString& title);
    ScreenId Id() const { return id_; }

    // The screen's load handler: runs once, right after the screen is created.
    virtual void Load() { CentreOnScreen(); }
    // The screen's unload handler: runs before the screen is destroyed.
    virtual void Unload() {}

    // The window's size with the window manager's frame around it.
    QSize OuterSize();

  protected:
    void CentreOnScreen();
    void closeEvent(QCloseEvent* event) override;
    ScreenSteps& steps_;

  private:
    ScreenId id_;
};

}  // namespace cifrano
