#pragma once
// The order of the screens, in one place. The flow owns the five screens:
// it creates a screen on first need (running its load handler), destroys it
// on unload and creates it fresh the next time. Screens report their steps
// here; the flow alone shows, minimises, disables, unloads and ends, and
// hands each screen the values it needs when it creates it.
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/base_screen.h"
#include "common/game_settings.h"
#include "common/prompts.h"
#include "common/sound_cues.h"
#include "history/game_history.h"
#include "setup/picture_loader.h"

namespace cifrano {

class ScreenFlow : public QObject, public ScreenSteps {
    Q_OBJECT
  public:
    using EndHandler = std::function<void(int exitCode)>;
    using SeedSource = std::function<std::uint64_t()>;

    // Every finished game is recorded in `history`.
    ScreenFlow(QString appFolder, SoundCues& cues, Prompts& prompts, GameHistory& history,
               EndHandler onEnd);
    ~ScreenFlow() override;

    // Seeds the game screen's random generator at each of its loads; the
    // clock by default, a fixed value in tests.
    void SetSeedSource(SeedSource source) { seedSource_ = std::move(source); }

    // Start-up: the splash screen is loaded and shown.
    void Start();
    bool HasEnded() const { return ended_; }

    // The loaded screen or nullptr; never loads.
    BaseScreen* Find(ScreenId id) const;
    // The shared game settings of the run.
    GameSettings& Settings() { return settings_; }
    // Decodes the users' pictures for the whole run (at the highest pixel ratio of
    // the screens), made on first need.
    PictureLoader& UserPictures();
    // Starts decoding the large pictures of the users folder, so that they are
    // ready when the names appear; the program calls it once the splash is painted.
    void DecodePicturesAhead();

    void SplashContinued() override;
    void PlayersAccepted(const ChosenPlayers& players, const PlayerPictures& pictures) override;
    void ExerciseAccepted() override;
    void GameFinished(const GameOutcome& outcome) override;
    void GameLeft() override;
    void ResultsContinued() override;
    void QuitConfirmed() override;
    void ProgressRequested(const std::string& player) override;
    void LoadFailed(const std::string& message) override;
    void CloseRequested(ScreenId id) override;

  private:
    QString DataPath(std::string_view suffix) const;
    std::uint64_t NextSeed() const;
    BaseScreen* Create(ScreenId id);
    // The screen, loaded first when it is not loaded.
    BaseScreen& Screen(ScreenId id);

    // The screen operations: show (load if needed, make visible, bring to the
    // front), unload, minimise / restore (loading first), disable, end.
    void Show(ScreenId id);
    void Unload(ScreenId id);
    void Minimise(ScreenId id);
    void Restore(ScreenId id);
    void Disable(ScreenId id);
    void End(int exitCode);

    QString appFolder_;
    SoundCues& cues_;
    Prompts& prompts_;
    GameHistory& history_;
    EndHandler onEnd_;
    SeedSource seedSource_;
    GameSettings settings_;
    // Set once the players are accepted; they stay the same to the end.
    ChosenPlayers players_;
    PlayerPictures pictures_;
    std::array<QPointer<BaseScreen>, kScreenCount> screens_{};
    QPointer<QWidget> progress_;
    PictureLoader* userPictures_ = nullptr;
    bool ended_ = false;
    bool playersAccepted_ = false;
};

}  // namespace cifrano
