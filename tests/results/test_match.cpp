// Rates, results lines, the results board and the turns and points of a match.
#include <QtTest>
#include <string>
#include <vector>

#include "app/game_settings.h"
#include "results/match.h"

using namespace cifrano;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Settings at game `number` and a board freshly loaded for these players.
struct Match {
    explicit Match(std::string secondName, int number = 1) : second(std::move(secondName)) {
        settings.GameMinutes = 1;
        settings.GameNumber = static_cast<short>(number);
        board.Load(settings, {"ana.jpg", "luis.bmp", "ana", second});
    }
    void Play(double rate, std::string errors = "") {
        RecordGame(settings, board, second, {rate, "AA x B =", std::move(errors)});
    }
    std::string second;
    GameSettings settings;
    ResultsBoard board;
};

}  // namespace

class TestMatch : public QObject {
    Q_OBJECT

  private slots:
    void resultsLine_data() {
        QTest::addColumn<QString>("hits");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("rate");
        QTest::newRow("no hits, no errors") << "" << 1 << QChar('.') << "0";
        QTest::newRow("10 hits in 3 minutes") << "10" << 3 << QChar('.') << "3.33333333333333";
        QTest::newRow("1 hit in 6 minutes") << "1" << 6 << QChar('.') << "0.166666666666667";
        QTest::newRow("decimal comma") << "9" << 2 << QChar(',') << "4,5";
        QTest::newRow("no minutes gives no rate") << "5" << 0 << QChar('.') << "0";
    }
    void resultsLine() {
        QFETCH(QString, hits);
        QFETCH(int, minutes);
        QFETCH(QChar, separator);
        QFETCH(QString, rate);
        const double value = HitsPerMinute(hits.toStdString(), minutes);
        QCOMPARE(Q(ResultsLine(3, value, "AA x B =", "", separator.toLatin1())),
                 "3)  " + rate + " op/min -{AA x B =}- Err 0");
    }

    // Every single-player game goes to player 1's list and advances the number.
    void singlePlayerGamesAdvanceTheNumber() {
        Match m("Jugador 2");
        for (int game = 1; game <= 3; ++game) {
            QCOMPARE(int(m.settings.GameNumber), game);
            m.Play(game, "2");
            QVERIFY(!m.settings.SecondPlayerTurn);
            QCOMPARE(Q(m.board.Lists[kPlayerOne].back()),
                     QString("%1)  %1 op/min -{AA x B =}- Err 2").arg(game));
        }
        QVERIFY(m.board.Lists[kPlayerTwo].empty());
    }

    void twoPlayerPair_data() {
        QTest::addColumn<double>("firstRate");
        QTest::addColumn<double>("secondRate");
        QTest::addColumn<QString>("firstPoints");
        QTest::addColumn<QString>("secondPoints");
        // Points are read back from their captions, so they add up over pairs.
        QTest::newRow("player 1 higher") << 5.5 << 5.0 << "3"
                                         << "5";
        QTest::newRow("player 1 lower") << 3.0 << 3.5 << "2"
                                        << "6";
        QTest::newRow("equal rates") << 4.0 << 4.0 << "3"
                                     << "6";
    }
    // Player 1's game waits for player 2's; player 2's scores the pair.
    void twoPlayerPair() {
        Match m("luis", 2);
        m.board.Points = {"2", "5"};
        QFETCH(double, firstRate);
        m.Play(firstRate);
        QVERIFY(m.board.Lists[kPlayerOne].size() == 1 && m.board.Lists[kPlayerTwo].empty());
        QCOMPARE(Q(m.board.Points[kPlayerOne]), QString("2"));  // not scored yet

        QFETCH(double, secondRate);
        m.Play(secondRate);
        QCOMPARE(int(m.settings.GameNumber), 3);
        QVERIFY(!m.settings.SecondPlayerTurn);
        QCOMPARE(int(m.board.Lists[kPlayerTwo].size()), 1);
        QTEST(Q(m.board.Points[kPlayerOne]), "firstPoints");
        QTEST(Q(m.board.Points[kPlayerTwo]), "secondPoints");
    }

    void kindOfMatch_data() {
        QTest::addColumn<QString>("secondName");
        QTest::addColumn<bool>("single");
        QTest::newRow("exactly Jugador 2: single") << "Jugador 2" << true;
        QTest::newRow("differing in case: two players") << "jugador 2" << false;
    }
    void kindOfMatch() {
        QFETCH(QString, secondName);
        QFETCH(bool, single);
        Match m(secondName.toStdString());
        QCOMPARE(m.board.SinglePlayer, single);
        m.Play(1);
        QCOMPARE(int(m.settings.GameNumber), single ? 2 : 1);
        QCOMPARE(m.settings.SecondPlayerTurn, !single);
    }

    void resultsNames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("too short keeps the shown name") << "ab"
                                                        << "shown";
        QTest::newRow("accented letters are characters") << "maría.ñé"
                                                         << "marí";
    }
    void resultsNames() {
        QFETCH(QString, file);
        QTEST(Q(ResultsName(file.toStdString(), "shown")), "expected");
    }

    // A results screen loaded again mid-run has shorter lists than GameNumber says.
    void writeLine_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("gameNumber");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("next entry") << 2 << 3 << QStringList{"old", "old", "new"};
        QTest::newRow("past the end is appended") << 1 << 7 << QStringList{"old", "new"};
        QTest::newRow("existing entry replaced") << 3 << 2 << QStringList{"old", "new", "old"};
    }
    void writeLine() {
        QFETCH(int, entries);
        QFETCH(int, gameNumber);
        ResultsBoard board;
        board.Lists[kPlayerTwo].assign(entries, "old");
        board.WriteLine(kPlayerTwo, gameNumber, "new");
        QStringList list;
        for (const std::string& line : board.Lists[kPlayerTwo]) list << Q(line);
        QTEST(list, "expected");
    }

    // (outer width - control width), rounded half to even, halved toward zero.
    void arrangeSinglePlayer_data() {
        QTest::addColumn<double>("windowWidth");
        QTest::addColumn<long long>("nameLeft");
        QTest::addColumn<long long>("pictureLeft");
        QTest::newRow("designed window, half rounds down to even") << 8445.5 << 2235LL << 3375LL;
        QTest::newRow("half rounds up to even") << 8446.5 << 2236LL << 3376LL;
        QTest::newRow("narrower than the list") << 3000.0 << -487LL << 652LL;
    }
    void arrangeSinglePlayer() {
        QFETCH(double, windowWidth);
        const ResultsLayout layout = ArrangeSinglePlayer(windowWidth);
        QTEST(layout.NameLeft, "nameLeft");
        QTEST(layout.ListLeft, "nameLeft");
        QTEST(layout.PictureLeft, "pictureLeft");
        QVERIFY(!layout.SecondColumnShown && !layout.PointsShown);
    }
};

QTEST_GUILESS_MAIN(TestMatch)
#include "test_match.moc"
