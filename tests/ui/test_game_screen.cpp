// The game screen's wiring: load, "Inicio", the figure and the clocks, driven
// through the real screen flow (time-up and closing: test_whole_run.cpp).
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class TestGameScreen : public QObject {
    Q_OBJECT

  private slots:
    void loadThenInicio_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("gifStep");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("secondTurn");
        QTest::newRow("1 minute, player 1") << 1 << 32 << 66765 << false;
        QTest::newRow("6 minutes, player 2") << 6 << 5 << 600 + 650 * 600 + 615 + 550 << true;
    }
    void loadThenInicio() {
        QFETCH(int, minutes);
        QFETCH(int, gifStep);
        QFETCH(int, height);
        QFETCH(bool, secondTurn);
        Game game(minutes, secondTurn);
        GameSession& session = game.session();
        QCOMPARE(QList<int>({session.ProblemCount, session.SecondsLeft, session.GifStep}),
                 QList<int>({100 * minutes, 60 * minutes, gifStep}));
        QCOMPARE(game.Find("Label8(0)")->text(), QString("%1 min").arg(minutes));
        QCOMPARE(session.Sheet.LastRow(), 0);  // only the template row before "Inicio"
        QVERIFY(!game.screen().timer1()->isActive() && !game.screen().timer2()->isActive());
        // Only the picture of the player whose turn it is, 1095 twips high.
        QLabel* picture = game.Find(QString("Image1(%1)").arg(int(secondTurn)));
        QVERIFY(picture->isVisible());
        QVERIFY(!game.Find(QString("Image1(%1)").arg(!secondTurn))->isVisible());
        const int width = (secondTurn ? 2400 : 1200) * 1095 / 1500;  // 160 or 80 pixels for 100
        QCOMPARE(picture->size(), QSize(TwipsToPixels(width), TwipsToPixels(1095)));
        game.Inicio();
        QVERIFY(!game.Find<QPushButton>("Command1")->isVisible());
        QVERIFY(game.screen().timer1()->isActive() && game.screen().timer2()->isActive());
        QCOMPARE(session.Sheet.LastRow(), minutes * 100);
        QCOMPARE(session.Sheet.Height, height);
        QCOMPARE(game.cues.Count(SoundCue::Adelante), 1);
        QCOMPARE(game.Find("Gif89a1")->geometry(), TwipsRect(0, 6600, 1215, 1215));
        QVERIFY(game.Find("Gif89a1")->isVisible());
        QMovie* movie = game.screen().figureMovie();
        QVERIFY(movie->fileName().endsWith(QString("/gifs/%1.gif").arg(minutes)));
        QCOMPARE(movie->isValid(), minutes == 6);  // the only figure in the folder
        QVERIFY(!game.editor()->isVisible());      // no box takes the focus by itself
    }

    void brokenFigureFileIsHarmless() {
        Game game(3);
        WriteFile(game.Path("gifs/3.gif"), "GIF89a not really");
        game.Inicio();
        QVERIFY(!game.screen().figureMovie()->isValid() && !game.Find("Gif89a1")->movie());
        QVERIFY(game.screen().timer1()->isActive());  // the game goes on
    }

    void operationChangedAfterLoadDoesNotReachTheRows() {
        Game game;
        game.flow.ExerciseSelection().OperationList()->setCurrentRow(1);  // "A x B =" behind it
        QCOMPARE(game.flow.Settings().OperationFields[1], std::string("x"));
        game.Inicio();
        for (int row = 0; row <= game.session().Sheet.LastRow(); ++row)
            QCOMPARE(game.session().Sheet.Rows[row].Cells[1].Caption, std::string("+"));
        QCOMPARE(game.session().OperationText, std::string("AA + B ="));
    }

    void timersMoveTheFigureAndShowTheClock() {
        Game game;
        game.Inicio();
        game.screen().Timer2_Timer();
        game.screen().Timer2_Timer();
        QCOMPARE(game.Find("Gif89a1")->pos(), QPoint(TwipsToPixels(64), TwipsToPixels(6600)));
        game.screen().Timer1_Timer();
        QCOMPARE(game.Find("Label8(1)")->text(), QString("1 : 0"));
        game.screen().Timer1_Timer();
        QCOMPARE(game.Find("Label8(1)")->text(), QString("0 : 59"));
    }
};

QTEST_MAIN(TestGameScreen)
#include "test_game_screen.moc"
