// Whole runs through the real screens, with the clock driven by ticks.
#include <QLocale>
#include <QPointer>

#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class WholeRunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Harness> h_;

    ScreenFlow& Flow() { return h_->flow; }
    QStringList Lines(int player) { return testing::Lines(Flow().Results().List(player)); }
    QString Points() {
        return Text(&Flow().Results(), "Label2(0)") + Text(&Flow().Results(), "Label2(1)");
    }
    void Begin(const QString& secondPlayer) {
        h_ = std::make_unique<Harness>("AA + B =\nA x B =\n");
        h_->AddUser("Bea.bmp", 120, 90);
        h_->ToPlayers();
        h_->Accept("Ana.png", secondPlayer);
    }

    // One game from "ACEPTAR" to the time-up: the first rows answered right,
    // then wrong ones, each confirmed with Enter.
    void PlayGame(int operation, int minutes, int hits, int errors, int expectedPicture) {
        Flow().ExerciseSelection().OperationList()->setCurrentRow(operation);
        GameScreen& game = h_->ToGame(minutes);
        QCOMPARE(game.session().ShownPicture, expectedPicture);
        QVERIFY(h_->Find(QString("Image1(%1)").arg(expectedPicture))->isVisibleTo(&game));
        QVERIFY(!h_->Find(QString("Image1(%1)").arg(1 - expectedPicture))->isVisibleTo(&game));
        h_->Inicio();
        h_->ClickRow(1);
        for (int row = 1; row <= hits + errors; ++row) {
            QTest::keyClicks(game.editor(), h_->Answer(row, row <= hits ? 0 : 1));
            QTest::keyClick(game.editor(), Qt::Key_Return);
        }
        const auto count = [](int n) { return n ? QString::number(n) : QString(); };  // 0 blank
        QCOMPARE(Text(&game, "Label9(0)") + "/" + Text(&game, "Label9(1)"),  // the counters
                 count(hits) + "/" + count(errors));
        for (int tick = 0; tick < 60 * minutes; ++tick) game.Timer1_Timer();
        QVERIFY(!game.session().GameOver);
        game.Timer1_Timer();
        QVERIFY(game.session().GameOver);
        // Time-up: clocks and figure stop, "CONTINUAR" shows, no more input.
        QVERIFY(!game.timer1()->isActive() && !game.timer2()->isActive());
        QVERIFY(!h_->Find("Gif89a1")->isVisible());
        QVERIFY(h_->Find<QPushButton>("Command1")->isVisible());
        QCOMPARE(Text(&game, "Label8(1)") + "|" + h_->Find<QPushButton>("Command1")->text(),
                 QString("0 : 0|CONTINUAR"));
        QTest::keyClicks(game.editor(), "9");
        QCOMPARE(game.editor()->text(), QString());
        QCOMPARE(Table(Flow()).section(" | ", 3), QString("shown | shown"));
    }

    // The results screen's "CONTINUAR", then the game screen's, back to the exercise selection.
    void LeaveGame() {
        Click(&Flow().Results(), "Command1");
        QVERIFY(Flow().Game().isVisible());
        Click(&Flow().Game(), "Command1");
        ProcessDeferredDeletes();
        QCOMPARE(Table(Flow()), "not loaded | minimised,disabled | shown | not loaded | minimised");
    }

  private slots:
    void cleanup() { h_.reset(); }

    void singlePlayerRunOfTwoGames() {
        Begin("");
        PlayGame(0, 1, 3, 1, 0);
        QCOMPARE(Lines(0), QStringList{"1)  3 op/min -{AA + B =}- Err 1"});
        QCOMPARE(Flow().Settings().GameNumber, short(2));
        QVERIFY(!Flow().Settings().SecondPlayerTurn);
        LeaveGame();
        PlayGame(1, 2, 3, 0, 0);
        const QString rate = QString("1.5").replace('.', QLocale::system().decimalPoint());
        QCOMPARE(Lines(0), (QStringList{"1)  3 op/min -{AA + B =}- Err 1",
                                        "2)  " + rate + " op/min -{A x B =}- Err 0"}));
        QCOMPARE(Lines(1), QStringList{});
        QCOMPARE(Flow().Settings().GameNumber, short(3));
        LeaveGame();
        Flow().Restore(ScreenId::Results);
        Click(&Flow().Results(), "Command2");  // SALIR, answered Yes
        QCOMPARE(h_->endCodes, std::vector<int>{0});
    }

    void twoPlayerRunOfTwoPairs() {
        Begin("Bea.bmp");
        PlayGame(0, 1, 2, 0, 0);  // Ana: 2 op/min
        QCOMPARE(Lines(0), QStringList{"1)  2 op/min -{AA + B =}- Err 0"});
        QVERIFY(Flow().Settings().SecondPlayerTurn);
        QCOMPARE(Flow().Settings().GameNumber, short(1));
        LeaveGame();
        PlayGame(0, 1, 3, 2, 1);  // Bea: 3 op/min, wins the pair
        QCOMPARE(Lines(1), QStringList{"1)  3 op/min -{AA + B =}- Err 2"});
        QCOMPARE(Points(), QString("01"));
        QVERIFY(!Flow().Settings().SecondPlayerTurn);
        QCOMPARE(Flow().Settings().GameNumber, short(2));
        LeaveGame();
        PlayGame(1, 2, 4, 0, 0);  // Ana: 2 op/min over two minutes
        LeaveGame();
        PlayGame(0, 1, 2, 1, 1);  // Bea: 2 op/min, a tie
        QCOMPARE(Lines(0), (QStringList{"1)  2 op/min -{AA + B =}- Err 0",
                                        "2)  2 op/min -{A x B =}- Err 0"}));
        QCOMPARE(Lines(1), (QStringList{"1)  3 op/min -{AA + B =}- Err 2",
                                        "2)  2 op/min -{AA + B =}- Err 1"}));
        QCOMPARE(Points(), QString("12"));
        QCOMPARE(Flow().Settings().GameNumber, short(3));
    }

    // Closing mid-game stops the clocks and writes nothing; the same player's turn comes again.
    void abandonedGameChangesNothing() {
        Begin("Bea.bmp");
        GameScreen& game = h_->ToGame(1);
        h_->Inicio();
        QPointer<QTimer> clock = game.timer1();
        game.close();
        QVERIFY(clock && !clock->isActive() && !game.timer2()->isActive());
        game.Timer1_Timer();  // a tick already queued finds nothing to end
        ProcessDeferredDeletes();
        QVERIFY(clock.isNull());
        QCOMPARE(Table(Flow()), "not loaded | minimised,disabled | shown | not loaded | minimised");
        QCOMPARE(Lines(0), QStringList{});
        QVERIFY(!Flow().Settings().SecondPlayerTurn);
        QCOMPARE(Flow().Settings().GameNumber, short(1));
        PlayGame(0, 1, 1, 0, 0);
        QCOMPARE(Lines(0), QStringList{"1)  1 op/min -{AA + B =}- Err 0"});
    }
};

QTEST_MAIN(WholeRunTest)
#include "test_whole_run.moc"
