// What assistive technology and the keyboard reach: the painted sheet read row
// by row through Qt's accessibility interfaces, the events that announce a new
// problem, the windows' names, Enter on a focused button, and the focus with
// which the exercise selection opens.
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/splash_screen.h"
#include "common/message_box_view.h"
#include "game/game_screen.h"
#include "game/sheet_accessible_view.h"
#include "results/results_screen.h"
#include "setup/exercise_selection_screen.h"
#include "setup/operation_types.h"
#include "setup/player_selection_screen.h"
#include "recorded_steps.h"
#include "test_main.h"

using namespace cifrano;

namespace {

class SilentCues : public SoundCues {
  public:
    void Play(SoundCue) override {}
};

class NoPrompts : public Prompts {
  public:
    void Inform(const std::string&) override {}
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return false;
    }
    std::vector<std::string> questions;
};


// Every accessibility event, as its type and the name of what it is about.
struct SeenEvent {
    QAccessible::Event type;
    QString name;
    QObject* object;
};
std::vector<SeenEvent> seenEvents;
void RecordEvent(QAccessibleEvent* event) {
    QAccessibleInterface* iface = event->accessibleInterface();
    seenEvents.push_back(
        {event->type(), iface ? iface->text(QAccessible::Name) : QString(), event->object()});
}

// One of each screen over a temporary application folder.
struct Screens {
    Screens() {
        QFile configuration(dir.filePath("configuracion.txt"));
        configuration.open(QIODevice::WriteOnly);
        configuration.write("AA + B =\nA x B =\n");
        configuration.close();
        QDir(dir.path()).mkpath("usuarios");
        settings.OperationFields = SplitOperationType("AA + B =");
        settings.GameMinutes = 1;
    }
    template <typename T>
    std::unique_ptr<T> Shown(std::unique_ptr<T> screen) {
        screen->Load();
        screen->show();
        QApplication::setActiveWindow(screen.get());
        return screen;
    }
    std::unique_ptr<BaseScreen> Make(ScreenId id) {
        switch (id) {
            case ScreenId::Splash:
                return Shown(std::make_unique<SplashScreen>(steps, cues));
            case ScreenId::PlayerSelection:
                return Shown(std::make_unique<PlayerSelectionScreen>(steps, cues, prompts, settings,
                                                                     dir.filePath("usuarios")));
            case ScreenId::ExerciseSelection:
                return Shown(std::make_unique<ExerciseSelectionScreen>(
                    steps, cues, settings, dir.filePath("configuracion.txt"), PlayerPictures{}));
            case ScreenId::Game:
                return Shown(std::make_unique<GameScreen>(
                    steps, cues, settings, "AA + B =", PlayerPictures{}, 7, dir.path()));
            case ScreenId::Results:
                return Shown(std::make_unique<ResultsScreen>(steps, cues, prompts, settings,
                                                             ChosenPlayers{}, PlayerPictures{}));
        }
        return nullptr;
    }

    QTemporaryDir dir;
    RecordedSteps steps;
    SilentCues cues;
    NoPrompts prompts;
    GameSettings settings;
};

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString Name(QAccessibleInterface* iface) {
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

// Row r of the game's sheet as the player reads it: "1-  12 + 7 =".
QString Problem(const GameScreen& game, int row) {
    const auto& c = game.Session().Sheet.Rows[row].Cells;
    return QStringLiteral("%1-  %2 + %3 =")
        .arg(row)
        .arg(QString::fromStdString(c[0].Caption), QString::fromStdString(c[2].Caption));
}

int Sum(const GameScreen& game, int row) {
    const auto& c = game.Session().Sheet.Rows[row].Cells;
    return std::stoi(c[0].Caption) + std::stoi(c[2].Caption);
}

// The sheet's children by name: the rows in view, then the answer box.
QStringList ChildNames(QAccessibleInterface* sheet) {
    QStringList names;
    for (int i = 0; i < sheet->childCount(); ++i) names << Name(sheet->child(i));
    return names;
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

  private slots:
    // The offscreen platform has no accessibility bridge, and Qt drops events
    // without one: the sheet's events are watched where it sends them.
    void init() {
        SetSheetEventSpy(RecordEvent);
        seenEvents.clear();
    }
    void cleanup() { SetSheetEventSpy(nullptr); }

    void windowsAreNamed_data() {
        QTest::addColumn<ScreenId>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        const QString application = "Cifrano 1.1 - cifrano@example.org";
        QTest::newRow("splash") << ScreenId::Splash << application << application;
        QTest::newRow("players") << ScreenId::PlayerSelection << "Selección de jugadores"
                                 << "Selección de jugadores";
        QTest::newRow("exercise") << ScreenId::ExerciseSelection << application << application;
        // The game's title bar stays empty; it is still a named window.
        QTest::newRow("game") << ScreenId::Game << "Partida"
                              << "";
        QTest::newRow("results") << ScreenId::Results << "Resultados"
                                 << "Resultados";
    }
    void windowsAreNamed() {
        QFETCH(ScreenId, id);
        QFETCH(QString, name);
        QFETCH(QString, title);
        Screens screens;
        const auto screen = screens.Make(id);
        QAccessibleInterface* window = Accessible(screen.get());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(Name(window), name);
        QCOMPARE(screen->windowTitle(), title);
        screen->showMinimized();
        QCOMPARE(Name(window), name);  // a minimised window keeps its name
        // The application lists the window among its children.
        QAccessibleInterface* application = Accessible(qApp);
        bool listed = false;
        for (int i = 0; i < application->childCount(); ++i)
            listed = listed || application->child(i) == window;
        QVERIFY(listed);
    }

    // Before "Inicio" the sheet reads the operation type; then one item per row in view.
    void sheetReadsItsRows() {
        Screens screens;
        const auto screen = screens.Make(ScreenId::Game);
        auto& game = static_cast<GameScreen&>(*screen);
        QAccessibleInterface* sheet = Accessible(game.findChild<QWidget*>("Picture1"));
        QCOMPARE(sheet->role(), QAccessible::List);
        QCOMPARE(Name(sheet), QString("Hoja de problemas"));
        QCOMPARE(ChildNames(sheet), QStringList({"Tipo de operación: AA + B =", ""}));

        game.Command1_Click();
        const QStringList names = ChildNames(sheet);
        QCOMPARE(names.first(), QString("Tipo de operación: AA + B ="));
        QCOMPARE(names.at(1), Problem(game, 1) + ", sin contestar");
        QVERIFY(names.size() > 5);
        for (int i = 0; i < sheet->childCount(); ++i) {
            QAccessibleInterface* child = sheet->child(i);
            QCOMPARE(sheet->indexOfChild(child), i);
            QCOMPARE(child->parent(), sheet);
            if (child->role() == QAccessible::ListItem) QVERIFY(!child->state().invisible);
        }
        // A point on a row finds that row's item.
        QAccessibleInterface* second = sheet->child(2);
        QCOMPARE(sheet->childAt(second->rect().left() + 2, second->rect().center().y()), second);
    }

    // A hit and an error: the row's name and state, the box's label, the focus event.
    void answeredRowIsReadWithItsState_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("state");
        QTest::newRow("hit") << 0 << "acierto";
        QTest::newRow("error") << 1 << "error";
    }
    void answeredRowIsReadWithItsState() {
        QFETCH(int, offset);
        QFETCH(QString, state);
        Screens screens;
        const auto screen = screens.Make(ScreenId::Game);
        auto& game = static_cast<GameScreen&>(*screen);
        auto* view = game.findChild<SheetView*>("Picture1");
        QLineEdit* box = view->Editor();
        game.Command1_Click();
        QAccessibleInterface* sheet = Accessible(view);
        QAccessibleInterface* row1 = sheet->child(1);
        QCOMPARE(row1->role(), QAccessible::ListItem);
        QCOMPARE(row1->text(QAccessible::Description), QString("sin contestar"));

        QTest::mouseClick(view, Qt::LeftButton, {}, view->AnswerBoxRect(1).center());
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(Name(Accessible(box)), Problem(game, 1));
        QVERIFY(row1->state().selected);
        const QString answer = QString::number(Sum(game, 1) + offset);
        QTest::keyClicks(box, answer);
        QCOMPARE(Name(row1), Problem(game, 1) + " " + answer + ", sin comprobar");

        seenEvents.clear();
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(Name(row1), Problem(game, 1) + " " + answer + ", " + state);
        QCOMPARE(row1->text(QAccessible::Description), state);
        QVERIFY(!row1->state().selected);
        // The judged row tells of its new state...
        const auto named = std::find_if(seenEvents.begin(), seenEvents.end(), [&](const auto& e) {
            return e.type == QAccessible::NameChanged && e.name == Name(row1);
        });
        QVERIFY(named != seenEvents.end());
        // ...and the box, now on row 2, is announced as a new focus with its problem.
        QCOMPARE(QApplication::focusWidget(), box);
        const auto focus = std::find_if(seenEvents.begin(), seenEvents.end(),
                                        [](const auto& e) { return e.type == QAccessible::Focus; });
        QVERIFY(focus != seenEvents.end());
        QCOMPARE(focus->object, box);
        QCOMPARE(focus->name, Problem(game, 2));
        QVERIFY(sheet->child(2)->state().selected);
    }

    // Pressing a row through assistive technology is clicking its answer box.
    void pressingARowOpensItsBox() {
        Screens screens;
        const auto screen = screens.Make(ScreenId::Game);
        auto& game = static_cast<GameScreen&>(*screen);
        auto* view = game.findChild<SheetView*>("Picture1");
        QAccessibleInterface* sheet = Accessible(view);
        QVERIFY(sheet->child(0)->actionInterface()->actionNames().isEmpty());  // the template
        game.Command1_Click();
        QAccessibleActionInterface* press = sheet->child(3)->actionInterface();
        QCOMPARE(press->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        press->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(view->EditorRow(), 3);
        QCOMPARE(QApplication::focusWidget(), view->Editor());
        QCOMPARE(Name(Accessible(view->Editor())), Problem(game, 3));
    }

    // The arrows move other rows into view: the sheet says its children changed.
    void scrollingReordersTheRows() {
        Screens screens;
        const auto screen = screens.Make(ScreenId::Game);
        auto& game = static_cast<GameScreen&>(*screen);
        game.Command1_Click();
        QAccessibleInterface* sheet = Accessible(game.findChild<QWidget*>("Picture1"));
        const QString firstBefore = Name(sheet->child(0));
        seenEvents.clear();
        game.Command2_Click(1);  // two rows up: the template row leaves the window
        game.Command2_Click(1);
        QVERIFY(std::any_of(seenEvents.begin(), seenEvents.end(),
                            [](const auto& e) { return e.type == QAccessible::ObjectReorder; }));
        QCOMPARE(Name(sheet->child(0)), Problem(game, 1) + ", sin contestar");
        QVERIFY(firstBefore != Name(sheet->child(0)));
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<ScreenId>("id");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("step");
        QTest::newRow("splash, Return")
            << ScreenId::Splash << "Command1" << int(Qt::Key_Return) << "SplashContinued";
        QTest::newRow("splash, keypad Enter")
            << ScreenId::Splash << "Command1" << int(Qt::Key_Enter) << "SplashContinued";
        QTest::newRow("exercise, ACEPTAR") << ScreenId::ExerciseSelection << "Command1"
                                           << int(Qt::Key_Return) << "ExerciseAccepted";
        QTest::newRow("exercise, minute 3")
            << ScreenId::ExerciseSelection << "Command2(2)" << int(Qt::Key_Enter) << "3 minutes";
        QTest::newRow("results, CONTINUAR")
            << ScreenId::Results << "Command1" << int(Qt::Key_Return) << "ResultsContinued";
        QTest::newRow("results, SALIR")
            << ScreenId::Results << "Command2" << int(Qt::Key_Enter) << "asked";
        QTest::newRow("game, Inicio")
            << ScreenId::Game << "Command1" << int(Qt::Key_Return) << "started";
    }
    void enterPressesTheFocusedButton() {
        QFETCH(ScreenId, id);
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(QString, step);
        Screens screens;
        const auto screen = screens.Make(id);
        auto* pressed = screen->findChild<QPushButton*>(button);
        pressed->setFocus();
        QCOMPARE(QApplication::focusWidget(), pressed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        if (step == "3 minutes")
            QCOMPARE(screens.settings.GameMinutes, short(3));
        else if (step == "asked")
            QCOMPARE(screens.prompts.questions.size(), std::size_t(1));
        else if (step == "started")
            QCOMPARE(static_cast<GameScreen&>(*screen).Session().State(), GameState::Playing);
        else
            QCOMPARE(screens.steps.steps, QStringList{step});
    }

    // Enter in the answer box keeps its meaning: it checks and moves on, nothing else.
    void enterInTheAnswerBoxChecks() {
        Screens screens;
        const auto screen = screens.Make(ScreenId::Game);
        auto& game = static_cast<GameScreen&>(*screen);
        auto* view = game.findChild<SheetView*>("Picture1");
        game.Command1_Click();
        QTest::mouseClick(view, Qt::LeftButton, {}, view->AnswerBoxRect(1).center());
        QTest::keyClicks(view->Editor(), QString::number(Sum(game, 1)));
        QTest::keyClick(view->Editor(), Qt::Key_Enter);
        QCOMPARE(game.Session().HitCount, 1);
        QCOMPARE(view->EditorRow(), 2);
        QVERIFY(screens.steps.steps.isEmpty());
    }

    // The quit question answers Yes to Enter, whichever button is focused first.
    void quitQuestionDefaultsToYes() {
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        MessageBoxPrompts prompts;
        QVERIFY(prompts.AskYesNo("¿Quieres salir del programa?"));
    }

    // ACEPTAR, first in the tab order, holds the focus as the screen opens.
    void exerciseSelectionOpensOnAccept_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("Space accepts") << int(Qt::Key_Space) << QStringList{"ExerciseAccepted"};
        QTest::newRow("Return accepts") << int(Qt::Key_Return) << QStringList{"ExerciseAccepted"};
        QTest::newRow("Down leaves the type") << int(Qt::Key_Down) << QStringList{};
    }
    void exerciseSelectionOpensOnAccept() {
        QFETCH(int, key);
        QFETCH(QStringList, steps);
        Screens screens;
        const auto screen = screens.Make(ScreenId::ExerciseSelection);
        QCOMPARE(QApplication::focusWidget(), screen->findChild<QPushButton*>("Command1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(screens.steps.steps, steps);
        QCOMPARE(screen->findChild<QListWidget*>("List1")->currentRow(), 0);
    }
};

CIFRANO_TEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
