#pragma once
// One game on the game screen, without any toolkit: the screen's variables,
// the problem sheet, and every handler that changes them (start, answer
// entry, answer check, clock). The screen forwards events here and paints
// what it reads back.
#include <optional>
#include <string>

#include "common/game_outcome.h"
#include "common/game_settings.h"
#include "common/sound_cues.h"
#include "game/problem_generator.h"
#include "game/problem_sheet.h"

namespace cifrano {

enum class GameState { Ready, Playing, Finished };

// What the screen must do after its big button was pressed.
enum class ButtonOutcome { GameStarted, LeaveScreen, Ignored };

inline constexpr const char* kStartCaption = "Inicio";
inline constexpr const char* kContinueCaption = "CONTINUAR";
inline constexpr int kFigureTravel = 7800;  // Command2(1).Left: the figure's run

// Key codes the answer boxes understand.
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyDown = 40;

// Minutes and seconds without leading zeros: 125 reads "2 : 5".
std::string ClockText(int seconds);

// Hits per minute. A game without minutes cannot happen in play; it gives 0
// rather than an infinite or undefined figure.
double HitsPerMinute(int hits, int gameMinutes);

class GameSession {
  public:
    // A new game (the screen's load): the operation type and the length are
    // copied now, so that a change on the exercise selection screen meanwhile
    // cannot mix games.
    GameSession(const GameSettings& settings, std::string operationText, SoundCues& sounds);

    // The screen's variables. Only the handlers below change them.
    int CurrentRow = 0;
    int PreviousRow = 0;
    int ProblemCount = 0;
    int GifLeft = 0;
    int GifStep = 0;
    int ProblemShape = 0;
    int HitCount = 0;
    int ErrorCount = 0;
    int SecondsLeft = 0;
    bool RowActive = false;
    bool GameOver = false;
    int PictureHeight = 1095;  // Image1(0)

    ProblemSheet Sheet;

    // The decimal separator of the user's locale: fractions on the sheet are
    // written with it, and a typed answer may use it as well as ".".
    char NumberSeparator = '.';

    OperationFields Fields{};
    std::string OperationText;
    int GameMinutes = 0;

    std::string ClockCaption;   // Label8(1): the time shown by the last tick
    bool ButtonShown = true;    // Command1
    bool TimersEnabled = false; // Timer1 (clock, 1000 ms) and Timer2 (figure, 250 ms)
    int ShownPicture = 0;       // Image1 index: 0 player 1, 1 player 2
    int FocusRow = 0;           // answer box that must hold the focus; 0 = none

    GameState State() const;
    std::string LengthCaption() const;  // Label8(0), e.g. "3 min"
    std::string HitCaption() const;     // Label9(0): "" before the first hit
    std::string ErrorCaption() const;   // Label9(1): "" before the first error
    const char* ButtonCaption() const;
    bool FigureShown() const { return TimersEnabled; }
    // The figure's file, as a suffix of the application folder, e.g. "\gifs\3.gif".
    std::string AnimationFile() const;

    // Command1: "Inicio" builds the whole sheet, then starts both clocks and
    // the figure; after the game it plays CONTINUAR and tells the screen to leave.
    ButtonOutcome Command1_Click(RandomSource& random);

    // A key went down in answer box `index`. Modifiers do not matter and the
    // key is not consumed: the caller lets it act in the box afterwards. An
    // index that is not a problem row, or a disabled sheet, is ignored.
    void Text1_KeyDown(int index, int keyCode);
    // The player clicked answer box `index`.
    void Text1_Click(int index);
    // The arrow buttons beside the sheet: 0 scrolls down, 1 scrolls up.
    void Command2_Click(int index);
    // The text of answer box `row` as edited by the player.
    void SetAnswerText(int row, std::string text);

    // Judges row CurrentRow and calls MarkHit or MarkError at most once.
    void CheckAnswer();
    // A hit on row CurrentRow; a row already green is not counted again.
    void MarkHit();
    // An error on row CurrentRow; every call counts.
    void MarkError();
    // Paints row `row` blue and, when it differs, row PreviousRow black.
    void HighlightRow(int row);

    // One second of the game clock: shows the time left and counts it down,
    // or, with no time left, ends the game and returns its outcome. A tick
    // that arrives after the clock was stopped does nothing.
    std::optional<GameOutcome> Timer1_Timer();
    // A quarter second: the figure moves GifStep twips to the right, without limit.
    void Timer2_Timer();
    // The screen goes away: no tick may end the game afterwards.
    void Stop() { TimersEnabled = false; }

  private:
    void StartGame(RandomSource& random);
    GameOutcome TimeUp();
    int LastPlayableRow() const;
    bool IsPlayable(int index) const;
    void ClearPlaceholder(int row);
    void MoveTo(int from, int to);

    SoundCues& sounds_;
};

}  // namespace cifrano
