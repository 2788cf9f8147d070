#include "results/game_clock.h"

#include "common/numbers.h"
#include "game/answer_check.h"

namespace cifrano {

std::string ClockText(int seconds) {
    return NumberText(seconds / 60) + " : " + NumberText(seconds % 60);
}

bool Timer1_Timer(GameSession& session, EndOfGameLinks links) {
    if (!session.Timer1Enabled) return false;
    // Counting down stops at 0, so a clock that somehow starts below 0 ends
    // the game instead of running forever.
    if (session.SecondsLeft > 0) {
        session.ClockCaption = ClockText(session.SecondsLeft);
        --session.SecondsLeft;
        return false;
    }
    TimeUp(session, links);
    return true;
}

void Timer2_Timer(GameSession& session) {
    if (!session.Timer2Enabled) return;
    session.GifLeft += session.GifStep;
}

void TimeUp(GameSession& session, EndOfGameLinks links) {
    links.Sounds.Play(SoundCue::Final);
    session.ClockCaption = ClockText(0);
    session.Timer1Enabled = false;
    session.Timer2Enabled = false;
    session.FigureShown = false;
    session.Sheet.Enabled = false;
    ResultsBoard& board = links.Results.RestoreAndShow();
    // An answer typed but not confirmed still counts.
    CheckAnswer(session, links.Sounds);

    GameOutcome outcome;
    outcome.Rate = HitsPerMinute(session.HitCaption, session.GameMinutes);
    outcome.OperationText = session.OperationText;
    outcome.ErrorsCaption = session.ErrorCaption;
    RecordGame(links.Settings, board, links.SecondPlayerName, outcome, links.DecimalSeparator);

    session.ButtonCaption = kContinueCaption;
    session.ButtonShown = true;
    session.GameOver = true;
    session.State = GameState::Finished;
}

}  // namespace cifrano
