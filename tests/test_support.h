#pragma once
// Shared pieces of the widget tests: an application folder with a screen flow
// over it, wired to fakes, and helpers that drive the screens as a player does.
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/screen_flow.h"
#include "app/splash_screen.h"
#include "common/geometry.h"
#include "common/numbers.h"
#include "game/answer_check.h"
#include "game/game_screen.h"
#include "recording_sound_cues.h"
#include "results/results_screen.h"
#include "scripted_prompts.h"
#include "setup/exercise_selection_screen.h"
#include "setup/player_selection_screen.h"

namespace cifrano::testing {

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}
// Lets deferred deletions of unloaded screens happen.
inline void ProcessDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
inline void Click(const QWidget* screen, const QString& name) {
    auto* button = screen->findChild<QPushButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}
inline QString Text(const QWidget* s, const QString& name) {
    return s->findChild<QLabel*>(name)->text();
}
inline QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}
// Every screen's state in the words of the flow table.
inline QString Table(const ScreenFlow& flow) {
    QStringList states;
    for (int id = 0; id < kScreenCount; ++id) {
        const BaseScreen* s = flow.Find(ScreenId(id));
        const QString state = !s                 ? "not loaded"
                              : !s->isVisible()  ? "hidden"
                              : s->isMinimized() ? "minimised"
                                                 : "shown";
        states << (s && !s->isEnabled() ? state + ",disabled" : state);
    }
    return states.join(" | ");
}

// An application folder (configuration file, users folder with Ana.png) and a
// screen flow over it, with recorded sounds and answered prompts.
struct Harness {
    explicit Harness(const QByteArray& configuration = "AA + B =\nA x B =\nA ( B + C ) =\n")
        : flow(dir.path(), cues, prompts, [this](int code) { endCodes.push_back(code); }) {
        if (!configuration.isNull()) WriteFile(Path("configuracion.txt"), configuration);
        QDir(dir.path()).mkpath("usuarios");
        AddUser("Ana.png");
        flow.SetSeedSource([] { return 12345u; });
    }
    QString Path(const QString& relative) const { return dir.filePath(relative); }
    // A picture of the given size in the format its suffix names.
    void AddUser(const QString& file, int width = 80, int height = 100) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.save(Path("usuarios/" + file));
    }
    // A file of the default data folder (Qt writes no GIF files).
    void CopyData(const QString& from, const QString& to) {
        QDir().mkpath(QFileInfo(Path(to)).absolutePath());
        QFile::copy(qEnvironmentVariable("CIFRANO_SOURCE_DATA") + "/" + from, Path(to));
    }
    // Start-up and the splash's "CONTINUAR".
    PlayerSelectionScreen& ToPlayers() {
        flow.Start();
        Click(&flow.Splash(), "Command1");
        ProcessDeferredDeletes();
        return flow.PlayerSelection();
    }
    // A real click on a file of a player's list; "" picks nothing.
    void Pick(int list, const QString& file) {
        QListWidget* files = flow.PlayerSelection().FileList(list);
        const auto found = files->findItems(file, Qt::MatchExactly);
        QVERIFY2(file.isEmpty() || !found.isEmpty(), qPrintable(file));
        if (found.isEmpty()) return;
        files->scrollToItem(found.first());
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualItemRect(found.first()).center());
    }
    void Accept(const QString& first, const QString& second = {}) {
        Pick(0, first);
        Pick(1, second);
        Click(&flow.PlayerSelection(), "Command1");
    }
    // A minute button, then "ACEPTAR".
    GameScreen& ToGame(int minutes) {
        QTest::mouseClick(flow.ExerciseSelection().MinuteButton(minutes - 1), Qt::LeftButton);
        Click(&flow.ExerciseSelection(), "Command1");
        return flow.Game();
    }
    // The game screen's parts, and its sheet driven by real clicks and keys.
    GameScreen& screen() { return flow.Game(); }
    GameSession& session() { return screen().session(); }
    SheetView* view() { return screen().sheetView(); }
    QLineEdit* editor() { return screen().editor(); }
    template <typename T = QLabel>
    T* Find(const QString& name) {
        return screen().findChild<T*>(name);
    }
    void Inicio() { Click(&screen(), "Command1"); }
    void ClickRow(int row) {
        QTest::mouseClick(view(), Qt::LeftButton, {}, view()->AnswerBoxRect(row).center());
    }
    void Type(int row, const QString& text) {
        ClickRow(row);
        QTest::keyClicks(editor(), text);
    }
    // The right answer of a row, plus an offset for a wrong one.
    QString Answer(int row, double offset = 0) {
        const auto& c = session().Sheet.Rows[row].Cells;
        return QString::fromStdString(
            NumberText(offset + *ExpectedValue(session().ProblemShape, c[0].Caption, c[1].Caption,
                                               c[2].Caption, c[3].Caption, c[4].Caption)));
    }

    QTemporaryDir dir;
    RecordingSoundCues cues;
    ScriptedPrompts prompts;
    std::vector<int> endCodes;
    ScreenFlow flow;
};

// The game screen after the player selection (Ana, or Ana and Luis with Luis's
// turn) and the minutes; the folder holds the six-minute figure only.
struct Game : Harness {
    explicit Game(int minutes = 1, bool secondTurn = false) {
        AddUser("Luis.png", 160, 100);
        CopyData("gifs/6.gif", "gifs/6.gif");
        ToPlayers();
        Accept("Ana.png", secondTurn ? "Luis.png" : "");
        flow.Settings().SecondPlayerTurn = secondTurn;
        ToGame(minutes);
    }
};

}  // namespace cifrano::testing
