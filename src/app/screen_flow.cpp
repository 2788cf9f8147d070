#include "app/screen_flow.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QRandomGenerator>

#include "app/media_paths.h"
#include "app/splash_screen.h"
#include "game/game_screen.h"
#include "results/results_screen.h"
#include "setup/exercise_selection_screen.h"
#include "setup/player_selection_screen.h"

namespace cifrano {

namespace {
std::size_t Slot(ScreenId id) { return static_cast<std::size_t>(id); }
}  // namespace

ScreenFlow::ScreenFlow(QString appFolder, SoundCues& cues, Prompts& prompts, EndHandler onEnd)
    : appFolder_(std::move(appFolder)), cues_(cues), prompts_(prompts), onEnd_(std::move(onEnd)) {}

ScreenFlow::~ScreenFlow() {
    for (auto& screen : screens_) delete screen.data();
}

QString ScreenFlow::DataPath(std::string_view suffix) const {
    return QString::fromStdString(cifrano::DataPath(appFolder_.toStdString(), suffix));
}

std::uint64_t ScreenFlow::NextSeed() const {
    if (seedSource_) return seedSource_();
    return static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()) ^
           QRandomGenerator::system()->generate64();
}

void ScreenFlow::Start() { Show(ScreenId::Splash); }

BaseScreen* ScreenFlow::Create(ScreenId id) {
    switch (id) {
        case ScreenId::Splash:
            return new SplashScreen(*this);
        case ScreenId::PlayerSelection:
            return new PlayerSelectionScreen(*this);
        case ScreenId::ExerciseSelection:
            return new ExerciseSelectionScreen(*this);
        case ScreenId::Game:
            return new GameScreen(*this);
        case ScreenId::Results:
            return new ResultsScreen(*this);
    }
    return nullptr;
}

BaseScreen& ScreenFlow::Screen(ScreenId id) {
    QPointer<BaseScreen>& slot = screens_[Slot(id)];
    if (!slot) {
        slot = Create(id);
        slot->Load();
    }
    return *slot;
}

SplashScreen& ScreenFlow::Splash() { return static_cast<SplashScreen&>(Screen(ScreenId::Splash)); }
PlayerSelectionScreen& ScreenFlow::PlayerSelection() {
    return static_cast<PlayerSelectionScreen&>(Screen(ScreenId::PlayerSelection));
}
ExerciseSelectionScreen& ScreenFlow::ExerciseSelection() {
    return static_cast<ExerciseSelectionScreen&>(Screen(ScreenId::ExerciseSelection));
}
GameScreen& ScreenFlow::Game() { return static_cast<GameScreen&>(Screen(ScreenId::Game)); }
ResultsScreen& ScreenFlow::Results() {
    return static_cast<ResultsScreen&>(Screen(ScreenId::Results));
}

bool ScreenFlow::IsLoaded(ScreenId id) const { return !screens_[Slot(id)].isNull(); }

BaseScreen* ScreenFlow::Find(ScreenId id) const { return screens_[Slot(id)].data(); }

void ScreenFlow::Show(ScreenId id) {
    if (ended_) return;
    BaseScreen& screen = Screen(id);
    if (ended_ || !IsLoaded(id)) return;  // its load may have ended the program or unloaded it
    screen.show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {  // it cannot raise
        screen.raise();
        screen.activateWindow();
    }
}

void ScreenFlow::Unload(ScreenId id) {
    QPointer<BaseScreen>& slot = screens_[Slot(id)];
    if (!slot) return;
    BaseScreen* screen = slot.data();
    slot.clear();  // a reference from the unload handler on loads a fresh instance
    screen->Unload();
    screen->hide();
    screen->deleteLater();  // the unload may come from one of the screen's own handlers
}

void ScreenFlow::Minimise(ScreenId id) {
    if (ended_) return;
    BaseScreen& screen = Screen(id);
    screen.setWindowState(screen.windowState() | Qt::WindowMinimized);
    screen.show();
}

void ScreenFlow::Restore(ScreenId id) {
    if (ended_) return;
    BaseScreen& screen = Screen(id);
    screen.setWindowState(screen.windowState() & ~Qt::WindowMinimized);
}

void ScreenFlow::Disable(ScreenId id) { Screen(id).setEnabled(false); }

void ScreenFlow::End(int exitCode) {
    if (ended_) return;
    ended_ = true;
    // No further unload handlers run: the windows simply go away.
    for (auto& screen : screens_) {
        if (screen) screen->hide();
    }
    if (onEnd_) onEnd_(exitCode);
}

void ScreenFlow::CloseRequested(ScreenId id) {
    switch (id) {
        case ScreenId::Splash:
            End(0);  // the last window
            break;
        case ScreenId::PlayerSelection:
            if (!playersAccepted_) End(0);  // the last window; afterwards it is disabled
            break;
        case ScreenId::ExerciseSelection:
            End(0);
            break;
        case ScreenId::Game:
            Unload(ScreenId::Game);
            break;
        case ScreenId::Results:
            // The results of the run are never thrown away by a click: the close
            // box only minimises the screen.
            Minimise(ScreenId::Results);
            break;
    }
}

}  // namespace cifrano
