#include "game/game_session.h"

#include <cmath>

#include "app/media_paths.h"
#include "common/numbers.h"
#include "game/template_row.h"

namespace cifrano {

void GameSession::FormLoad(const GameSettings& settings, std::string operationText) {
    CurrentRow = 0;
    PreviousRow = 0;
    HitCount = 0;
    ErrorCount = 0;
    GameOver = false;
    RowActive = false;
    GifLeft = 0;
    Timer1Enabled = false;
    Timer2Enabled = false;

    Fields = settings.OperationFields;
    OperationText = std::move(operationText);
    GameMinutes = settings.GameMinutes;

    ProblemCount = GameMinutes > 0 ? GameMinutes * 100 : 0;

    Sheet.Reset();
    const TemplateLayout layout = LayoutTemplateRow(Fields);
    ApplyTemplateLayout(layout, Sheet);
    ProblemShape = layout.ProblemShape;

    LengthCaption = NumberText(GameMinutes) + " min";
    SecondsLeft = GameMinutes * 60;
    // Four ticks a second carry the figure across the run in the game's time.
    GifStep =
        SecondsLeft > 0
            ? static_cast<int>(std::floor(static_cast<double>(kFigureTravel) / SecondsLeft / 4))
            : 0;
    PictureHeight = kDesignedPictureHeight;
    ShownPicture = settings.SecondPlayerTurn ? 1 : 0;

    HitCaption.clear();
    ErrorCaption.clear();
    ClockCaption.clear();
    ButtonCaption = kStartCaption;
    ButtonShown = true;
    FigureShown = false;
    AnimationFile.clear();
    FocusRow = 0;
    State = GameState::Ready;
}

void GameSession::StartGame(RandomSource& random, SoundCues& sounds) {
    if (State != GameState::Ready || GameOver) return;
    sounds.Play(SoundCue::Adelante);
    // The whole sheet exists before either clock runs.
    BuildProblemRows(Sheet, Fields, ProblemCount, random);
    Sheet.Height = sheet_geometry::SheetHeightFor(Sheet.LastRow());
    ButtonShown = false;
    Timer1Enabled = true;
    Timer2Enabled = true;
    AnimationFile = AnimationSuffix(GameMinutes);
    FigureShown = true;
    State = GameState::Playing;
}

ButtonOutcome GameSession::Command1_Click(RandomSource& random, SoundCues& sounds) {
    if (GameOver) {
        sounds.Play(SoundCue::Continuar);
        return ButtonOutcome::LeaveScreen;
    }
    if (State != GameState::Ready) return ButtonOutcome::Ignored;
    StartGame(random, sounds);
    return ButtonOutcome::GameStarted;
}

}  // namespace cifrano
