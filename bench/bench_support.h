#pragma once
// What the benchmarks share: a game that makes no sound, asks nothing and
// leads nowhere.
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/base_screen.h"
#include "common/prompts.h"
#include "common/sound_cues.h"

namespace cifrano::bench {

using Clock = std::chrono::steady_clock;

inline double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Figures {
    double median = 0;
    double worst = 0;
};

// Runs `setUp` untimed and `measured` timed, `runs` times.
inline Figures Measure(int runs, const std::function<void()>& setUp,
                       const std::function<void()>& measured) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setUp) setUp();
        const auto start = Clock::now();
        measured();
        times.push_back(Millis(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

class SilentCues : public SoundCues {
  public:
    void Play(SoundCue) override {}
};

class NoPrompts : public Prompts {
  public:
    void Inform(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

// A screen's steps that lead nowhere: the benchmark drives one screen alone.
class NoSteps : public ScreenSteps {
  public:
    void SplashContinued() override {}
    void PlayersAccepted(const ChosenPlayers&, const PlayerPictures&) override {}
    void ExerciseAccepted() override {}
    void GameFinished(const GameOutcome&) override {}
    void GameLeft() override {}
    void ResultsContinued() override {}
    void QuitConfirmed() override {}
    void ProgressRequested(const std::string&) override {}
    void LoadFailed(const std::string&) override {}
    void CloseRequested(ScreenId) override {}
};

// On X11, waits for the server to have handled every request so far (a
// request with a reply is answered only after every request before it).
// Offscreen there is no display to wait for.
inline void SyncWithDisplay() {
    if (auto* x11 = QGuiApplication::platformName() == QLatin1String("xcb")
                        ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                        : nullptr) {
        xcb_connection_t* connection = x11->connection();
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
}

// Paints the whole widget now and waits for the display to have taken it.
inline void PaintAndSync(QWidget* widget) {
    widget->repaint();
    SyncWithDisplay();
}

// Paints what the program has asked to repaint (its pending update
// requests), as the event loop would next, and waits for the display.
inline void FlushAndSync() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    SyncWithDisplay();
}

}  // namespace cifrano::bench
