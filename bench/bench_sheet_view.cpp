// Figures for the problem sheet and its view: building, the first frame after
// "Inicio", one frame, memory, and a key press to its repainted frame.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

#include <memory>

#include "bench_support.h"
#include "game/game_screen.h"
#include "game/game_session.h"
#include "game/sheet_view.h"

using namespace cifrano;
using bench::NoSteps;
using bench::SilentCues;

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Figures {
    double median = 0;
    double worst = 0;
};

// Runs `setUp` untimed and `measured` timed, `runs` times.
Figures Measure(int runs, const std::function<void()>& setUp,
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

void Print(const char* what, int rows, Figures f, double targetMs) {
    std::printf("%-36s %4d rows: median %8.3f ms, worst %8.3f ms (target <= %.0f ms)\n", what, rows,
                f.median, f.worst, targetMs);
}

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

GameSettings SettingsFor(int minutes) {
    GameSettings settings;
    settings.OperationFields = {"AA", "+", "B", "="};
    settings.GameMinutes = static_cast<short>(minutes);
    return settings;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir folder;
    SilentCues cues;
    NoSteps steps;
    std::unique_ptr<GameScreen> screen;
    // A freshly loaded game screen of the given length, exposed and painted.
    const auto loadScreen = [&](int minutes) {
        screen.reset();
        screen = std::make_unique<GameScreen>(steps, cues, SettingsFor(minutes), "AA + B =",
                                              PlayerPictures{}, 4242u, folder.path());
        screen->Load();
        screen->show();
        // The window is exposed only once its events have run.
        QCoreApplication::processEvents();
        screen->repaint();
    };

    for (int minutes : {1, 6}) {
        const int rows = minutes * 100;
        const GameSettings settings = SettingsFor(minutes);

        // Memory first, before the other figures' games have grown the heap:
        // what "Inicio" and its first frame add to a freshly loaded screen.
        loadScreen(minutes);
        const double before = ResidentMegabytes();
        screen->Command1_Click();
        screen->repaint();
        std::printf("%-36s %4d rows: %8.3f MB (target <= 2 MB)\n", "resident memory growth", rows,
                    ResidentMegabytes() - before);

        // Building the sheet: "Inicio" on the session alone.
        std::unique_ptr<GameSession> session;
        SeededRandom random(1);
        Print("building the sheet", rows,
              Measure(
                  50,
                  [&] { session = std::make_unique<GameSession>(settings, "AA + B =", cues); },
                  [&] { session->Command1_Click(random); }),
              2);

        // "Inicio" on the real screen up to its first painted frame.
        Print("\"Inicio\" to first painted frame", rows,
              Measure(
                  20, [&] { loadScreen(minutes); },
                  [&] {
                      screen->Command1_Click();
                      screen->repaint();
                  }),
              16);

        // One frame of the window onto the sheet.
        auto* view = screen->findChild<SheetView*>(QStringLiteral("Picture1"));
        Print("painting one frame", rows, Measure(200, nullptr, [&] { view->repaint(); }), 4);

        // A key in the active box: the game moves a row and the view repaints.
        if (minutes == 6) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(view->AnswerBoxRect(1).center()),
                              QPointF(view->mapToGlobal(view->AnswerBoxRect(1).center())),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view, &press);
            QLineEdit* editor = view->Editor();
            int key = 0;
            Print("key press to repainted frame", rows,
                  Measure(300, nullptr,
                          [&] {
                              // Digits and Enter in turn: typing, checking, moving.
                              const bool enter = (++key % 3) == 0;
                              QKeyEvent event(QEvent::KeyPress, enter ? Qt::Key_Return : Qt::Key_5,
                                              Qt::NoModifier,
                                              enter ? QString() : QStringLiteral("5"));
                              QCoreApplication::sendEvent(editor, &event);
                              view->repaint();
                          }),
                  4);
        }
    }
    screen.reset();
    return 0;
}
