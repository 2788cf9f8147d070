// How long a game really lasts on the wall clock: the real game screen with its
// real timers, from "Inicio" to the end of the game, while other threads keep
// the processor busy and a slow handler shares the event loop. A game of m
// minutes lasts 60 x m + 1 ticks; the target is within 0.25 s of that.
// Usage: bench_game_clock [minutes=1] [busy threads=2] [slow handler ms=120]
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "game/game_screen.h"

using namespace cifrano;
using bench::NoSteps;
using bench::SilentCues;

namespace {

using Clock = std::chrono::steady_clock;

void BusyFor(std::chrono::milliseconds span) {
    const auto end = Clock::now() + span;
    while (Clock::now() < end) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 1;
    const int busyThreads = argc > 2 ? std::atoi(argv[2]) : 2;
    const int slowHandlerMs = argc > 3 ? std::atoi(argv[3]) : 120;

    QTemporaryDir folder;
    SilentCues cues;
    NoSteps steps;
    GameSettings settings;
    settings.OperationFields = {"AA", "+", "B", "="};
    settings.GameMinutes = static_cast<short>(minutes);
    GameScreen game(steps, cues, settings, "AA + B =", PlayerPictures{}, 1u, folder.path());
    game.Load();
    game.show();

    std::atomic<bool> stop{false};
    std::vector<std::thread> burners;
    for (int i = 0; i < busyThreads; ++i) {
        burners.emplace_back([&stop] {
            volatile unsigned long sink = 0;
            while (!stop) sink = sink + 1;
        });
    }
    // Unrelated slow work on the user-interface thread, as a heavy repaint would be.
    QTimer slow;
    slow.setInterval(333);
    QObject::connect(&slow, &QTimer::timeout,
                     [slowHandlerMs] { BusyFor(std::chrono::milliseconds(slowHandlerMs)); });
    slow.start();

    const auto start = Clock::now();
    game.Command1_Click();  // "Inicio"
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (game.Session().GameOver) QCoreApplication::exit(0);  // quit() asks the screens to close
    });
    poll.start();
    QApplication::exec();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    stop = true;
    for (std::thread& burner : burners) burner.join();

    const double expected = 60.0 * minutes + 1;
    std::printf("game of %d min, %d busy threads, %d ms slow handler every 333 ms\n", minutes,
                busyThreads, slowHandlerMs);
    std::printf(
        "wall-clock length %.3f s, expected %.0f s, off by %+.3f s (target within 0.25 s)\n",
        seconds, expected, seconds - expected);
    return 0;
}
