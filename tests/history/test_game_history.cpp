// The finished game as the end of a game builds it, the figures beside the
// chart, dates, and the recorder's single notice per run.
#include <QTest>
#include <ctime>

#include "test_main.h"
#include "fake_game_history.h"
#include "history/game_history.h"
#include "history/history_recorder.h"

using namespace cifrano;
using cifrano::testing::FakeGameHistory;

class GameHistoryTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // Central European time by rule, so no time zone files are needed.
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
    }

    void finishedGameOfTheTurn_data() {
        QTest::addColumn<QString>("secondName");
        QTest::addColumn<bool>("secondTurn");
        QTest::addColumn<QString>("expected");  // player, file, pair, rival
        QTest::newRow("alone") << "Jugador 2" << false << "Lucía Lucía.jpg 0 ";
        // A stale turn flag cannot make a lone player someone else.
        QTest::newRow("alone, stale turn") << "Jugador 2" << true << "Lucía Lucía.jpg 0 ";
        QTest::newRow("pair, first game") << "Carlos" << false << "Lucía Lucía.jpg 4 Carlos";
        QTest::newRow("pair, second game") << "Carlos" << true << "Carlos Carlos.gif 4 Lucía";
    }
    void finishedGameOfTheTurn() {
        QFETCH(QString, secondName);
        QFETCH(bool, secondTurn);
        GameSettings settings;
        settings.GameNumber = 4;
        settings.SecondPlayerTurn = secondTurn;
        const bool alone = secondName == "Jugador 2";
        ChosenPlayers players;
        players.Names = {"Lucía", secondName.toStdString()};
        players.Files = {"Lucía.jpg", alone ? "" : "Carlos.gif"};
        const GameOutcome outcome{4.5, "AA + B =", 9, 2, 2};
        const FinishedGame game = FinishedGameOf(settings, players, outcome, 1714737802);
        QTEST(QString::fromStdString(game.Player + " " + game.PlayerFile + " " +
                                     std::to_string(game.PairNumber) + " " + game.Rival),
              "expected");
        QCOMPARE(QList<int>({game.Hits, game.Errors, game.Minutes}), QList<int>({9, 2, 2}));
        QCOMPARE(game.Operation, std::string("AA + B ="));
        QCOMPARE(game.Rate, 4.5);
        QCOMPARE(game.PlayedAt, std::int64_t(1714737802));
    }

    void summary_data() {
        QTest::addColumn<QList<double>>("rates");
        QTest::addColumn<int>("best");
        QTest::addColumn<double>("average");
        QTest::addColumn<int>("recent");
        QTest::newRow("none") << QList<double>{} << 0 << 0.0 << 0;
        QTest::newRow("a tie keeps the first") << QList<double>{2, 5, 1, 5} << 1 << 3.25 << 4;
        QTest::newRow("only the last ten count")
            << QList<double>{100, 1, 1, 1, 1, 1, 1, 1, 1, 1, 11} << 0 << 2.0 << 10;
    }
    void summary() {
        QFETCH(QList<double>, rates);
        std::vector<FinishedGame> games;
        for (double rate : rates) games.push_back(FinishedGame{.Rate = rate});
        const ProgressSummary summary = Summarise(games);
        QCOMPARE(summary.Games, std::size_t(rates.size()));
        QTEST(int(summary.BestIndex), "best");
        QTEST(summary.RecentAverage, "average");
        QTEST(int(summary.RecentCount), "recent");
    }

    void dates_data() {
        QTest::addColumn<qlonglong>("seconds");
        QTest::addColumn<QString>("iso");
        QTest::addColumn<QString>("shown");
        QTest::newRow("summer time") << 1714737802LL << "2024-05-03T14:03:22+02:00"
                                     << "03/05/2024 14:03";
        QTest::newRow("winter time") << 1704067200LL << "2024-01-01T01:00:00+01:00"
                                     << "01/01/2024 01:00";
    }
    void dates() {
        QFETCH(qlonglong, seconds);
        QTEST(QString::fromStdString(IsoDateTime(seconds)), "iso");
        QTEST(QString::fromStdString(ShortDateTime(seconds)), "shown");
        QCOMPARE(QString::fromStdString(RateText(10.0 / 3.0, ',')), QString("3,33"));
    }

    void recorderNoticesOnce_data() {
        QTest::addColumn<bool>("throws");
        QTest::newRow("failing history") << false;
        QTest::newRow("throwing history, throwing notice") << true;
    }
    void recorderNoticesOnce() {
        QFETCH(bool, throws);
        FakeGameHistory fake;
        QStringList notices;
        HistoryRecorder recorder(fake, [&](const std::string& text) {
            notices << QString::fromStdString(text);
            if (throws) throw 1;  // a notice that cannot be shown ends nothing
        });
        QVERIFY(recorder.Record(FinishedGame{}));
        fake.FailWith = "El disco está lleno.";
        fake.Throw = throws;
        QVERIFY(!recorder.Record(FinishedGame{}));
        QVERIFY(!recorder.Record(FinishedGame{}));
        fake.FailWith.clear();
        fake.Throw = false;
        QVERIFY(recorder.Record(FinishedGame{}));
        fake.FailWith = "Otra vez.";
        QVERIFY(!recorder.Record(FinishedGame{}));
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices[0].contains(throws ? "No se ha podido guardar" : "El disco está lleno."));
        QCOMPARE(fake.Kept.size(), std::size_t(2));
    }
};

CIFRANO_TEST_MAIN(GameHistoryTest)
#include "test_game_history.moc"
