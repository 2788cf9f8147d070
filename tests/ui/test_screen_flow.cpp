#include <QListWidget>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "common/geometry.h"

#include "app/splash_screen.h"
#include "game/game_screen.h"
#include "results/results_screen.h"
#include "setup/exercise_selection_screen.h"
#include "setup/player_selection_screen.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

// How a screen stands, in the words of the flow table.
QString StateOf(const ScreenFlow& flow, ScreenId id) {
    BaseScreen* screen = flow.Find(id);
    if (!screen) return QStringLiteral("not loaded");
    QStringList parts;
    if (!screen->isVisible()) parts << "hidden";
    else if (screen->isMinimized()) parts << "minimised";
    else parts << "shown";
    if (!screen->isEnabled()) parts << "disabled";
    return parts.join(',');
}

QString Table(const ScreenFlow& flow) {
    QStringList states;
    for (ScreenId id : {ScreenId::Splash, ScreenId::PlayerSelection, ScreenId::ExerciseSelection,
                        ScreenId::Game, ScreenId::Results}) {
        states << StateOf(flow, id);
    }
    return states.join(" | ");
}

void Pick(ScreenFlow& flow, int list, const QString& file) {
    QListWidget* files = flow.PlayerSelection().FileList(list);
    const auto found = files->findItems(file, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    files->setCurrentItem(found.first());
}

void Click(QWidget* screen, const char* name) {
    auto* button = screen->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

class ScreenFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFolder> folder_;
    std::unique_ptr<FlowHarness> harness_;

    ScreenFlow& Flow() { return harness_->flow; }

    void ToPlayerSelection() {
        Flow().Start();
        Click(&Flow().Splash(), "Command1");
        ProcessDeferredDeletes();
    }
    void ToExerciseSelection() {
        ToPlayerSelection();
        Pick(Flow(), 0, "Ana.png");
        Click(&Flow().PlayerSelection(), "Command1");
    }

private slots:
    void init() {
        folder_ = std::make_unique<AppFolder>();
        folder_->AddUser("Ana.png");
        folder_->AddUser("Bea.gif");
        harness_ = std::make_unique<FlowHarness>(folder_->Path());
    }
    void cleanup() {
        harness_.reset();
        folder_.reset();
    }

    void settingsStartZeroInitialised() {
        const GameSettings settings;
        for (const std::string& field : settings.OperationFields) QVERIFY(field.empty());
        QCOMPARE(settings.GameMinutes, short(0));
        QCOMPARE(settings.SecondPlayerTurn, false);
        QCOMPARE(settings.GameNumber, short(0));
        QCOMPARE(settings.FirstPlayerRate, 0.0);
    }

    void flowTableStepByStep() {
        Flow().Start();
        QCOMPARE(Table(Flow()),
                 "shown | not loaded | not loaded | not loaded | not loaded");
        QCOMPARE(Flow().Settings().GameNumber, short(0));  // the splash writes no setting

        Click(&Flow().Splash(), "Command1");
        ProcessDeferredDeletes();
        QCOMPARE(Table(Flow()), "not loaded | shown | not loaded | not loaded | not loaded");
        QCOMPARE(Flow().Settings().GameNumber, short(1));
        QCOMPARE(Flow().Settings().GameMinutes, short(0));
        QCOMPARE(harness_->cues.played, std::vector<SoundCue>{SoundCue::Continuar});

        Pick(Flow(), 0, "Ana.png");
        Click(&Flow().PlayerSelection(), "Command1");
        QCOMPARE(Table(Flow()),
                 "not loaded | minimised,disabled | shown | not loaded | not loaded");
        QCOMPARE(Flow().Settings().GameMinutes, short(1));
        QCOMPARE(Flow().Settings().OperationFields[0], std::string("AA"));
        QCOMPARE(harness_->cues.played,
                 (std::vector<SoundCue>{SoundCue::Continuar, SoundCue::Continuar, SoundCue::List}));

        Click(&Flow().ExerciseSelection(), "Command1");
        QCOMPARE(Table(Flow()), "not loaded | minimised,disabled | shown | shown | not loaded");

        // "ACEPTAR" again while the game screen is open brings it forward, no new load.
        BaseScreen* game = Flow().Find(ScreenId::Game);
        Click(&Flow().ExerciseSelection(), "Command1");
        QCOMPARE(Flow().Find(ScreenId::Game), game);

        // Leaving the game screen by its close box: the results screen is loaded minimised.
        game->close();
        ProcessDeferredDeletes();
        QCOMPARE(Table(Flow()),
                 "not loaded | minimised,disabled | shown | not loaded | minimised");
        QCOMPARE(Flow().Settings().GameNumber, short(1));
        QCOMPARE(Flow().Settings().SecondPlayerTurn, false);
        QVERIFY(!harness_->Ended());

        // The next reference loads a fresh game screen.
        Click(&Flow().ExerciseSelection(), "Command1");
        QVERIFY(Flow().Find(ScreenId::Game));
        QVERIFY(Flow().Find(ScreenId::Game) != game);
    }

    void failedCheckLoadsNothing() {
        ToPlayerSelection();
        Click(&Flow().PlayerSelection(), "Command1");
        QCOMPARE(Table(Flow()), "not loaded | shown | not loaded | not loaded | not loaded");
        QCOMPARE(harness_->prompts.messages,
                 std::vector<std::string>{"Has de seleccionar el jugador 1"});
        QCOMPARE(harness_->cues.played, std::vector<SoundCue>{SoundCue::Continuar});
    }

    void endings_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("ends");
        QTest::newRow("closing the splash") << "splash" << true;
        QTest::newRow("closing the player selection before acceptance") << "players" << true;
        QTest::newRow("closing the exercise selection") << "exercise" << true;
        QTest::newRow("closing the exercise selection mid-game") << "exercise-in-game" << true;
        QTest::newRow("SALIR and Yes") << "salir-yes" << true;
        QTest::newRow("SALIR and No") << "salir-no" << false;
        QTest::newRow("closing the results screen") << "results" << false;
        QTest::newRow("closing the game screen") << "game" << false;
    }
    void endings() {
        QFETCH(QString, how);
        QFETCH(bool, ends);
        if (how == "splash") {
            Flow().Start();
            Flow().Splash().close();
        } else if (how == "players") {
            ToPlayerSelection();
            Flow().PlayerSelection().close();
        } else if (how.startsWith("exercise")) {
            ToExerciseSelection();
            if (how == "exercise-in-game") Click(&Flow().ExerciseSelection(), "Command1");
            Flow().ExerciseSelection().close();
        } else if (how.startsWith("salir")) {
            ToExerciseSelection();
            harness_->prompts.answer = (how == "salir-yes");
            Click(&Flow().Results(), "Command2");
            QCOMPARE(harness_->prompts.questions,
                     std::vector<std::string>{"¿Quieres salir del programa?"});
        } else if (how == "results") {
            ToExerciseSelection();
            Flow().Results().close();
            QVERIFY(Flow().IsLoaded(ScreenId::Results));
            QVERIFY(Flow().Results().isMinimized());
        } else if (how == "game") {
            ToExerciseSelection();
            Click(&Flow().ExerciseSelection(), "Command1");
            Flow().Game().close();
        }
        QCOMPARE(harness_->Ended(), ends);
        if (ends) {
            QCOMPARE(harness_->endCodes, std::vector<int>{0});
            for (ScreenId id : {ScreenId::Splash, ScreenId::PlayerSelection,
                                ScreenId::ExerciseSelection, ScreenId::Game, ScreenId::Results}) {
                if (BaseScreen* screen = Flow().Find(id)) QVERIFY(!screen->isVisible());
            }
        }
    }

    void playerSelectionStaysAfterAcceptance() {
        ToExerciseSelection();
        Flow().PlayerSelection().close();  // disabled and minimised: nothing happens
        QVERIFY(!harness_->Ended());
        QVERIFY(Flow().IsLoaded(ScreenId::PlayerSelection));
    }

    void everyScreenHasItsDesign_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QColor>("background");
        QTest::newRow("Form4") << int(ScreenId::Splash) << ApplicationTitle() << QSize(461, 423)
                               << QColor(255, 224, 192);
        QTest::newRow("Form5") << int(ScreenId::PlayerSelection) << "Selección de jugadores"
                               << QSize(496, 387) << QColor(255, 224, 192);
        QTest::newRow("Form1") << int(ScreenId::ExerciseSelection) << ApplicationTitle()
                               << QSize(595, 433) << QColor(255, 255, 255);
        QTest::newRow("Form2") << int(ScreenId::Game) << "" << QSize(623, 522)
                               << QColor(255, 255, 255);
        QTest::newRow("Form3") << int(ScreenId::Results) << "Resultados" << QSize(555, 427)
                               << QColor(255, 255, 128);
    }
    void everyScreenHasItsDesign() {
        QFETCH(int, screen);
        QFETCH(QString, title);
        QFETCH(QSize, client);
        QFETCH(QColor, background);
        ToExerciseSelection();
        BaseScreen& form = Flow().Screen(static_cast<ScreenId>(screen));
        QCOMPARE(form.objectName(), QString::fromLatin1(DesignedName(form.Id())));
        QCOMPARE(form.windowTitle(), title);
        QCOMPARE(form.size(), client);
        QCOMPARE(form.palette().color(QPalette::Window), background);
        QVERIFY(title.isEmpty() || !title.startsWith("Cifrano") ||
                title.startsWith("Cifrano 1.1 - "));
    }

    void screensAreCentredAtLoad() {
        Flow().Start();
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        BaseScreen& splash = Flow().Splash();
        const int expectedLeft =
            TwipsToPixels(static_cast<int>(CentredPosition(PixelsToTwips(area.width()),
                                                           PixelsToTwips(splash.width()))));
        QCOMPARE(splash.pos().x(), area.x() + expectedLeft);
    }
};

QTEST_MAIN(ScreenFlowTest)
#include "test_screen_flow.moc"
