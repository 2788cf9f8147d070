#include "results/results_screen.h"

#include "app/screen_flow.h"

namespace cifrano {

ResultsScreen::ResultsScreen(ScreenFlow& flow)
    : BaseScreen(flow, ScreenId::Results, 8325, 6405, colours::kResultsBackground,
                 QStringLiteral("Resultados")) {
    QPushButton* resume = MakeButton(this, "Command1", QStringLiteral("CONTINUAR"),
                                     QRect(120, 5640, 3975, 615), DesignFont(27.75, true),
                                     colours::kGreen);
    QPushButton* quit = MakeButton(this, "Command2", QStringLiteral("SALIR"),
                                   QRect(4200, 5640, 3975, 615), DesignFont(27.75, true),
                                   colours::kRed);
    connect(resume, &QPushButton::clicked, this, &ResultsScreen::Command1_Click);
    connect(quit, &QPushButton::clicked, this, &ResultsScreen::Command2_Click);
}

void ResultsScreen::Load() {
    CentreOnScreen();
    flow_.Settings().SecondPlayerTurn = false;
}

void ResultsScreen::Command1_Click() {
    flow_.Cues().Play(SoundCue::Continuar);
    flow_.Show(ScreenId::Game);
}

void ResultsScreen::Command2_Click() {
    if (flow_.Ask().AskYesNo("¿Quieres salir del programa?")) flow_.End(0);
}

}  // namespace cifrano
