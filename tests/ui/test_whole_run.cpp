// Whole runs through the real screens, with the clock driven by ticks.
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include "app/splash_screen.h"
#include "common/numbers.h"
#include "game/answer_check.h"
#include "game/game_screen.h"
#include "results/results_screen.h"
#include "setup/exercise_selection_screen.h"
#include "setup/player_selection_screen.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

QString StateOf(const ScreenFlow& flow, ScreenId id) {
    BaseScreen* screen = flow.Find(id);
    if (!screen) return QStringLiteral("not loaded");
    QString state = !screen->isVisible() ? "hidden" : screen->isMinimized() ? "minimised" : "shown";
    return screen->isEnabled() ? state : state + ",disabled";
}

QString Table(const ScreenFlow& flow) {
    QStringList states;
    for (ScreenId id : {ScreenId::Splash, ScreenId::PlayerSelection, ScreenId::ExerciseSelection,
                        ScreenId::Game, ScreenId::Results}) {
        states << StateOf(flow, id);
    }
    return states.join(" | ");
}

void Click(QWidget* screen, const QString& name) {
    auto* button = screen->findChild<QPushButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

QString Rate(const char* pointText) {
    return QString::fromLatin1(pointText).replace('.', QLocale::system().decimalPoint());
}

}  // namespace

class WholeRunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFolder> folder_;
    std::unique_ptr<FlowHarness> harness_;

    ScreenFlow& Flow() { return harness_->flow; }

    void Begin(const QString& secondPlayer) {
        folder_ = std::make_unique<AppFolder>("AA + B =\nA x B =\n");
        folder_->AddUser("Ana.png", 80, 100);
        folder_->AddUser("Bea.bmp", 120, 90);
        harness_ = std::make_unique<FlowHarness>(folder_->Path());
        Flow().Start();
        Click(&Flow().Splash(), "Command1");
        ProcessDeferredDeletes();
        for (int i = 0; i < 2; ++i) {
            const QString file = i == 0 ? QStringLiteral("Ana.png") : secondPlayer;
            if (file.isEmpty()) continue;
            QListWidget* list = Flow().PlayerSelection().FileList(i);
            list->setCurrentItem(list->findItems(file, Qt::MatchExactly).value(0));
        }
        Click(&Flow().PlayerSelection(), "Command1");
    }

    // One game from "ACEPTAR" to the time-up: the first rows answered right,
    // then wrong ones, each confirmed with Enter.
    void PlayGame(int operation, int minutes, int hits, int errors, int expectedPicture) {
        ExerciseSelectionScreen& exercise = Flow().ExerciseSelection();
        exercise.OperationList()->setCurrentRow(operation);
        QTest::mouseClick(exercise.MinuteButton(minutes - 1), Qt::LeftButton);
        Click(&exercise, "Command1");
        GameScreen& game = Flow().Game();
        QCOMPARE(game.session().ShownPicture, expectedPicture);
        QVERIFY(game.findChild<QLabel*>(QStringLiteral("Image1(%1)").arg(expectedPicture))
                    ->isVisibleTo(&game));
        QVERIFY(!game.findChild<QLabel*>(QStringLiteral("Image1(%1)").arg(1 - expectedPicture))
                     ->isVisibleTo(&game));
        Click(&game, "Command1");  // "Inicio"
        SheetView* view = game.sheetView();
        QTest::mouseClick(view, Qt::LeftButton, {}, view->AnswerBoxRect(1).center());
        for (int row = 1; row <= hits + errors; ++row) {
            const SheetRow& cells = game.session().Sheet.Rows[row];
            const double expected = *ExpectedValue(game.session().ProblemShape,
                                                   cells.Cells[0].Caption, cells.Cells[1].Caption,
                                                   cells.Cells[2].Caption, cells.Cells[3].Caption,
                                                   cells.Cells[4].Caption);
            const double typed = row <= hits ? expected : expected + 1;
            QTest::keyClicks(game.editor(), QString::fromStdString(NumberText(typed)));
            QTest::keyClick(game.editor(), Qt::Key_Return);
        }
        for (int tick = 0; tick < 60 * minutes; ++tick) game.Timer1_Timer();
        QVERIFY(!game.session().GameOver);
        game.Timer1_Timer();
        QVERIFY(game.session().GameOver);
        QCOMPARE(Table(Flow()).section(" | ", 3), QString("shown | shown"));
        QVERIFY(!Flow().Results().isMinimized());
    }

    // The results screen's "CONTINUAR", then the game screen's, back to the exercise selection.
    void LeaveGame() {
        Click(&Flow().Results(), "Command1");
        QVERIFY(Flow().Game().isVisible());
        Click(&Flow().Game(), "Command1");  // now "CONTINUAR"
        ProcessDeferredDeletes();
        QCOMPARE(Table(Flow()),
                 "not loaded | minimised,disabled | shown | not loaded | minimised");
    }

    void Quit() {
        Flow().Restore(ScreenId::Results);
        harness_->prompts.answer = true;
        Click(&Flow().Results(), "Command2");
        QCOMPARE(harness_->endCodes, std::vector<int>{0});
    }

private slots:
    void cleanup() {
        harness_.reset();
        folder_.reset();
    }

    void singlePlayerRunOfTwoGames() {
        Begin("");
        PlayGame(0, 1, 3, 1, 0);
        QCOMPARE(Lines(Flow().Results().List(0)),
                 QStringList{"1)  3 op/min -{AA + B =}- Err 1"});
        QCOMPARE(Flow().Settings().GameNumber, short(2));
        QVERIFY(!Flow().Settings().SecondPlayerTurn);
        LeaveGame();

        PlayGame(1, 2, 3, 0, 0);
        QCOMPARE(Lines(Flow().Results().List(0)),
                 (QStringList{"1)  3 op/min -{AA + B =}- Err 1",
                              "2)  " + Rate("1.5") + " op/min -{A x B =}- Err 0"}));
        QCOMPARE(Flow().Results().List(1)->count(), 0);
        QCOMPARE(Flow().Settings().GameNumber, short(3));
        LeaveGame();
        Quit();
    }

    void twoPlayerRunOfTwoPairs() {
        Begin("Bea.bmp");
        auto points = [this](int player) {
            return Flow().Results().findChild<QLabel*>(QStringLiteral("Label2(%1)").arg(player))->text();
        };

        PlayGame(0, 1, 2, 0, 0);  // Ana: 2 op/min
        QCOMPARE(Lines(Flow().Results().List(0)), QStringList{"1)  2 op/min -{AA + B =}- Err 0"});
        QCOMPARE(Flow().Results().List(1)->count(), 0);
        QVERIFY(Flow().Settings().SecondPlayerTurn);
        QCOMPARE(Flow().Settings().GameNumber, short(1));
        LeaveGame();

        PlayGame(0, 1, 3, 2, 1);  // Bea: 3 op/min, wins the pair
        QCOMPARE(Lines(Flow().Results().List(1)), QStringList{"1)  3 op/min -{AA + B =}- Err 2"});
        QCOMPARE(points(0), QString("0"));
        QCOMPARE(points(1), QString("1"));
        QVERIFY(!Flow().Settings().SecondPlayerTurn);
        QCOMPARE(Flow().Settings().GameNumber, short(2));
        LeaveGame();

        PlayGame(1, 2, 4, 0, 0);  // Ana: 2 op/min over two minutes
        LeaveGame();
        PlayGame(0, 1, 2, 1, 1);  // Bea: 2 op/min, a tie
        QCOMPARE(Lines(Flow().Results().List(0)),
                 (QStringList{"1)  2 op/min -{AA + B =}- Err 0",
                              "2)  2 op/min -{A x B =}- Err 0"}));
        QCOMPARE(Lines(Flow().Results().List(1)),
                 (QStringList{"1)  3 op/min -{AA + B =}- Err 2",
                              "2)  2 op/min -{AA + B =}- Err 1"}));
        QCOMPARE(points(0), QString("1"));
        QCOMPARE(points(1), QString("2"));
        QCOMPARE(Flow().Settings().GameNumber, short(3));
        LeaveGame();
        Quit();
    }

    // An abandoned game writes nothing; the same player's turn comes again.
    void abandonedGameChangesNothing() {
        Begin("Bea.bmp");
        Click(&Flow().ExerciseSelection(), "Command1");
        Click(&Flow().Game(), "Command1");
        Flow().Game().close();
        ProcessDeferredDeletes();
        QCOMPARE(Table(Flow()), "not loaded | minimised,disabled | shown | not loaded | minimised");
        QCOMPARE(Flow().Results().List(0)->count(), 0);
        QVERIFY(!Flow().Settings().SecondPlayerTurn);
        QCOMPARE(Flow().Settings().GameNumber, short(1));
        PlayGame(0, 1, 1, 0, 0);
        QCOMPARE(Lines(Flow().Results().List(0)), QStringList{"1)  1 op/min -{AA + B =}- Err 0"});
    }
};

QTEST_MAIN(WholeRunTest)
#include "test_whole_run.moc"
