// The finished game as the end of a game builds it, the figures beside the
// chart, the texts of dates and rates, and the recorder's one notice per run.
#include <QTest>
#include <cstdlib>
#include <ctime>

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
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("pair");
        QTest::addColumn<QString>("rival");
        QTest::newRow("alone") << "Jugador 2" << false << "Lucía"
                               << "Lucía.jpg" << 0 << "";
        // A stale turn flag cannot make a lone player someone else.
        QTest::newRow("alone, stale turn") << "Jugador 2" << true << "Lucía"
                                           << "Lucía.jpg" << 0 << "";
        QTest::newRow("pair, first game") << "Carlos" << false << "Lucía"
                                          << "Lucía.jpg" << 4 << "Carlos";
        QTest::newRow("pair, second game") << "Carlos" << true << "Carlos"
                                           << "Carlos.gif" << 4 << "Lucía";
    }
    void finishedGameOfTheTurn() {
        QFETCH(QString, secondName);
        QFETCH(bool, secondTurn);
        GameSettings settings;
        settings.GameNumber = 4;
        settings.SecondPlayerTurn = secondTurn;
        const bool alone = secondName == "Jugador 2";
        const ResultsPlayers players{"Lucía.jpg", alone ? "" : "Carlos.gif", "Lucía",
                                     secondName.toStdString()};
        const GameOutcome outcome{4.5, "AA + B =", "2"};
        const FinishedGame game = FinishedGameOf(settings, players, outcome, "9", 2, 1714737802);
        QTEST(QString::fromStdString(game.Player), "player");
        QTEST(QString::fromStdString(game.PlayerFile), "file");
        QTEST(game.PairNumber, "pair");
        QTEST(QString::fromStdString(game.Rival), "rival");
        QCOMPARE(game.Operation, std::string("AA + B ="));
        QCOMPARE(game.Hits, 9);
        QCOMPARE(game.Errors, 2);
        QCOMPARE(game.Minutes, 2);
        QCOMPARE(game.Rate, 4.5);
        QCOMPARE(game.PlayedAt, std::int64_t(1714737802));
    }

    void countsFromCaptions_data() {
        QTest::addColumn<QString>("hits");
        QTest::addColumn<QString>("errors");
        QTest::addColumn<int>("hitCount");
        QTest::addColumn<int>("errorCount");
        QTest::newRow("no error yet: empty caption") << "12"
                                                     << "" << 12 << 0;
        QTest::newRow("huge") << "1e40"
                              << "-3" << 2147483647 << 0;
        QTest::newRow("not a number") << "abc"
                                      << "7" << 0 << 7;
    }
    void countsFromCaptions() {
        QFETCH(QString, hits);
        QFETCH(QString, errors);
        const GameOutcome outcome{1.0, "A x B =", errors.toStdString()};
        const FinishedGame game =
            FinishedGameOf(GameSettings{}, ResultsPlayers{"Ana.png", "", "Ana", "Jugador 2"},
                           outcome, hits.toStdString(), 1, 0);
        QTEST(game.Hits, "hitCount");
        QTEST(game.Errors, "errorCount");
    }

    void summary_data() {
        QTest::addColumn<QList<double>>("rates");
        QTest::addColumn<int>("best");
        QTest::addColumn<double>("average");
        QTest::addColumn<int>("recent");
        QTest::newRow("none") << QList<double>{} << 0 << 0.0 << 0;
        QTest::newRow("one") << QList<double>{3.5} << 0 << 3.5 << 1;
        QTest::newRow("a tie keeps the first") << QList<double>{2, 5, 1, 5} << 1 << 3.25 << 4;
        QTest::newRow("only the last ten count")
            << QList<double>{100, 1, 1, 1, 1, 1, 1, 1, 1, 1, 11} << 0 << 2.0 << 10;
        QTest::newRow("all zero") << QList<double>{0, 0} << 0 << 0.0 << 2;
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
        if (!rates.isEmpty()) QCOMPARE(summary.BestRate, rates[int(summary.BestIndex)]);
    }

    void texts_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("dot");
        QTest::addColumn<QString>("comma");
        QTest::newRow("whole") << 12.0 << "12"
                               << "12";
        QTest::newRow("one decimal") << 4.5 << "4.5"
                                     << "4,5";
        QTest::newRow("two decimals, rounded") << 10.0 / 3.0 << "3.33"
                                               << "3,33";
        QTest::newRow("rounds up to whole") << 2.999 << "3"
                                            << "3";
        QTest::newRow("zero") << 0.0 << "0"
                              << "0";
        QTest::newRow("not a number") << std::nan("") << "0"
                                      << "0";
    }
    void texts() {
        QFETCH(double, rate);
        QTEST(QString::fromStdString(RateText(rate)), "dot");
        QTEST(QString::fromStdString(RateText(rate, ',')), "comma");
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
    }

    void boundedUtf8_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("max");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("kept") << QByteArray("Lucía") << 10 << QByteArray("Lucía");
        QTest::newRow("cut before a split character")
            << QByteArray("Lucía") << 4 << QByteArray("Luc");
        QTest::newRow("stray byte") << QByteArray(
                                           "a\xff"
                                           "b")
                                    << 10
                                    << QByteArray(
                                           "a\xEF\xBF\xBD"
                                           "b");
        QTest::newRow("overlong slash")
            << QByteArray("\xC0\xAF") << 10 << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << 10
                                   << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
        QTest::newRow("emoji whole or not at all")
            << QByteArray("\xF0\x9F\x98\x80") << 3 << QByteArray();
    }
    void boundedUtf8() {
        QFETCH(QByteArray, text);
        QFETCH(int, max);
        const std::string out = BoundedUtf8(std::string_view(text.constData(), text.size()),
                                            static_cast<std::size_t>(max));
        QTEST(QByteArray(out.data(), qsizetype(out.size())), "expected");
    }

    void recorderNoticesOnce_data() {
        QTest::addColumn<bool>("throws");
        QTest::newRow("failing history") << false;
        QTest::newRow("throwing history") << true;
    }
    void recorderNoticesOnce() {
        QFETCH(bool, throws);
        FakeGameHistory fake;
        QStringList notices;
        HistoryRecorder recorder(
            fake, [&](const std::string& text) { notices << QString::fromStdString(text); });
        QVERIFY(recorder.Record(FinishedGame{}));
        QVERIFY(notices.isEmpty());
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

    void recorderNoticeMayThrow() {
        FakeGameHistory fake;
        fake.FailWith = "Roto.";
        HistoryRecorder recorder(fake, [](const std::string&) { throw 1; });
        QVERIFY(!recorder.Record(FinishedGame{}));
        QVERIFY(recorder.Noticed());
    }
};

QTEST_APPLESS_MAIN(GameHistoryTest)
#include "test_game_history.moc"
