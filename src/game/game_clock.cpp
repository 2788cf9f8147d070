// The game clock: Timer1 counts the seconds down and ends the game, Timer2
// moves the figure.
#include "common/numbers.h"
#include "game/game_session.h"

namespace cifrano {

std::string ClockText(int seconds) {
    return NumberText(seconds / 60) + " : " + NumberText(seconds % 60);
}

double HitsPerMinute(int hits, int gameMinutes) {
    if (gameMinutes <= 0) return 0.0;
    return static_cast<double>(hits) / static_cast<double>(gameMinutes);
}

std::optional<GameOutcome> GameSession::Timer1_Timer() {
    if (!TimersEnabled) return std::nullopt;
    // Counting down stops at 0, so a clock that somehow starts below 0 ends
    // the game instead of running forever.
    if (SecondsLeft > 0) {
        ClockCaption = ClockText(SecondsLeft);
        --SecondsLeft;
        return std::nullopt;
    }
    return TimeUp();
}

void GameSession::Timer2_Timer() {
    if (!TimersEnabled) return;
    GifLeft += GifStep;
}

// The end of a game, in order: FINAL cue, clock at 0 : 0, both timers off and
// the figure hidden, sheet disabled, the active row judged one last time (its
// cue replaces FINAL), the outcome, the button back as "CONTINUAR", GameOver.
GameOutcome GameSession::TimeUp() {
    sounds_.Play(SoundCue::Final);
    ClockCaption = ClockText(0);
    TimersEnabled = false;
    Sheet.Enabled = false;
    // An answer typed but not confirmed still counts.
    CheckAnswer();

    GameOutcome outcome;
    outcome.Rate = HitsPerMinute(HitCount, GameMinutes);
    outcome.OperationText = OperationText;
    outcome.Hits = HitCount;
    outcome.Errors = ErrorCount;
    outcome.Minutes = GameMinutes;

    ButtonShown = true;
    GameOver = true;
    return outcome;
}

}  // namespace cifrano
