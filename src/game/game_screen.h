#pragma once
#include "app/base_screen.h"

namespace cifrano {

// Form2: one game.
class GameScreen : public BaseScreen {
    Q_OBJECT
public:
    explicit GameScreen(ScreenFlow& flow);
    void Load() override;
    void Unload() override;
};

}  // namespace cifrano
