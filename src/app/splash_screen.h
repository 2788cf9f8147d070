#pragma once
#include "app/base_screen.h"

namespace cifrano {

// The title used by the splash and the exercise selection screens.
QString ApplicationTitle();

class SplashScreen : public BaseScreen {
    Q_OBJECT
  public:
    explicit SplashScreen(ScreenFlow& flow);

  public slots:
    void Command1_Click();  // "CONTINUAR"
};

}  // namespace cifrano
