// Figures for the problem sheet and its view: building, the first frame after
// "Inicio", one frame, memory, and a key press to its repainted frame.
//
// Each figure comes from a fresh process: run without arguments, the
// benchmark runs itself once per figure (--figure NAME --rows N), so no
// figure inherits another's heap or caches. Frames are timed on a window
// that the display has exposed, up to a round trip to the display, so on X11
// (QT_QPA_PLATFORM=xcb) a frame counts once the server has taken it; without
// QT_QPA_PLATFORM the window is offscreen.
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "game/game_screen.h"
#include "game/game_session.h"
#include "game/sheet_view.h"

extern char** environ;

using namespace cifrano;
using bench::Figures;
using bench::Measure;
using bench::PaintAndSync;
using bench::SilentCues;

namespace {

void Print(const char* what, int rows, Figures f, double targetMs) {
    std::printf("%-36s %4d rows: median %8.3f ms, worst %8.3f ms (target <= %g ms)\n", what, rows,
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

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject {
  public:
    int frames = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        frames += event->type() == QEvent::Paint;
        return false;
    }
};

// One figure, in this process.
int RunFigure(const std::string& figure, int rows) {
    QTemporaryDir folder;
    SilentCues cues;
    bench::NoSteps steps;
    const int minutes = rows / 100;
    const GameSettings settings = SettingsFor(minutes);
    std::unique_ptr<GameScreen> screen;
    // A freshly loaded game screen, exposed by the display and painted.
    const auto loadScreen = [&] {
        screen.reset();
        screen = std::make_unique<GameScreen>(steps, cues, settings, "AA + B =", PlayerPictures{},
                                              4242u, folder.path());
        screen->Load();
        screen->show();
        if (!QTest::qWaitForWindowExposed(screen.get())) {
            std::fprintf(stderr, "the window was never exposed\n");
            std::exit(1);
        }
        PaintAndSync(screen.get());
    };

    if (figure == "memory") {
        // What "Inicio" and its first frame add to a freshly loaded screen.
        loadScreen();
        const double before = ResidentMegabytes();
        screen->Command1_Click();
        PaintAndSync(screen.get());
        std::printf("%-36s %4d rows: %8.3f MB (target <= 2 MB)\n", "resident memory growth", rows,
                    ResidentMegabytes() - before);
    } else if (figure == "build") {
        // Building the sheet: "Inicio" on the session alone.
        std::unique_ptr<GameSession> session;
        SeededRandom random(1);
        Print("building the sheet", rows,
              Measure(
                  50, [&] { session = std::make_unique<GameSession>(settings, "AA + B =", cues); },
                  [&] { session->Command1_Click(random); }),
              2);
    } else if (figure == "start") {
        // "Inicio" on the real screen up to its first frame on the display.
        Print("\"Inicio\" to first painted frame", rows,
              Measure(20, loadScreen,
                      [&] {
                          screen->Command1_Click();
                          PaintAndSync(screen.get());
                      }),
              2);
    } else if (figure == "frame") {
        // One frame of the window onto the sheet, on the display.
        loadScreen();
        screen->Command1_Click();
        auto* view = screen->findChild<SheetView*>(QStringLiteral("Picture1"));
        Print("painting one frame", rows, Measure(200, nullptr, [&] { PaintAndSync(view); }), 4);
    } else if (figure == "key") {
        // A key in the active box: the game moves a row and the view repaints
        // what the key changed, the frame the event loop would paint next.
        loadScreen();
        screen->Command1_Click();
        auto* view = screen->findChild<SheetView*>(QStringLiteral("Picture1"));
        PaintAndSync(view);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(view->AnswerBoxRect(1).center()),
                          QPointF(view->mapToGlobal(view->AnswerBoxRect(1).center())),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QLineEdit* editor = view->Editor();
        PaintCounter painted;
        view->installEventFilter(&painted);
        editor->installEventFilter(&painted);
        int key = 0;
        Print("key press to repainted frame", rows,
              Measure(300, nullptr,
                      [&] {
                          // Digits and Enter in turn: typing, checking, moving.
                          const bool enter = (++key % 3) == 0;
                          QKeyEvent event(QEvent::KeyPress, enter ? Qt::Key_Return : Qt::Key_5,
                                          Qt::NoModifier, enter ? QString() : QStringLiteral("5"));
                          QCoreApplication::sendEvent(editor, &event);
                          bench::FlushAndSync();
                      }),
              1);
        // Every key must have painted: the box with its digit, or the next row.
        std::printf("%-36s %4d rows: %d frames for 300 keys\n", "  frames painted", rows,
                    painted.frames);
    } else if (figure == "sync") {
        // What waiting for the display adds to each frame above: a round trip
        // after a frame that paints nothing new.
        loadScreen();
        auto* view = screen->findChild<SheetView*>(QStringLiteral("Picture1"));
        view->setUpdatesEnabled(false);
        Print("round trip to the display", rows, Measure(300, nullptr, [&] { PaintAndSync(view); }),
              1);
    } else {
        std::fprintf(stderr, "unknown figure %s\n", figure.c_str());
        return 2;
    }
    std::fflush(stdout);
    screen.reset();
    return 0;
}

// Runs this program for one figure and waits for it.
int RunChild(const std::string& self, const std::string& figure, int rows) {
    std::vector<std::string> args{self, "--figure", figure, "--rows", std::to_string(rows)};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return 1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string figure;
    int rows = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--figure") figure = argv[i + 1];
        if (std::string(argv[i]) == "--rows") rows = std::atoi(argv[i + 1]);
    }
    if (!figure.empty()) {
        QApplication app(argc, argv);
        return RunFigure(figure, rows);
    }

    std::printf("platform %s, each figure from a fresh process\n",
                qgetenv("QT_QPA_PLATFORM").constData());
    std::fflush(stdout);
    const std::string self = "/proc/self/exe";
    char path[4096] = {};
    const ssize_t length = readlink(self.c_str(), path, sizeof path - 1);
    const std::string program = length > 0 ? std::string(path, length) : std::string(argv[0]);
    int failures = 0;
    for (int r : {100, 600}) {
        for (const char* f : {"memory", "build", "start", "frame"})
            failures += RunChild(program, f, r) != 0;
    }
    failures += RunChild(program, "key", 600) != 0;
    if (qgetenv("QT_QPA_PLATFORM") == "xcb") failures += RunChild(program, "sync", 600) != 0;
    return failures == 0 ? 0 : 1;
}
