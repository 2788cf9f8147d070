// The progress window over a history in memory (what it shows of a run is in
// test_game_screen): the players and types to choose, the keyboard through a
// player's games, and the export of the chosen player's.
#include <QComboBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "fake_game_history.h"
#include "history/progress_chart_view.h"
#include "history/progress_screen.h"
#include "test_main.h"

using namespace cifrano;

class ProgressScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void choosesMovesAndExports() {
        testing::FakeGameHistory history;
        for (auto [at, player, operation] : {std::tuple{1, "Lucía", "AA + B ="},
                                             {2, "Lucía", "AA + B ="},
                                             {3, "Carlos", "A x B ="},
                                             {4, "Lucía", "A x B ="}})
            history.Kept.push_back(FinishedGame{at, player, "", operation, 1, at, 0, double(at)});
        ProgressScreen screen(history);
        QStringList players;
        for (int i = 0; i < screen.Players()->count(); ++i)
            players << screen.Players()->itemText(i);
        QCOMPARE(players, (QStringList{"Carlos", "Lucía"}));
        QVERIFY(!screen.SelectPlayer("Nadie") && screen.SelectPlayer("Lucía"));
        QCOMPARE(screen.Operations()->currentText(), "A x B =");  // the type played last
        QVERIFY(screen.SelectOperation("AA + B ="));
        // The last game is selected; the table, newest first, follows the chart.
        QString selected;
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_End, Qt::Key_Home}) {
            QTest::keyClick(screen.Chart(), key);
            selected += QString::number(screen.Chart()->Selected()) +
                        QString::number(screen.Table()->currentIndex().row());
        }
        QCOMPARE(selected, "10011001");
        QTemporaryDir dir;
        QVERIFY(screen.ExportTo(dir.filePath("lucia.csv")));
        QFile csv(dir.filePath("lucia.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count("\r\n"), 4);  // the header and Lucía's three games
        QVERIFY(screen.StatusText().contains("3 partidas"));
        QVERIFY(!screen.ExportTo(dir.filePath("no/existe/x.csv")));
        QVERIFY(screen.StatusText().startsWith("No se puede escribir"));
    }
};

CIFRANO_TEST_MAIN(ProgressScreenTest)
#include "test_progress_screen.moc"
