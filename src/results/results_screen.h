#pragma once
#include "app/base_screen.h"

namespace cifrano {

// Form3: the results of every game of the run.
class ResultsScreen : public BaseScreen {
    Q_OBJECT
public:
    explicit ResultsScreen(ScreenFlow& flow);
    void Load() override;

public slots:
    void Command1_Click();  // "CONTINUAR"
    void Command2_Click();  // "SALIR"
};

}  // namespace cifrano
