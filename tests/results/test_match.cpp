// The results lines, the board of the results screen, and the turns and points of a match.
#include <QtTest>

#include "results/match.h"
#include "table_rows.h"
#include "test_main.h"

using namespace cifrano;
using cifrano::testing::Rows;

namespace {

// Settings at game 2 and a board loaded for these players, over stale content.
struct Match {
    explicit Match(const std::string& second, const std::string& file = "luis.bmp") {
        settings.GameNumber = 2;
        settings.SecondPlayerTurn = true;  // a load always gives the turn to player 1
        board.Lists[kPlayerOne] = {"stale"};
        ChosenPlayers players;
        players.Names = {"ana", second};
        players.Files = {"ana.jpg", file};
        board.Load(settings, players);
    }
    // Plays a game; returns the line it wrote.
    std::string Play(double rate, int errors = 0) {
        RecordGame(settings, board, {rate, "AA x B =", 0, errors, 1}, ',');
        return settings.SecondPlayerTurn || board.SinglePlayer ? board.Lists[0].back()
                                                               : board.Lists[1].back();
    }
    GameSettings settings;
    ResultsBoard board;
};

}  // namespace

class TestMatch : public QObject {
    Q_OBJECT
  private slots:
    // The second player's name and file; the names shown (the second "" for a single player).
    void load_data() { Rows({"Jugador 2||ana,", "jugador 2|x.bmp|ana,x", "Luis|ab|ana,Luis"}); }
    void load() {
        QFETCH(QByteArrayList, row);
        Match m(row[0].toStdString(), row[1].toStdString());
        QCOMPARE(m.board.Names[0] + "," + m.board.Names[1], row[2].toStdString());
        QCOMPARE(m.board.SinglePlayer, row[0] == "Jugador 2");
        QVERIFY(m.board.Lists[kPlayerOne].empty() && !m.settings.SecondPlayerTurn);
        QCOMPARE(m.settings.GameNumber, 2);  // never reset by a load
    }

    // Every single-player game goes to player 1's list and advances the number.
    void singlePlayer() {
        Match m("Jugador 2");
        QCOMPARE(m.Play(4.5, 2), std::string("2)  4,5 op/min -{AA x B =}- Err 2"));
        QCOMPARE(m.Play(10.0 / 3), std::string("3)  3,33333333333333 op/min -{AA x B =}- Err 0"));
        QVERIFY(m.settings.GameNumber == 4 && !m.settings.SecondPlayerTurn);
        QVERIFY(m.board.Lists[kPlayerTwo].empty() && m.board.Points == (std::array{0, 0}));
        m.settings.GameNumber = 32767;  // a run no person can make still never wraps
        QCOMPARE(m.Play(1).substr(0, 7), std::string("32767) "));
        QCOMPARE(m.settings.GameNumber, 32768);
    }

    // Rates of a pair, then the points, added to 2 and 5 from earlier pairs. Player 1's game
    // waits for player 2's; player 2's scores the pair.
    void twoPlayerPair_data() { Rows({"5.5|5|3|5", "3|3.5|2|6", "4|4|3|6"}); }
    void twoPlayerPair() {
        QFETCH(QByteArrayList, row);
        Match m("luis");
        m.board.Points = {2, 5};
        QCOMPARE(m.Play(row[0].toDouble()).substr(0, 3), std::string("2) "));
        QVERIFY(m.board.Lists[kPlayerTwo].empty() && m.settings.SecondPlayerTurn);
        QVERIFY(m.settings.GameNumber == 2 && m.board.Points == (std::array{2, 5}));
        const std::string line = "2)  " + QByteArray(row[1]).replace('.', ',').toStdString();
        QCOMPARE(m.Play(row[1].toDouble(), 1), line + " op/min -{AA x B =}- Err 1");
        QVERIFY(!m.settings.SecondPlayerTurn && m.settings.GameNumber == 3);
        QVERIFY(m.board.Points == (std::array{row[2].toInt(), row[3].toInt()}));
    }

    // Lines already in a list, the game number, the list after writing "new": a results screen
    // loaded again mid-run has shorter lists than GameNumber says.
    void writeLine_data() {
        Rows({"2|3|o o new", "1|7|o new", "3|2|o new o", "1|1|new", "1|0|o new"});
    }
    void writeLine() {
        QFETCH(QByteArrayList, row);
        ResultsBoard board;
        board.Lists[kPlayerTwo].assign(row[0].toInt(), "o");
        board.WriteLine(kPlayerTwo, row[1].toInt(), "new");
        QByteArrayList list;
        for (const std::string& line : board.Lists[kPlayerTwo])
            list << QByteArray::fromStdString(line);
        QCOMPARE(list.join(' '), row[2]);
    }
};

CIFRANO_TEST_MAIN(TestMatch)
#include "test_match.moc"
