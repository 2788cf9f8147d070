#include "game/game_session.h"

#include <cmath>

#include "common/media_paths.h"
#include "common/numbers.h"
#include "game/template_row.h"

namespace cifrano {

GameSession::GameSession(const GameSettings& settings, std::string operationText,
                         SoundCues& sounds)
    : Fields(settings.OperationFields),
      OperationText(std::move(operationText)),
      GameMinutes(settings.GameMinutes),
      ShownPicture(settings.SecondPlayerTurn ? 1 : 0),
      sounds_(sounds) {
    ProblemCount = GameMinutes > 0 ? GameMinutes * 100 : 0;
    const TemplateLayout layout = LayoutTemplateRow(Fields);
    ApplyTemplateLayout(layout, Sheet);
    ProblemShape = layout.ProblemShape;
    SecondsLeft = GameMinutes * 60;
    // Four ticks a second carry the figure across the run in the game's time.
    GifStep =
        SecondsLeft > 0
            ? static_cast<int>(std::floor(static_cast<double>(kFigureTravel) / SecondsLeft / 4))
            : 0;
}

GameState GameSession::State() const {
    if (GameOver) return GameState::Finished;
    return ButtonShown ? GameState::Ready : GameState::Playing;
}

std::string GameSession::LengthCaption() const { return NumberText(GameMinutes) + " min"; }

std::string GameSession::HitCaption() const { return HitCount ? NumberText(HitCount) : ""; }

std::string GameSession::ErrorCaption() const { return ErrorCount ? NumberText(ErrorCount) : ""; }

const char* GameSession::ButtonCaption() const {
    return GameOver ? kContinueCaption : kStartCaption;
}

std::string GameSession::AnimationFile() const { return AnimationSuffix(GameMinutes); }

void GameSession::StartGame(RandomSource& random) {
    sounds_.Play(SoundCue::Adelante);
    // The whole sheet exists before either clock runs.
    BuildProblemRows(Sheet, Fields, ProblemCount, random, NumberSeparator);
    Sheet.Height = sheet_geometry::SheetHeightFor(Sheet.LastRow());
    ButtonShown = false;
    TimersEnabled = true;
}

ButtonOutcome GameSession::Command1_Click(RandomSource& random) {
    switch (State()) {
        case GameState::Finished:
            sounds_.Play(SoundCue::Continuar);
            return ButtonOutcome::LeaveScreen;
        case GameState::Ready:
            StartGame(random);
            return ButtonOutcome::GameStarted;
        case GameState::Playing:
            break;
    }
    return ButtonOutcome::Ignored;
}

}  // namespace cifrano
