#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class ResultsScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Harness> h_;

    // Ana and a second pick ("" for none) on the player selection, then the
    // results screen loaded and shown.
    ResultsScreen& Open(const QString& second) {
        h_ = std::make_unique<Harness>();
        for (const char* user : {"Jugador 2.png", "Bea.bmp", "jugador 2.png"}) h_->AddUser(user);
        h_->ToPlayers();
        h_->Pick(0, "Ana.png");
        h_->Pick(1, second);
        h_->flow.Settings().SecondPlayerTurn = true;  // the load gives the turn back to player 1
        h_->flow.Results().show();
        return h_->flow.Results();
    }
    QWidget* Child(const char* name) { return h_->flow.Results().findChild<QWidget*>(name); }
    int X(const char* name) { return Child(name)->x(); }

  private slots:
    void cleanup() { h_.reset(); }

    void kindOfMatch_data() {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("secondName");
        QTest::newRow("nobody chosen") << "" << true << "Label1";
        QTest::newRow("a user named exactly Jugador 2") << "Jugador 2.png" << true << "Label1";
        QTest::newRow("a name differing in case") << "jugador 2.png" << false << "jugador 2";
        QTest::newRow("a second player") << "Bea.bmp" << false << "Bea";
    }
    void kindOfMatch() {
        QFETCH(QString, second);
        QFETCH(bool, single);
        QFETCH(QString, secondName);
        ResultsScreen& results = Open(second);
        QVERIFY(!h_->flow.Settings().SecondPlayerTurn);
        QCOMPARE(results.Board().SinglePlayer, single);
        QCOMPARE(Text(&results, "Label1(0)") + "/" + Text(&results, "Label1(1)"),
                 "Ana/" + secondName);
        for (const char* name :
             {"Label1(1)", "Label2(0)", "Label2(1)", "Label3(0)", "Label3(1)", "List1(1)"})
            QVERIFY2(Child(name)->isVisible() == !single, name);
        QVERIFY(Child("List1(0)")->isVisible() && Child("Image1(0)")->isVisible());
        QCOMPARE(Child("Image1(1)")->size().isEmpty(), second.isEmpty());
        if (single) {  // one centred column: (8325 - 3975) / 2 and (8325 - 1695) / 2 twips
            QCOMPARE(QList<int>({X("Label1(0)"), X("List1(0)"), X("Image1(0)")}),
                     QList<int>({TwipsToPixels(2175), TwipsToPixels(2175), TwipsToPixels(3315)}));
            QCOMPARE(Child("Image1(0)")->size(), QSize(TwipsToPixels(1260), TwipsToPixels(1575)));
        } else {
            QCOMPARE(QPoint(X("Label1(0)"), X("Image1(1)")),
                     QPoint(TwipsToPixels(120), TwipsToPixels(5040)));
        }
    }

    // Refresh shows the board's lines and points; the close box only minimises.
    void refreshShowsTheBoardAndCloseKeepsIt() {
        ResultsScreen& results = Open("Bea.bmp");
        results.Board().WriteLine(kPlayerTwo, 1, "1)  2 op/min -{AA + B =}- Err 1");
        results.Board().AddPoint(kPlayerTwo);
        results.Refresh();
        QCOMPARE(Lines(results.List(1)), QStringList{"1)  2 op/min -{AA + B =}- Err 1"});
        QCOMPARE(Text(&results, "Label2(0)") + Text(&results, "Label2(1)"), QString("01"));
        results.close();
        ProcessDeferredDeletes();
        QVERIFY(h_->flow.IsLoaded(ScreenId::Results) && results.isMinimized());
        QCOMPARE(results.List(1)->count(), 1);
    }

    void portLoadsOrRestoresTheScreen() {
        Open("");
        ScreenFlow& flow = h_->flow;
        flow.Unload(ScreenId::Results);
        ProcessDeferredDeletes();
        FlowResultsPort port(flow);
        flow.Settings().SecondPlayerTurn = true;
        ResultsBoard& board = port.RestoreAndShow();  // loads it first
        QCOMPARE(&board, &flow.Results().Board());
        QVERIFY(flow.Results().isVisible() && !flow.Results().isMinimized());
        QVERIFY(!flow.Settings().SecondPlayerTurn);
        flow.Minimise(ScreenId::Results);
        board.WriteLine(kPlayerOne, 1, "kept");
        port.RestoreAndShow();
        QVERIFY(!flow.Results().isMinimized());
        QCOMPARE(flow.Results().Board().Lists[0].size(), std::size_t(1));  // nothing reset
    }
};

QTEST_MAIN(ResultsScreenTest)
#include "test_results_screen.moc"
