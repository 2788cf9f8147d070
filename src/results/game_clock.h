#pragma once
// The game clock: Timer1 counts the seconds down and ends the game, Timer2
// moves the figure. The screen connects its timers to these handlers.
#include <string>
#include <string_view>

#include "app/game_settings.h"
#include "app/sound_cues.h"
#include "game/game_session.h"
#include "results/match.h"

namespace cifrano {

// The results screen as the end of a game sees it; the screen flow implements it.
class ResultsScreenPort {
  public:
    virtual ~ResultsScreenPort() = default;
    // Restores the results screen to its normal state and shows it in front.
    // When it is not loaded this loads it first, and its load runs
    // (ResultsBoard::Load, which gives the turn back to player 1).
    virtual ResultsBoard& RestoreAndShow() = 0;
};

// What the end of a game reaches outside the game screen.
struct EndOfGameLinks {
    GameSettings& Settings;
    SoundCues& Sounds;
    ResultsScreenPort& Results;
    std::string_view SecondPlayerName;  // the player selection's second name label
    char DecimalSeparator = '.';        // the user's locale's
};

// Minutes and seconds without leading zeros: 125 reads "2 : 5".
std::string ClockText(int seconds);

// One second of the game clock: shows the time left and counts it down, or,
// with no time left, ends the game. Returns true on the tick that ended it.
// A tick that arrives after the clock was stopped does nothing.
bool Timer1_Timer(GameSession& session, EndOfGameLinks links);

// A quarter second: the figure moves GifStep twips to the right, without limit.
void Timer2_Timer(GameSession& session);

// The end of a game, in order: FINAL cue, clock at 0 : 0, both timers off, figure
// hidden, sheet disabled, results screen in front, the active row judged one
// last time (its cue replaces FINAL), the rate, the line and the turns, the
// button back as "CONTINUAR", and GameOver.
void TimeUp(GameSession& session, EndOfGameLinks links);

}  // namespace cifrano
