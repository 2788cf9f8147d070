#include "app/splash_screen.h"


namespace cifrano {

SplashScreen::SplashScreen(ScreenSteps& steps, SoundCues& cues)
    : BaseScreen(steps, ScreenId::Splash, 6915, 6345, colours::kSplashBackground,
                 ApplicationTitle()),
      cues_(cues) {
    const auto centred = Qt::AlignHCenter | Qt::AlignTop;
    MakeLabel(this, "Label1(0)", QStringLiteral("CIFRANO"), QRect(480, 240, 5895, 1335),
              DesignFont(48, true), centred);
    struct Credit {
        const char* name;
        const char* text;
        QRect twips;
        double points;
    };
    const Credit credits[] = {
        {"Label1(6)", "Juego de cálculo mental", QRect(480, 1440, 6015, 615), 16},
        {"Label1(2)", "Creado por el equipo de Cifrano", QRect(600, 2160, 5895, 615), 14},
        {"Label1(3)", "cifrano@example.org", QRect(0, 2640, 7095, 615), 14},
        {"Label1(4)", "Diciembre de 2026", QRect(720, 3120, 5775, 615), 14},
        {"Label1(5)", "Este programa es gratuito", QRect(600, 3600, 6015, 615), 14},
        {"Label1(1)", "800x600 resolución óptima", QRect(600, 4440, 6015, 615), 14},
        {"Label1(7)", "© 2026 Equipo de Cifrano. Todos los derechos reservados.",
         QRect(600, 4920, 6015, 495), 9},
    };
    for (const Credit& credit : credits) {
        QLabel* label = MakeLabel(this, credit.name, QString::fromUtf8(credit.text), credit.twips,
                                  DesignFont(credit.points), centred);
        label->setWordWrap(true);
    }
    QPushButton* button =
        MakeButton(this, "Command1", QStringLiteral("CONTINUAR"), QRect(480, 5400, 5895, 810),
                   DesignFont(24, true), colours::kGreen);
    connect(button, &QPushButton::clicked, this, &SplashScreen::Command1_Click);
}

void SplashScreen::Command1_Click() {
    cues_.Play(SoundCue::Continuar);
    steps_.SplashContinued();
}

}  // namespace cifrano
