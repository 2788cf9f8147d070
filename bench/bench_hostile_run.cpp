// Plays one game through the real screens over a given application folder, as
// a new user would: the first user, the first operation type, the given
// minutes, "Inicio", presses of the arrow buttons, then the clock to the end.
// Messages are printed instead of shown. With bench/hostile_inputs.sh it
// tells how the program meets hostile files; /usr/bin/time gives the memory.
// Usage: bench_hostile_run <application folder> [minutes=6] [arrow presses=0] [games=1]
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>
#include <string>

#include "app/screen_flow.h"
#include "common/prompts.h"
#include "common/sound_player.h"
#include "game/game_screen.h"

using namespace cifrano;

namespace {

class PrintedPrompts : public Prompts {
  public:
    void Inform(const std::string& text) override { std::printf("mensaje: %s\n", text.c_str()); }
    bool AskYesNo(const std::string& text) override {
        std::printf("pregunta: %s\n", text.c_str());
        return true;
    }
};

void Press(QWidget* screen, const char* name) {
    if (auto* button = screen ? screen->findChild<QPushButton*>(name) : nullptr) button->click();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The history is not what this run tries: games are forgotten.
class NoHistory : public GameHistory {
  public:
    bool Record(const FinishedGame&) override { return true; }
    std::vector<std::string> Players() override { return {}; }
    std::vector<std::string> Operations(const std::string&) override { return {}; }
    std::vector<FinishedGame> Games(const std::string&, const std::string&) override {
        return {};
    }
    std::string Problem() const override { return {}; }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("Usage: bench_hostile_run <application folder> [minutes] [arrow presses]\n",
                   stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int minutes = argc > 2 ? std::atoi(argv[2]) : 6;
    const long presses = argc > 3 ? std::atol(argv[3]) : 0;
    const long games = argc > 4 ? std::atol(argv[4]) : 1;

    QtSoundCues cues(folder);
    PrintedPrompts prompts;
    NoHistory history;
    int exitCode = -1;
    ScreenFlow flow(folder, cues, prompts, history, [&](int code) { exitCode = code; });
    const auto ended = [&] {
        if (exitCode < 0) return false;
        std::printf("fin: %d\n", exitCode);
        return true;
    };
    flow.Start();
    Press(flow.Find(ScreenId::Splash), "Command1");
    if (ended()) return exitCode;

    QWidget* players = flow.Find(ScreenId::PlayerSelection);
    auto* list = players->findChild<QListWidget*>(QStringLiteral("File1(0)"));
    if (!list || list->count() == 0) {
        std::puts("sin usuarios");
        return 3;
    }
    list->setCurrentRow(0);
    list->item(0)->setSelected(true);
    QCoreApplication::processEvents();
    Press(players, "Command1");
    if (ended()) return exitCode;

    QWidget* exercise = flow.Find(ScreenId::ExerciseSelection);
    if (!exercise) return ended() ? exitCode : 3;
    Press(exercise, QStringLiteral("Command2(%1)").arg(minutes - 1).toLatin1().constData());
    for (long played = 1; played <= games; ++played) {
        Press(exercise, "Command1");  // "ACEPTAR"
        if (ended()) return exitCode;
        auto* game = static_cast<GameScreen*>(flow.Find(ScreenId::Game));
        Press(game, "Command1");  // "Inicio"
        for (long i = 0; i < presses; ++i) game->Command2_Click(0);
        for (int tick = 0; tick <= 60 * minutes; ++tick) game->Timer1_Timer();
        if (played == games) {
            std::printf("partida %ld terminada: %d aciertos, %d errores, top %d, número %d\n",
                        played, game->Session().HitCount, game->Session().ErrorCount,
                        game->Session().Sheet.Top, flow.Settings().GameNumber);
            auto* results = flow.Find(ScreenId::Results);
            if (auto* lines = results ? results->findChild<QListWidget*>("List1(0)") : nullptr)
                if (lines->count() > 0)
                    std::printf("última línea: %s (%d líneas)\n",
                                qPrintable(lines->item(lines->count() - 1)->text()),
                                lines->count());
        }
        Press(game, "Command1");  // "CONTINUAR": back to the exercise selection
    }
    return ended() ? exitCode : 0;
}
