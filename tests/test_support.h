#pragma once
// Shared pieces of the widget tests: an application folder with a screen flow
// over it, wired to fakes, and helpers that drive the screens as a player does
// (screens found by id, controls by their designed names).
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "app/screen_flow.h"
#include "common/geometry.h"
#include "common/numbers.h"
#include "game/answer_check.h"
#include "game/game_screen.h"
#include "history/sqlite_history.h"
#include "recording_sound_cues.h"
#include "scripted_prompts.h"

namespace cifrano::testing {

using enum ScreenId;

// A real click on an item, scrolled into view first.
inline void ClickItem(QListWidget* list, QListWidgetItem* item) {
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}
// Lets the deferred deletions of unloaded screens, and window activations, happen.
inline void DeleteUnloaded() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// An application folder (configuration file, users folder with Ana.png) and a
// screen flow over it, with recorded sounds, answered prompts and a fixed seed.
struct Harness {
    explicit Harness(const QByteArray& configuration = "AA + B =\nA x B =\nA ( B + C ) =\n")
        : flow(dir.path(), cues, prompts, history,
               [this](int code) { endCodes.push_back(code); }) {
        if (!configuration.isNull()) Write("configuracion.txt", configuration);
        QDir(dir.path()).mkpath("usuarios");
        AddUser("Ana.png");
        flow.SetSeedSource([] { return 12345u; });
    }
    QString Path(const QString& relative) const { return dir.filePath(relative); }
    void Write(const QString& file, const QByteArray& bytes) {
        QFile out(Path(file));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    }
    void AddUser(const QString& file, int width = 80, int height = 100) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(Path("usuarios/" + file)));
    }
    // A figure of the repository's data folder (Qt writes no GIF files).
    void AddFigure(int minutes) {
        const QString gif = QString("gifs/%1.gif").arg(minutes);
        QDir(dir.path()).mkpath("gifs");
        QVERIFY(QFile::copy(CIFRANO_DATA_DIR "/" + gif, Path(gif)));
    }

    template <class T = QWidget>
    T* Child(ScreenId id, const QString& name) const {
        const BaseScreen* screen = flow.Find(id);
        return screen ? screen->findChild<T*>(name) : nullptr;
    }
    QString Text(ScreenId id, const QString& name) const { return Child<QLabel>(id, name)->text(); }
    void Click(ScreenId id, const QString& name) {
        QTest::mouseClick(Child<QAbstractButton>(id, name), Qt::LeftButton);
    }
    // Every screen's state in the words of the flow table; a loaded screen
    // stands centred on the screen.
    QString Table() const {
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        QStringList states;
        for (int id = 0; id < kScreenCount; ++id) {
            const BaseScreen* s = flow.Find(ScreenId(id));
            QString state = !s                 ? "not loaded"
                            : !s->isVisible()  ? "hidden"
                            : s->isMinimized() ? "minimised"
                                               : "shown";
            if (s && !s->isEnabled()) state += ",disabled";
            const QRect whole = s ? s->frameGeometry() : QRect();  // with its frame
            if (s && (qAbs(2 * whole.x() + whole.width() - area.width()) > 2 ||
                      qAbs(2 * whole.y() + whole.height() - area.height()) > 2))
                state += ",off-centre";
            states << state;
        }
        return states.join(" | ");
    }

    // Start-up and the splash's "CONTINUAR".
    void ToPlayers() {
        flow.Start();
        Click(Splash, "Command1");
        DeleteUnloaded();
    }
    // A click on a file of a player's list; "" picks nothing.
    void Pick(int list, const QString& file) {
        auto* files = Child<QListWidget>(PlayerSelection, QString("File1(%1)").arg(list));
        if (!file.isEmpty()) ClickItem(files, files->findItems(file, Qt::MatchExactly).value(0));
    }
    void Accept(const QString& first, const QString& second = {}) {
        Pick(0, first);
        Pick(1, second);
        Click(PlayerSelection, "Command1");
    }
    // A minute button, then "ACEPTAR".
    void ToGame(int minutes) {
        Click(ExerciseSelection, QString("Command2(%1)").arg(minutes - 1));
        Click(ExerciseSelection, "Command1");
    }

    // The game screen, its sheet driven by real clicks and keys, and its clock.
    GameScreen* Game() const { return static_cast<GameScreen*>(flow.Find(ScreenId::Game)); }
    const GameSession& Session() const { return Game()->Session(); }
    SheetView* View() const { return Child<SheetView>(ScreenId::Game, "Picture1"); }
    QLineEdit* Editor() const { return Child<QLineEdit>(ScreenId::Game, "Text1"); }
    void Inicio() { Click(ScreenId::Game, "Command1"); }
    void ClickRow(int row) {
        QTest::mouseClick(View(), Qt::LeftButton, {}, View()->AnswerBoxRect(row).center());
    }
    // Types into the active box, then a key (Enter by default).
    void Answer(const QString& text, Qt::Key key = Qt::Key_Return) {
        QTest::keyClicks(Editor(), text);
        QTest::keyClick(Editor(), key);
    }
    // The right answer of a row, plus an offset for a wrong one.
    QString Solution(int row, double offset = 0) const {
        const auto& c = Session().Sheet.Rows[row].Cells;
        return QString::fromStdString(
            NumberText(offset + *ExpectedValue(Session().ProblemShape, c[0].Caption, c[1].Caption,
                                               c[2].Caption, c[3].Caption, c[4].Caption)));
    }
    void Ticks(int seconds) {
        for (int i = 0; i < seconds; ++i) Game()->Timer1_Timer();
    }

    QTemporaryDir dir;
    RecordingSoundCues cues;
    ScriptedPrompts prompts;
    std::vector<int> endCodes;
    SqliteHistory history{dir.filePath("historial.sqlite3").toStdString()};
    ScreenFlow flow;
};

// The game screen of a run of Ana (and Luis, whose turn it is when
// secondTurn); the folder holds the six-minute figure only.
struct AtGame : Harness {
    explicit AtGame(int minutes = 1, bool secondTurn = false,
                    const QByteArray& configuration = "AA + B =\nA x B =\n")
        : Harness(configuration) {
        AddUser("Luis.png", 160, 100);
        AddFigure(6);
        ToPlayers();
        Accept("Ana.png", secondTurn ? "Luis.png" : "");
        flow.Settings().SecondPlayerTurn = secondTurn;
        ToGame(minutes);
    }
};

}  // namespace cifrano::testing
