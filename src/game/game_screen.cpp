#include "game/game_screen.h"

#include "app/screen_flow.h"

namespace cifrano {

GameScreen::GameScreen(ScreenFlow& flow)
    : BaseScreen(flow, ScreenId::Game, 9345, 7830, colours::kWhite, QString()) {}

void GameScreen::Load() { CentreOnScreen(); }

void GameScreen::Unload() { flow_.Minimise(ScreenId::Results); }

}  // namespace cifrano
