#include "app/screen_flow.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QRandomGenerator>

#include "app/splash_screen.h"
#include "common/media_paths.h"
#include "game/game_screen.h"
#include "history/progress_screen.h"
#include "results/results_screen.h"
#include "setup/exercise_selection_screen.h"
#include "setup/player_selection_screen.h"

namespace cifrano {

namespace {
std::size_t Slot(ScreenId id) { return static_cast<std::size_t>(id); }
}  // namespace

ScreenFlow::ScreenFlow(QString appFolder, SoundCues& cues, Prompts& prompts,
                       GameHistory& history, EndHandler onEnd)
    : appFolder_(std::move(appFolder)),
      cues_(cues),
      prompts_(prompts),
      history_(history),
      onEnd_(std::move(onEnd)) {}

ScreenFlow::~ScreenFlow() {
    delete progress_.data();
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

BaseScreen* ScreenFlow::Create(ScreenId id) {
    switch (id) {
        case ScreenId::Splash:
            return new SplashScreen(*this, cues_);
        case ScreenId::PlayerSelection:
            return new PlayerSelectionScreen(*this, cues_, prompts_, settings_,
                                             DataPath(kUsersFolder), UserPictures());
        case ScreenId::ExerciseSelection:
            return new ExerciseSelectionScreen(*this, cues_, settings_,
                                               DataPath(kConfigurationFile), pictures_);
        case ScreenId::Game: {
            // The operation type selected now, also when the game comes back
            // through the results screen without a new "ACEPTAR".
            const auto* exercise =
                static_cast<ExerciseSelectionScreen*>(Find(ScreenId::ExerciseSelection));
            return new GameScreen(*this, cues_, settings_,
                                  exercise ? exercise->SelectedOperationText() : std::string(),
                                  pictures_, NextSeed(), appFolder_);
        }
        case ScreenId::Results:
            return new ResultsScreen(*this, cues_, prompts_, settings_, players_, pictures_);
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

BaseScreen* ScreenFlow::Find(ScreenId id) const { return screens_[Slot(id)].data(); }

void ScreenFlow::Start() { Show(ScreenId::Splash); }

PictureLoader& ScreenFlow::UserPictures() {
    if (!userPictures_) {
        userPictures_ = new PictureLoader(
            PlayerSelectionScreen::DecodedPictureHeight(qGuiApp->devicePixelRatio()), this);
    }
    return *userPictures_;
}

void ScreenFlow::DecodePicturesAhead() {
    if (!ended_) PlayerSelectionScreen::DecodeAhead(UserPictures(), DataPath(kUsersFolder));
}

void ScreenFlow::Show(ScreenId id) {
    if (ended_) return;
    BaseScreen& screen = Screen(id);
    if (ended_ || !Find(id)) return;  // its load may have ended the program
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
    slot.clear();
    screen->Unload();
    screen->hide();
    screen->deleteLater();  // the unload may come from one of the screen's own handlers
    // However the game screen goes, the results wait minimised for the next game.
    if (id == ScreenId::Game) Minimise(ScreenId::Results);
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

void ScreenFlow::SplashContinued() {
    // The player selection loads first; the splash is gone before it shows.
    Screen(ScreenId::PlayerSelection);
    if (ended_) return;
    Unload(ScreenId::Splash);
    Show(ScreenId::PlayerSelection);
}

void ScreenFlow::PlayersAccepted(const ChosenPlayers& players, const PlayerPictures& pictures) {
    players_ = players;
    pictures_ = pictures;
    playersAccepted_ = true;
    Show(ScreenId::ExerciseSelection);
    if (ended_) return;
    // From now on the player selection stays to the end, out of the way.
    Disable(ScreenId::PlayerSelection);
    Minimise(ScreenId::PlayerSelection);
}

void ScreenFlow::ExerciseAccepted() { Show(ScreenId::Game); }

void ScreenFlow::GameFinished(const GameOutcome& outcome) {
    Restore(ScreenId::Results);
    Show(ScreenId::Results);
    auto* results = static_cast<ResultsScreen*>(Find(ScreenId::Results));
    if (!results) return;
    // Kept before the results take the turn: the game is the player's whose turn it was.
    history_.Record(FinishedGameOf(settings_, players_, outcome, NowSeconds()));
    results->RecordGame(outcome);
}

void ScreenFlow::GameLeft() {
    Minimise(ScreenId::Results);
    Unload(ScreenId::Game);
}

void ScreenFlow::ResultsContinued() { Show(ScreenId::Game); }

void ScreenFlow::QuitConfirmed() { End(0); }

void ScreenFlow::ProgressRequested(const std::string& player) {
    // One progress window at a time; asked again, it comes to the front.
    auto* window = static_cast<ProgressScreen*>(progress_.data());
    if (!window) {
        window = new ProgressScreen(history_);
        window->setAttribute(Qt::WA_DeleteOnClose);
        progress_ = window;
    }
    window->SelectPlayer(QString::fromStdString(player));
    window->show();
    window->raise();
    window->activateWindow();
}

void ScreenFlow::LoadFailed(const std::string& message) {
    prompts_.Inform(message);
    End(1);
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
