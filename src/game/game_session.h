#pragma once
// The game screen's state and its start-of-game handlers, without any
// toolkit. The screen forwards events here and paints what it reads back;
// the game clock and the results work on the same public fields.
#include <string>

#include "app/game_settings.h"
#include "app/sound_cues.h"
#include "game/problem_generator.h"
#include "game/problem_sheet.h"

namespace cifrano {

enum class GameState { Ready, Playing, Finished };

// What the screen must do after its big button was pressed.
enum class ButtonOutcome { GameStarted, LeaveScreen, Ignored };

inline constexpr const char* kStartCaption = "Inicio";
inline constexpr const char* kContinueCaption = "CONTINUAR";
inline constexpr int kDesignedPictureHeight = 1095;  // Image1(0)
inline constexpr int kFigureTravel = 7800;           // Command2(1).Left: the figure's run

struct GameSession {
    // The screen's variables, as designed.
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
    int PictureHeight = 0;

    ProblemSheet Sheet;

    // One game, one operation type and one length: copied at load, so that a
    // change on the exercise selection screen meanwhile cannot mix games.
    OperationFields Fields{};
    std::string OperationText;
    int GameMinutes = 0;

    // Captions the screen shows.
    std::string HitCaption;                     // Label9(0)
    std::string ErrorCaption;                   // Label9(1)
    std::string LengthCaption;                  // Label8(0), e.g. "3 min"
    std::string ClockCaption;                   // Label8(1)
    std::string ButtonCaption = kStartCaption;  // Command1
    bool ButtonShown = true;

    bool Timer1Enabled = false;  // game clock, 1000 ms
    bool Timer2Enabled = false;  // moving figure, 250 ms
    bool FigureShown = false;    // Gif89a1
    std::string AnimationFile;   // suffix of the application folder, e.g. "\gifs\3.gif"
    int ShownPicture = 0;        // Image1 index: 0 player 1, 1 player 2
    int FocusRow = 0;            // answer box that must hold the focus; 0 = none

    GameState State = GameState::Ready;

    // Prepares a new game (Form_Load without the centring and the seeding,
    // which belong to the screen).
    void FormLoad(const GameSettings& settings, std::string operationText);

    // "Inicio": builds the whole sheet, then starts both clocks and the
    // figure. Does nothing unless the game is Ready.
    void StartGame(RandomSource& random, SoundCues& sounds);

    // Command1: starts the game, or after the game plays CONTINUAR and tells
    // the screen to leave.
    ButtonOutcome Command1_Click(RandomSource& random, SoundCues& sounds);
};

}  // namespace cifrano
