#pragma once
// The owner of the five screens: creates a screen on first reference (running
// its load handler), destroys it on unload and re-creates it fresh on the next
// reference. Screens reach each other only through it.
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/base_screen.h"
#include "app/game_settings.h"
#include "app/prompts.h"
#include "app/sound_cues.h"

namespace cifrano {

class SplashScreen;
class PlayerSelectionScreen;
class ExerciseSelectionScreen;
class GameScreen;
class ResultsScreen;

class ScreenFlow : public QObject {
    Q_OBJECT
  public:
    using EndHandler = std::function<void(int exitCode)>;
    using SeedSource = std::function<std::uint64_t()>;

    ScreenFlow(QString appFolder, SoundCues& cues, Prompts& prompts, EndHandler onEnd);
    ~ScreenFlow() override;

    GameSettings& Settings() { return settings_; }
    SoundCues& Cues() { return cues_; }
    Prompts& Ask() { return prompts_; }
    const QString& AppFolder() const { return appFolder_; }
    QString DataPath(std::string_view suffix) const;

    // Seeds the game screen's random generator at each of its loads; the
    // clock by default, a fixed value in tests.
    void SetSeedSource(SeedSource source) { seedSource_ = std::move(source); }
    std::uint64_t NextSeed() const;

    // Start-up: the splash screen is loaded and shown.
    void Start();

    // The screen, loaded first when it is not loaded.
    BaseScreen& Screen(ScreenId id);
    SplashScreen& Splash();
    PlayerSelectionScreen& PlayerSelection();
    ExerciseSelectionScreen& ExerciseSelection();
    GameScreen& Game();
    ResultsScreen& Results();

    bool IsLoaded(ScreenId id) const;
    // The loaded screen or nullptr; never loads.
    BaseScreen* Find(ScreenId id) const;

    // The screen operations: show (load if needed, make visible, bring to the
    // front), unload, minimise / restore (loading first), disable, end.
    void Show(ScreenId id);
    void Unload(ScreenId id);
    void Minimise(ScreenId id);
    void Restore(ScreenId id);
    void Disable(ScreenId id);
    void End(int exitCode = 0);
    bool HasEnded() const { return ended_; }

    // The player selection has been accepted: from now on it stays to the end.
    void MarkPlayersAccepted() { playersAccepted_ = true; }

    // A screen's close box was used.
    void CloseRequested(ScreenId id);

  private:
    BaseScreen* Create(ScreenId id);

    QString appFolder_;
    SoundCues& cues_;
    Prompts& prompts_;
    EndHandler onEnd_;
    SeedSource seedSource_;
    GameSettings settings_;
    std::array<QPointer<BaseScreen>, kScreenCount> screens_{};
    bool ended_ = false;
    bool playersAccepted_ = false;
};

}  // namespace cifrano
