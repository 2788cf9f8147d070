// The game screen's wiring: load, "Inicio", the figure, the clocks, the arrow
// buttons and the counters, driven through the real screen flow.
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>

#include "common/geometry.h"
#include "game/answer_check.h"
#include "game/game_screen.h"
#include "results/results_screen.h"
#include "setup/exercise_selection_screen.h"
#include "setup/player_selection_screen.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

// Player selection accepted (one or two players), the minutes chosen, "ACEPTAR" pressed.
struct GameFixture {
    explicit GameFixture(int minutes, bool twoPlayers = false, bool secondTurn = false) {
        folder.AddUser("Ana.png", 80, 100);
        folder.AddUser("Luis.png", 160, 100);
        const QByteArray source = qgetenv("CIFRANO_SOURCE_DATA");
        QDir().mkpath(folder.Path("gifs"));
        QFile::copy(QString::fromLocal8Bit(source) + "/gifs/6.gif", folder.Path("gifs/6.gif"));
        ScreenFlow& flow = harness.flow;
        flow.Show(ScreenId::PlayerSelection);
        PlayerSelectionScreen& players = flow.PlayerSelection();
        players.FileList(0)->setCurrentRow(0);
        if (twoPlayers) players.FileList(1)->setCurrentRow(1);
        players.Command1_Click();
        ExerciseSelectionScreen& exercise = flow.ExerciseSelection();
        exercise.Command2_Click(minutes - 1);
        flow.Settings().SecondPlayerTurn = secondTurn;
        exercise.Command1_Click();
    }
    GameScreen& screen() { return harness.flow.Game(); }
    template <typename T>
    T* Find(const char* name) {
        return screen().findChild<T*>(QString::fromLatin1(name));
    }
    void Inicio() { QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton); }

    AppFolder folder;
    FlowHarness harness{folder.Path()};
};

}  // namespace

class TestGameScreen : public QObject {
    Q_OBJECT
  private slots:
    void loadPreparesTheGame_data();
    void loadPreparesTheGame();
    void showsThePictureOfThePlayerWhoseTurnItIs_data();
    void showsThePictureOfThePlayerWhoseTurnItIs();
    void inicioBuildsTheSheetAndStartsTheClocks_data();
    void inicioBuildsTheSheetAndStartsTheClocks();
    void brokenFigureFileShowsNothing();
    void operationChangedAfterLoadDoesNotReachTheRows();
    void timersMoveTheFigureAndShowTheClock();
    void arrowButtonsScrollWithoutTakingTheFocus();
    void countersShowTheCounts();
    void timeUpStopsTheGameAndContinuarLeaves();
    void closingDuringAGameStopsItsClocks();
};

void TestGameScreen::loadPreparesTheGame_data() {
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("problems");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("gifStep");
    QTest::newRow("1 minute") << 1 << 100 << 60 << 32;
    QTest::newRow("6 minutes") << 6 << 600 << 360 << 5;
}

void TestGameScreen::loadPreparesTheGame() {
    QFETCH(int, minutes);
    QFETCH(int, problems);
    QFETCH(int, seconds);
    QFETCH(int, gifStep);
    GameFixture game(minutes);
    const GameSession& session = game.screen().session();
    QCOMPARE(session.ProblemCount, problems);
    QCOMPARE(session.SecondsLeft, seconds);
    QCOMPARE(session.GifStep, gifStep);
    QCOMPARE(game.Find<QLabel>("Label8(0)")->text(), QStringLiteral("%1 min").arg(minutes));
    QCOMPARE(game.Find<QLabel>("Label10(0)")->text(), QStringLiteral("Aciertos"));
    QCOMPARE(game.Find<QLabel>("Label10(1)")->text(), QStringLiteral("Errores"));
    QPushButton* start = game.Find<QPushButton>("Command1");
    QVERIFY(start->isVisible());
    QCOMPARE(start->text(), QStringLiteral("Inicio"));
    QVERIFY(!game.Find<QTimer>("Timer1")->isActive());
    QVERIFY(!game.Find<QTimer>("Timer2")->isActive());
    QVERIFY(!game.Find<QLabel>("Gif89a1")->isVisible());
    QCOMPARE(session.Sheet.LastRow(), 0);  // only the template row before "Inicio"
    QVERIFY(game.screen().isVisible());
}

void TestGameScreen::showsThePictureOfThePlayerWhoseTurnItIs_data() {
    QTest::addColumn<bool>("secondTurn");
    QTest::newRow("player 1") << false;
    QTest::newRow("player 2") << true;
}

void TestGameScreen::showsThePictureOfThePlayerWhoseTurnItIs() {
    QFETCH(bool, secondTurn);
    GameFixture game(1, true, secondTurn);
    PictureBox* first = game.Find<PictureBox>("Image1(0)");
    PictureBox* second = game.Find<PictureBox>("Image1(1)");
    QCOMPARE(first->isVisible(), !secondTurn);
    QCOMPARE(second->isVisible(), secondTurn);
    // Both scaled to 1095 twips high: 80 x 100 and 160 x 100 pixels.
    QCOMPARE(first->size(), QSize(TwipsToPixels(1200 * 1095 / 1500), TwipsToPixels(1095)));
    QCOMPARE(second->size(), QSize(TwipsToPixels(2400 * 1095 / 1500), TwipsToPixels(1095)));
}

void TestGameScreen::inicioBuildsTheSheetAndStartsTheClocks_data() {
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("height");
    QTest::newRow("1 minute") << 1 << 66765;
    QTest::newRow("6 minutes") << 6 << 600 + 650 * 600 + 615 + 550;
}

void TestGameScreen::inicioBuildsTheSheetAndStartsTheClocks() {
    QFETCH(int, minutes);
    QFETCH(int, height);
    GameFixture game(minutes);
    game.Inicio();
    const GameSession& session = game.screen().session();
    QVERIFY(!game.Find<QPushButton>("Command1")->isVisible());
    QVERIFY(game.Find<QTimer>("Timer1")->isActive());
    QVERIFY(game.Find<QTimer>("Timer2")->isActive());
    QCOMPARE(session.Sheet.LastRow(), minutes * 100);
    QCOMPARE(session.Sheet.Height, height);
    QCOMPARE(game.harness.cues.Count(SoundCue::Adelante), 1);
    QLabel* figure = game.Find<QLabel>("Gif89a1");
    QVERIFY(figure->isVisible());
    QCOMPARE(figure->geometry(), TwipsRect(0, 6600, 1215, 1215));
    QVERIFY(game.screen().figureMovie()->fileName().endsWith(
        QStringLiteral("/gifs/%1.gif").arg(minutes)));
    if (minutes == 6 && QFile::exists(game.folder.Path("gifs/6.gif"))) {
        QVERIFY(game.screen().figureMovie()->isValid());
        QCOMPARE(figure->movie(), game.screen().figureMovie());
    }
    QVERIFY(!game.screen().editor()->isVisible());  // no box takes the focus by itself
}

void TestGameScreen::brokenFigureFileShowsNothing() {
    GameFixture game(3);
    WriteFile(game.folder.Path("gifs/3.gif"), "GIF89a not really");
    game.Inicio();
    QLabel* figure = game.Find<QLabel>("Gif89a1");
    QVERIFY(!game.screen().figureMovie()->isValid());
    QVERIFY(figure->movie() == nullptr);
    QVERIFY(game.Find<QTimer>("Timer1")->isActive());  // the game goes on
}

void TestGameScreen::operationChangedAfterLoadDoesNotReachTheRows() {
    GameFixture game(1);
    // The list changes to "A x B =" behind the game screen.
    game.harness.flow.ExerciseSelection().OperationList()->setCurrentRow(1);
    QCOMPARE(game.harness.flow.Settings().OperationFields[1], std::string("x"));
    game.Inicio();
    const ProblemSheet& sheet = game.screen().session().Sheet;
    for (int row = 0; row <= sheet.LastRow(); ++row)
        QCOMPARE(sheet.Rows[row].Cells[1].Caption, std::string("+"));
    QCOMPARE(game.screen().session().OperationText, std::string("AA + B ="));
}

void TestGameScreen::timersMoveTheFigureAndShowTheClock() {
    GameFixture game(1);
    game.Inicio();
    GameScreen& screen = game.screen();
    screen.Timer2_Timer();
    screen.Timer2_Timer();
    QCOMPARE(game.Find<QLabel>("Gif89a1")->pos(), QPoint(TwipsToPixels(64), TwipsToPixels(6600)));
    screen.Timer1_Timer();
    QCOMPARE(game.Find<QLabel>("Label8(1)")->text(), QStringLiteral("1 : 0"));
    screen.Timer1_Timer();
    QCOMPARE(game.Find<QLabel>("Label8(1)")->text(), QStringLiteral("0 : 59"));
}

void TestGameScreen::arrowButtonsScrollWithoutTakingTheFocus() {
    GameFixture game(1);
    game.Inicio();
    GameScreen& screen = game.screen();
    SheetView* view = screen.sheetView();
    QTest::mouseClick(view, Qt::LeftButton, {}, view->AnswerBoxRect(2).center());
    const QRect before = view->AnswerBoxRect(2);
    QTest::mouseClick(game.Find<QPushButton>("Command2(1)"), Qt::LeftButton);
    QTest::mouseClick(game.Find<QPushButton>("Command2(1)"), Qt::LeftButton);
    QTest::mouseClick(game.Find<QPushButton>("Command2(0)"), Qt::LeftButton);
    QCOMPARE(screen.session().Sheet.Top, -650);
    QCOMPARE(screen.session().CurrentRow, 2);
    QCOMPARE(game.harness.cues.Count(SoundCue::ArribaAbajo), 3);
    // The editor travels with its row and keeps the focus.
    QCOMPARE(screen.editor()->geometry(), view->AnswerBoxRect(2));
    QVERIFY(qAbs(before.top() - TwipsToPixels(650) - view->AnswerBoxRect(2).top()) <= 1);
    QCOMPARE(screen.focusWidget(), screen.editor());
}

void TestGameScreen::countersShowTheCounts() {
    GameFixture game(1);
    game.Inicio();
    GameScreen& screen = game.screen();
    const ProblemSheet& sheet = screen.session().Sheet;
    SheetView* view = screen.sheetView();
    QTest::mouseClick(view, Qt::LeftButton, {}, view->AnswerBoxRect(1).center());
    const SheetRow& row = sheet.Rows[1];
    const double right =
        *ExpectedValue(screen.session().ProblemShape, row.Cells[0].Caption, row.Cells[1].Caption,
                       row.Cells[2].Caption, row.Cells[3].Caption, row.Cells[4].Caption);
    QTest::keyClicks(screen.editor(), QString::number(static_cast<long long>(right)));
    QTest::keyClick(screen.editor(), Qt::Key_Return);
    QTest::keyClicks(screen.editor(), "0");
    QTest::keyClick(screen.editor(), Qt::Key_Return);
    QTest::keyClicks(screen.editor(), "1");
    QTest::keyClick(screen.editor(), Qt::Key_Down);
    QCOMPARE(game.Find<QLabel>("Label9(0)")->text(), QStringLiteral("1"));
    QCOMPARE(game.Find<QLabel>("Label9(1)")->text(), QStringLiteral("2"));
}

void TestGameScreen::timeUpStopsTheGameAndContinuarLeaves() {
    GameFixture game(1);
    game.Inicio();
    QPointer<GameScreen> screen = &game.screen();
    SheetView* view = screen->sheetView();
    QTest::mouseClick(view, Qt::LeftButton, {}, view->AnswerBoxRect(1).center());
    for (int tick = 0; tick < 61; ++tick) screen->Timer1_Timer();
    QPushButton* button = game.Find<QPushButton>("Command1");
    QVERIFY(button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("CONTINUAR"));
    QVERIFY(!game.Find<QTimer>("Timer1")->isActive());
    QVERIFY(!game.Find<QTimer>("Timer2")->isActive());
    QVERIFY(!game.Find<QLabel>("Gif89a1")->isVisible());
    QCOMPARE(game.Find<QLabel>("Label8(1)")->text(), QStringLiteral("0 : 0"));
    QVERIFY(!view->isEnabled());
    QTest::keyClicks(screen->editor(), "9");
    QCOMPARE(screen->editor()->text(), QString());  // no input after the end
    QVERIFY(game.harness.flow.IsLoaded(ScreenId::Results));
    QCOMPARE(game.harness.flow.Settings().GameNumber, short(2));
    // The line reaches the results screen; the empty active box counted nothing.
    QListWidget* results = game.harness.flow.Results().List(0);
    QCOMPARE(results->count(), 1);
    QCOMPARE(results->item(0)->text(), QStringLiteral("1)  0 op/min -{AA + B =}- Err 0"));

    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!game.harness.flow.IsLoaded(ScreenId::Game));
    QVERIFY(game.harness.flow.Find(ScreenId::Results)->isMinimized());
    ProcessDeferredDeletes();
    QVERIFY(screen.isNull());
}

void TestGameScreen::closingDuringAGameStopsItsClocks() {
    GameFixture game(2);
    game.Inicio();
    GameScreen& screen = game.screen();
    QPointer<QTimer> clock = screen.timer1();
    game.harness.flow.CloseRequested(ScreenId::Game);
    QVERIFY(clock && !clock->isActive());
    QVERIFY(!screen.timer2()->isActive());
    // A tick already queued finds nothing to end: no results line, no turn change.
    screen.Timer1_Timer();
    QCOMPARE(game.harness.flow.Settings().GameNumber, short(1));
    QVERIFY(game.harness.flow.Find(ScreenId::Results)->isMinimized());
    ProcessDeferredDeletes();
    QVERIFY(clock.isNull());
}

QTEST_MAIN(TestGameScreen)
#include "test_game_screen.moc"
