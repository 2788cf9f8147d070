// Rates, results lines, the results board and the turns and points of a match.
#include <QtTest>

#include <string>
#include <vector>

#include "app/game_settings.h"
#include "results/match.h"

using namespace cifrano;


namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

GameSettings FreshSettings() {
    GameSettings settings;
    settings.GameMinutes = 1;
    settings.GameNumber = 1;
    return settings;
}

GameOutcome Outcome(double rate, std::string errors = "") {
    GameOutcome outcome;
    outcome.Rate = rate;
    outcome.OperationText = "AA x B =";
    outcome.ErrorsCaption = std::move(errors);
    return outcome;
}

ResultsPlayers TwoPlayers() { return {"ana.jpg", "luis.bmp", "ana", "luis"}; }
ResultsPlayers OnePlayer() { return {"ana.jpg", "", "ana", "Jugador 2"}; }

}  // namespace

class TestMatch : public QObject {
    Q_OBJECT

private slots:
    void resultsLine_data() {
        QTest::addColumn<QString>("hits");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("gameNumber");
        QTest::addColumn<QString>("errors");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("expected");

        QTest::newRow("no hits") << "" << 1 << 1 << "" << QChar('.')
                                 << "1)  0 op/min -{AA x B =}- Err 0";
        QTest::newRow("hit caption 0") << "0" << 4 << 2 << "3" << QChar('.')
                                       << "2)  0 op/min -{AA x B =}- Err 3";
        QTest::newRow("10 hits in 3 minutes")
            << "10" << 3 << 1 << "" << QChar('.') << "1)  3.33333333333333 op/min -{AA x B =}- Err 0";
        QTest::newRow("1 hit in 6 minutes")
            << "1" << 6 << 1 << "" << QChar('.') << "1)  0.166666666666667 op/min -{AA x B =}- Err 0";
        QTest::newRow("9 hits in 2 minutes, game 3")
            << "9" << 2 << 3 << "2" << QChar('.') << "3)  4.5 op/min -{AA x B =}- Err 2";
        QTest::newRow("decimal comma")
            << "9" << 2 << 3 << "2" << QChar(',') << "3)  4,5 op/min -{AA x B =}- Err 2";
        QTest::newRow("comma never in a whole rate")
            << "12" << 3 << 10 << "15" << QChar(',') << "10)  4 op/min -{AA x B =}- Err 15";
        QTest::newRow("no minutes gives no rate")
            << "5" << 0 << 1 << "" << QChar('.') << "1)  0 op/min -{AA x B =}- Err 0";
    }
    void resultsLine() {
        QFETCH(QString, hits);
        QFETCH(int, minutes);
        QFETCH(int, gameNumber);
        QFETCH(QString, errors);
        QFETCH(QChar, separator);
        QFETCH(QString, expected);

        const double rate = HitsPerMinute(hits.toStdString(), minutes);
        const std::string line = ResultsLine(gameNumber, rate, "AA x B =", errors.toStdString(),
                                             separator.toLatin1());
        QCOMPARE(Q(line), expected);
    }

    // Every single-player game goes to player 1's list and advances the number.
    void singlePlayerGamesAdvanceTheNumber() {
        GameSettings settings = FreshSettings();
        ResultsBoard board;
        board.Load(settings, OnePlayer());
        for (int game = 1; game <= 3; ++game) {
            QCOMPARE(int(settings.GameNumber), game);
            RecordGame(settings, board, "Jugador 2", Outcome(game));
            QVERIFY(!settings.SecondPlayerTurn);
        }
        QCOMPARE(int(settings.GameNumber), 4);
        const std::vector<std::string> expected{"1)  1 op/min -{AA x B =}- Err 0",
                                                "2)  2 op/min -{AA x B =}- Err 0",
                                                "3)  3 op/min -{AA x B =}- Err 0"};
        QVERIFY(board.Lists[kPlayerOne] == expected);
        QVERIFY(board.Lists[kPlayerTwo].empty());
        QCOMPARE(Q(board.Points[kPlayerOne]), QString("0"));
        QCOMPARE(Q(board.Points[kPlayerTwo]), QString("0"));
    }

    void twoPlayerPair_data() {
        QTest::addColumn<double>("firstRate");
        QTest::addColumn<double>("secondRate");
        QTest::addColumn<QString>("firstPoints");
        QTest::addColumn<QString>("secondPoints");

        QTest::newRow("player 1 higher") << 5.5 << 5.0 << "1" << "0";
        QTest::newRow("player 1 lower") << 3.0 << 3.5 << "0" << "1";
        QTest::newRow("equal rates") << 4.0 << 4.0 << "1" << "1";
        QTest::newRow("both without hits") << 0.0 << 0.0 << "1" << "1";
    }
    void twoPlayerPair() {
        QFETCH(double, firstRate);
        QFETCH(double, secondRate);
        QFETCH(QString, firstPoints);
        QFETCH(QString, secondPoints);

        GameSettings settings = FreshSettings();
        settings.GameNumber = 2;
        ResultsBoard board;
        board.Load(settings, TwoPlayers());
        board.Lists[kPlayerOne] = {"1)  x"};
        board.Lists[kPlayerTwo] = {"1)  y"};

        RecordGame(settings, board, "luis", Outcome(firstRate, "1"));
        // Player 1 has played: the line is on the left only, the number waits for player 2.
        QCOMPARE(int(settings.GameNumber), 2);
        QVERIFY(settings.SecondPlayerTurn);
        QCOMPARE(settings.FirstPlayerRate, firstRate);
        QCOMPARE(int(board.Lists[kPlayerOne].size()), 2);
        QCOMPARE(int(board.Lists[kPlayerTwo].size()), 1);
        QVERIFY(board.Lists[kPlayerOne][1].starts_with("2)  "));
        QCOMPARE(Q(board.Points[kPlayerOne]), QString("0"));
        QCOMPARE(Q(board.Points[kPlayerTwo]), QString("0"));

        RecordGame(settings, board, "luis", Outcome(secondRate, "2"));
        QCOMPARE(int(settings.GameNumber), 3);
        QVERIFY(!settings.SecondPlayerTurn);
        QCOMPARE(int(board.Lists[kPlayerTwo].size()), 2);
        QVERIFY(board.Lists[kPlayerTwo][1].starts_with("2)  "));
        QVERIFY(board.Lists[kPlayerTwo][1].ends_with("Err 2"));
        QCOMPARE(Q(board.Points[kPlayerOne]), firstPoints);
        QCOMPARE(Q(board.Points[kPlayerTwo]), secondPoints);
    }

    // Points are read back from their captions, so they keep counting over pairs.
    void pointsAccumulateOverPairs() {
        GameSettings settings = FreshSettings();
        ResultsBoard board;
        board.Load(settings, TwoPlayers());
        const double rates[] = {2, 2, 3, 1, 1, 1, 1, 6};
        for (double rate : rates) RecordGame(settings, board, "luis", Outcome(rate));
        QCOMPARE(Q(board.Points[kPlayerOne]), QString("3"));
        QCOMPARE(Q(board.Points[kPlayerTwo]), QString("3"));
        QCOMPARE(int(settings.GameNumber), 5);
        QCOMPARE(int(board.Lists[kPlayerOne].size()), 4);
        QCOMPARE(int(board.Lists[kPlayerTwo].size()), 4);
    }

    void kindOfMatch_data() {
        QTest::addColumn<QString>("secondName");
        QTest::addColumn<bool>("single");

        QTest::newRow("no second player") << "Jugador 2" << true;
        QTest::newRow("lower-case name") << "jugador 2" << false;
        QTest::newRow("upper-case name") << "JUGADOR 2" << false;
        QTest::newRow("trailing blank") << "Jugador 2 " << false;
        QTest::newRow("a chosen user") << "luis" << false;
    }
    void kindOfMatch() {
        QFETCH(QString, secondName);
        QFETCH(bool, single);

        const std::string name = secondName.toStdString();
        GameSettings settings = FreshSettings();
        ResultsBoard board;
        board.Load(settings, {"ana.jpg", "x.jpg", "ana", name});
        QCOMPARE(board.SinglePlayer, single);
        QCOMPARE(Q(board.Names[kPlayerTwo]), single ? QString() : QString("x"));

        RecordGame(settings, board, name, Outcome(1));
        QCOMPARE(int(settings.GameNumber), single ? 2 : 1);
        QCOMPARE(settings.SecondPlayerTurn, !single);
        QCOMPARE(int(board.Lists[kPlayerOne].size()), 1);
    }

    void resultsNames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");

        QTest::newRow("three-letter extension") << "ana.jpg" << "ana" << "ana";
        QTest::newRow("exactly four characters") << ".jpg" << "x" << "";
        QTest::newRow("too short keeps the shown name") << "ab" << "ana" << "ana";
        QTest::newRow("no file keeps the shown name") << "" << "ana" << "ana";
        QTest::newRow("accented letters are characters") << "Íñigo.png" << "Íñigo" << "Íñigo";
        QTest::newRow("accented extension") << "maría.ñé" << "" << "marí";
        QTest::newRow("four accented characters") << "ñéáó" << "x" << "";
    }
    void resultsNames() {
        QFETCH(QString, file);
        QFETCH(QString, shown);
        QFETCH(QString, expected);
        QCOMPARE(Q(ResultsName(file.toStdString(), shown.toStdString())), expected);
    }

    void loadStartsAFreshBoard() {
        GameSettings settings = FreshSettings();
        settings.GameNumber = 4;
        settings.SecondPlayerTurn = true;
        settings.FirstPlayerRate = 7.5;
        ResultsBoard board;
        board.Lists[kPlayerOne] = {"1)  old"};
        board.Points = {"2", "3"};

        board.Load(settings, TwoPlayers());

        QVERIFY(!settings.SecondPlayerTurn);
        QCOMPARE(int(settings.GameNumber), 4);  // never reset after the player selection
        QVERIFY(board.Lists[kPlayerOne].empty());
        QCOMPARE(Q(board.Points[kPlayerOne]), QString("0"));
        QCOMPARE(Q(board.Points[kPlayerTwo]), QString("0"));
        QCOMPARE(Q(board.Names[kPlayerOne]), QString("ana"));
        QCOMPARE(Q(board.Names[kPlayerTwo]), QString("luis"));
        QVERIFY(!board.SinglePlayer);
    }

    // A results screen loaded again mid-run has shorter lists than GameNumber says.
    void writeLine_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("gameNumber");
        QTest::addColumn<int>("expectedSize");
        QTest::addColumn<int>("expectedIndex");

        QTest::newRow("next entry") << 2 << 3 << 3 << 2;
        QTest::newRow("first entry") << 0 << 1 << 1 << 0;
        QTest::newRow("past the end of an empty list") << 0 << 5 << 1 << 0;
        QTest::newRow("past the end of a short list") << 2 << 7 << 3 << 2;
        QTest::newRow("existing entry replaced") << 3 << 2 << 3 << 1;
        QTest::newRow("game number 0") << 1 << 0 << 2 << 1;
    }
    void writeLine() {
        QFETCH(int, entries);
        QFETCH(int, gameNumber);
        QFETCH(int, expectedSize);
        QFETCH(int, expectedIndex);

        ResultsBoard board;
        for (int i = 0; i < entries; ++i) board.Lists[kPlayerTwo].push_back("old");
        board.WriteLine(kPlayerTwo, gameNumber, "new");

        const std::vector<std::string>& list = board.Lists[kPlayerTwo];
        QCOMPARE(int(list.size()), expectedSize);
        for (int i = 0; i < expectedSize; ++i)
            QCOMPARE(Q(list[i]), QString(i == expectedIndex ? "new" : "old"));
        QVERIFY(board.Lists[kPlayerOne].empty());
    }

    // The single column: (outer width - control width), half to even, halved toward zero.
    void arrangeSinglePlayer_data() {
        QTest::addColumn<double>("windowWidth");
        QTest::addColumn<int>("nameLeft");
        QTest::addColumn<int>("pictureLeft");

        QTest::newRow("designed window with borders") << 8445.0 << 2235 << 3375;
        QTest::newRow("odd difference truncates") << 8446.0 << 2235 << 3375;
        QTest::newRow("half rounds down to even") << 8445.5 << 2235 << 3375;
        QTest::newRow("half rounds up to even") << 8446.5 << 2236 << 3376;
        QTest::newRow("window narrower than the list") << 3000.0 << -487 << 652;
    }
    void arrangeSinglePlayer() {
        QFETCH(double, windowWidth);
        QFETCH(int, nameLeft);
        QFETCH(int, pictureLeft);

        const ResultsLayout layout = ArrangeSinglePlayer(windowWidth);
        QCOMPARE(layout.NameLeft, (long long)nameLeft);
        QCOMPARE(layout.ListLeft, (long long)nameLeft);  // same designed width
        QCOMPARE(layout.PictureLeft, (long long)pictureLeft);
        QVERIFY(!layout.SecondColumnShown);
        QVERIFY(!layout.PointsShown);
    }
};

QTEST_GUILESS_MAIN(TestMatch)
#include "test_match.moc"
