#pragma once
#include "common/base_screen.h"
#include "common/sound_cues.h"

namespace cifrano {

class SplashScreen : public BaseScreen {
    Q_OBJECT
  public:
    SplashScreen(ScreenSteps& steps, SoundCues& cues);

  public slots:
    void Command1_Click();  // "CONTINUAR"

  private:
    SoundCues& cues_;
};

}  // namespace cifrano
