#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/geometry.h"
#include "game/game_screen.h"
#include "results/results_screen.h"
#include "setup/player_selection_screen.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class ResultsScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFolder> folder_;
    std::unique_ptr<FlowHarness> harness_;

    // Players accepted on the player selection screen; "" leaves a slot unchosen.
    ResultsScreen& Open(const QString& first, const QString& second) {
        folder_ = std::make_unique<AppFolder>();
        folder_->AddUser("Ana.png", 80, 100);
        folder_->AddUser("Jugador 2.png", 50, 50);
        folder_->AddUser("Bea.bmp", 120, 90);
        folder_->AddUser("jugador 2.png", 50, 50);
        harness_ = std::make_unique<FlowHarness>(folder_->Path());
        ScreenFlow& flow = harness_->flow;
        flow.Start();
        flow.Show(ScreenId::PlayerSelection);
        for (int i = 0; i < 2; ++i) {
            const QString file = i == 0 ? first : second;
            if (file.isEmpty()) continue;
            QListWidget* list = flow.PlayerSelection().FileList(i);
            list->setCurrentItem(list->findItems(file, Qt::MatchExactly).value(0));
        }
        flow.Settings().SecondPlayerTurn = true;  // the load gives the turn back to player 1
        return flow.Results();
    }
    QWidget* Child(const char* name) {
        return harness_->flow.Results().findChild<QWidget*>(QString::fromLatin1(name));
    }

private slots:
    void cleanup() {
        harness_.reset();
        folder_.reset();
    }

    void singlePlayerShowsOneCentredColumn() {
        ResultsScreen& results = Open("Ana.png", "");
        results.show();
        QVERIFY(!harness_->flow.Settings().SecondPlayerTurn);
        QCOMPARE(static_cast<QLabel*>(Child("Label1(0)"))->text(), QString("Ana"));
        for (const char* hidden : {"Label1(1)", "Label2(0)", "Label2(1)", "Label3(0)",
                                   "Label3(1)", "List1(1)"}) {
            QVERIFY2(!Child(hidden)->isVisible(), hidden);
        }
        QVERIFY(Child("List1(0)")->isVisible());
        QVERIFY(Child("Image1(0)")->isVisible());
        // (8325 - 3975) / 2 and (8325 - 1695) / 2 twips.
        QCOMPARE(Child("Label1(0)")->x(), TwipsToPixels(2175));
        QCOMPARE(Child("List1(0)")->x(), TwipsToPixels(2175));
        QCOMPARE(Child("Image1(0)")->x(), TwipsToPixels(3315));
        QCOMPARE(Child("Image1(0)")->size(), QSize(TwipsToPixels(1260), TwipsToPixels(1575)));
        QCOMPARE(Child("Image1(1)")->size(), QSize(0, 0));
    }

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
        ResultsScreen& results = Open("Ana.png", second);
        results.show();
        QCOMPARE(results.Board().SinglePlayer, single);
        QCOMPARE(static_cast<QLabel*>(Child("Label1(1)"))->text(), secondName);
        QCOMPARE(Child("List1(1)")->isVisible(), !single);
        QCOMPARE(Child("Label2(0)")->isVisible(), !single);
        QCOMPARE(static_cast<QLabel*>(Child("Label2(1)"))->text(), QString("0"));
        if (!single) {
            QCOMPARE(Child("Label1(0)")->x(), TwipsToPixels(120));
            QCOMPARE(Child("Image1(1)")->x(), TwipsToPixels(5040));
        }
    }

    void refreshShowsTheBoard() {
        ResultsScreen& results = Open("Ana.png", "Bea.bmp");
        results.Board().WriteLine(kPlayerOne, 1, "1)  3 op/min -{AA + B =}- Err 0");
        results.Board().WriteLine(kPlayerTwo, 1, "1)  2 op/min -{AA + B =}- Err 1");
        results.Board().AddPoint(kPlayerOne);
        results.Refresh();
        QCOMPARE(results.List(0)->count(), 1);
        QCOMPARE(results.List(0)->item(0)->text(), QString("1)  3 op/min -{AA + B =}- Err 0"));
        QCOMPARE(results.List(1)->item(0)->text(), QString("1)  2 op/min -{AA + B =}- Err 1"));
        QCOMPARE(static_cast<QLabel*>(Child("Label2(0)"))->text(), QString("1"));
        QCOMPARE(static_cast<QLabel*>(Child("Label2(1)"))->text(), QString("0"));
    }

    void portRestoresAndShowsLoadingFirst() {
        Open("Ana.png", "");
        ScreenFlow& flow = harness_->flow;
        flow.Unload(ScreenId::Results);
        ProcessDeferredDeletes();
        FlowResultsPort port(flow);
        flow.Settings().SecondPlayerTurn = true;
        ResultsBoard& board = port.RestoreAndShow();
        QVERIFY(flow.IsLoaded(ScreenId::Results));
        QCOMPARE(&board, &flow.Results().Board());
        QVERIFY(flow.Results().isVisible());
        QVERIFY(!flow.Results().isMinimized());
        QVERIFY(!flow.Settings().SecondPlayerTurn);

        flow.Minimise(ScreenId::Results);
        board.WriteLine(kPlayerOne, 1, "kept");
        port.RestoreAndShow();
        QVERIFY(!flow.Results().isMinimized());
        QCOMPARE(flow.Results().Board().Lists[0].size(), std::size_t(1));  // nothing reset
    }

    void closeBoxKeepsTheResults() {
        ResultsScreen& results = Open("Ana.png", "");
        results.show();
        results.Board().WriteLine(kPlayerOne, 1, "1)  3 op/min -{AA + B =}- Err 0");
        results.Refresh();
        results.close();
        ProcessDeferredDeletes();
        QVERIFY(harness_->flow.IsLoaded(ScreenId::Results));
        QVERIFY(results.isMinimized());
        QCOMPARE(results.List(0)->count(), 1);
    }

    void continueShowsTheGameScreen() {
        ResultsScreen& results = Open("Ana.png", "");
        ScreenFlow& flow = harness_->flow;
        flow.Show(ScreenId::ExerciseSelection);
        QTest::mouseClick(static_cast<QPushButton*>(Child("Command1")), Qt::LeftButton);
        QCOMPARE(harness_->cues.played.back(), SoundCue::Continuar);
        QVERIFY(flow.IsLoaded(ScreenId::Game));
        QVERIFY(flow.Game().isVisible());
        Q_UNUSED(results);
    }
};

QTEST_MAIN(ResultsScreenTest)
#include "test_results_screen.moc"
