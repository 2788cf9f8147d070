// The game screen's wiring and whole runs through it: "Inicio", the clocks
// and the figure, keys and clicks reaching the sheet, what the sheet repaints
// and which rows it shows; the time-up hands each game to the results screen,
// which shows its lines and points and keeps it in the history, shown by the
// progress window; a game closed mid-way changes nothing.
#include <sys/stat.h>

#include <QComboBox>
#include <QPaintEvent>
#include <QTableView>

#include "history/progress_chart_view.h"
#include "history/progress_screen.h"
#include "test_main.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

QStringList ResultLines(const Harness& h, int player) {
    const auto* list = h.Child<QListWidget>(Results, QString("List1(%1)").arg(player));
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}
// What the game screen shows: the running clocks with their intervals, the
// visible controls, the big button's caption, hits/errors and the time.
QString Shown(const Harness& h) {
    QStringList shown;
    for (const QTimer* timer : h.Game()->findChildren<QTimer*>())
        if (timer->isActive())
            shown << timer->objectName() + ":" + QString::number(timer->interval());
    for (const char* name : {"Command1", "Gif89a1", "Image1(0)", "Image1(1)", "Text1"})
        if (h.Child(Game, name)->isVisible()) shown << name;
    shown << h.Child<QPushButton>(Game, "Command1")->text()
          << h.Text(Game, "Label9(0)") + "/" + h.Text(Game, "Label9(1)")
          << h.Text(Game, "Label8(1)");
    return shown.join(' ');
}
// The editor stands on the row's answer box and holds the focus.
bool EditorOn(const Harness& h, int row) {
    return h.View()->EditorRow() == row && h.Editor()->isVisible() &&
           h.View()->focusWidget() == h.Editor() &&
           h.Editor()->geometry() == h.View()->AnswerBoxRect(row);
}
// The region a widget is asked to paint.
struct PaintedRegion : QObject {
    explicit PaintedRegion(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion region;
};

// One game from "ACEPTAR" to the time-up, the first rows answered right and
// then wrong ones, then the game screen's "CONTINUAR". Only the picture of
// the player whose turn it is shows; the figure moves, when its file is a
// regular file (never a FIFO, which would block).
void PlayGame(Harness& h, int operation, int minutes, int hits, int errors) {
    const QString picture = h.flow.Settings().SecondPlayerTurn ? "Image1(1)" : "Image1(0)";
    h.Child<QListWidget>(ExerciseSelection, "List1")->setCurrentRow(operation);
    h.ToGame(minutes);
    QCOMPARE(Shown(h), "Command1 " + picture + " Inicio / ");
    h.Inicio();
    QCOMPARE(Shown(h), "Timer1:1000 Timer2:250 Gif89a1 " + picture + " Inicio / ");
    auto* figure = h.Child<QLabel>(Game, "Gif89a1");
    QCOMPARE(figure->movie() != nullptr,
             QFileInfo(h.Path(QString("gifs/%1.gif").arg(minutes))).isFile());
    h.Game()->Timer2_Timer();
    QVERIFY(h.Session().GifLeft > 0 && figure->x() == TwipsToPixels(h.Session().GifLeft));
    h.ClickRow(1);
    for (int row = 1; row <= hits + errors; ++row) h.Answer(h.Solution(row, row > hits));
    h.Ticks(60 * minutes + 1);
    // Time-up: clocks and figure stop, "CONTINUAR" shows, the box takes no more input.
    const std::string counters = h.Session().HitCaption() + "/" + h.Session().ErrorCaption();
    QCOMPARE(Shown(h), "Command1 " + picture + " Text1 CONTINUAR " + counters.c_str() + " 0 : 0");
    QTest::keyClicks(h.Editor(), "9");
    QCOMPARE(h.Editor()->text(), QString());
    QCOMPARE(h.Table().section(" | ", 3), "shown | shown");
    h.Click(Game, "Command1");
    DeleteUnloaded();
    QCOMPARE(h.Table(), "not loaded | minimised,disabled | shown | not loaded | minimised");
}

}  // namespace

class GameScreenTest : public QObject {
    Q_OBJECT

  private slots:
    // A left click on a box makes its row the active one and repaints only the
    // rows it touched; a check that moves the sheet repaints the whole window.
    // Each key checks the active row, then moves, the sheet keeping the active
    // row in place; a click on the active box judges it again.
    void keysAndClicksReachTheSheet() {
        AtGame h;
        h.Inicio();
        QCoreApplication::processEvents();
        PaintedRegion painted(h.View());
        const QRect box = h.View()->AnswerBoxRect(3);
        QTest::mouseClick(h.View(), Qt::RightButton, {}, box.center());
        QTest::mouseClick(h.View(), Qt::LeftButton, {}, box.topLeft() - QPoint(2, 0));
        QVERIFY(!h.Session().RowActive);
        h.ClickRow(3);
        QVERIFY(EditorOn(h, 3) && h.Session().Sheet.Rows[3].Highlighted());
        QCoreApplication::processEvents();
        const auto repainted = [&](int row) {
            return painted.region.contains(QPoint(5, h.View()->AnswerBoxRect(row).center().y()));
        };
        QVERIFY(repainted(3) && !repainted(1) && !repainted(6));
        // The key, the offset added to the right answer, then the active row and
        // hits/errors; "&" and "(" share Up's and Down's key codes and only type.
        for (auto [key, offset, next, counters] : {std::tuple{Qt::Key_Return, 0, 4, "1/"},
                                                   {Qt::Key_Enter, 1, 5, "1/1"},
                                                   {Qt::Key_Down, 1, 6, "1/2"},
                                                   {Qt::Key_Up, 0, 5, "2/2"},
                                                   {Qt::Key_Ampersand, 0, 5, "2/2"},
                                                   {Qt::Key_ParenLeft, 0, 5, "2/2"}}) {
            const int top = h.Session().Sheet.Top;
            painted.region = {};
            h.Answer(h.Solution(h.View()->EditorRow(), offset), key);
            QCOMPARE(h.Text(Game, "Label9(0)") + "/" + h.Text(Game, "Label9(1)"), counters);
            QVERIFY(EditorOn(h, next));
            QCoreApplication::processEvents();
            QCOMPARE(painted.region.boundingRect() == h.View()->rect(),
                     h.Session().Sheet.Top != top);
        }
        h.ClickRow(1);
        QCOMPARE(h.Editor()->text(), QString());  // the "?" is gone
        const int errors = h.Session().ErrorCount;
        QTest::keyClicks(h.Editor(), h.Solution(1, 1));
        QTest::mouseClick(h.Editor(), Qt::RightButton);
        QTest::mouseClick(h.Editor(), Qt::LeftButton);
        QTest::mouseClick(h.Editor(), Qt::LeftButton);
        QVERIFY(h.Session().ErrorCount == errors + 2 && EditorOn(h, 1));
        // The arrows move the sheet a row pitch at a time, without bounds; the
        // window shows the rows in reach and the editor travels with its row.
        QCOMPARE(h.View()->VisibleRows(), std::pair(1, 10));
        h.Click(Game, "Command2(1)");
        for (int i = 0; i < 13; ++i) h.Click(Game, "Command2(0)");
        QCOMPARE(h.View()->VisibleRows(), std::pair(0, -2));
        QVERIFY(EditorOn(h, 1));
    }

    // A game closed mid-way writes nothing, not even with ticks still queued; the results'
    // "CONTINUAR" brings Ana's turn again. Then two pairs, a one-minute and a two-minute game
    // each: the results show every line and the points, the history keeps every game as
    // played, and "Progreso" opens the progress window on Ana's games, chart and table.
    void twoPlayerRun() {
        Harness h("AA + B =\n");
        h.AddUser("Bea.bmp");
        h.AddFigure(1);
        QVERIFY(::mkfifo(QFile::encodeName(h.Path("gifs/2.gif")).constData(), 0600) == 0);
        h.ToPlayers();
        h.Accept("Ana.png", "Bea.bmp");
        h.ToGame(1);
        h.Inicio();
        GameScreen* game = h.Game();
        game->close();
        for (int tick = 0; tick <= 60; ++tick) game->Timer1_Timer();  // ticks already queued
        DeleteUnloaded();
        QVERIFY(ResultLines(h, 0).isEmpty());
        h.Click(Results, "Command1");
        QCOMPARE(h.Table().section(" | ", 3), "shown | minimised");
        PlayGame(h, 0, 1, 2, 0);
        PlayGame(h, 0, 1, 3, 2);
        PlayGame(h, 0, 2, 5, 0);
        PlayGame(h, 0, 2, 6, 1);
        QCOMPARE(ResultLines(h, 0), (QStringList{"1)  2 op/min -{AA + B =}- Err 0",
                                                 "2)  2.5 op/min -{AA + B =}- Err 0"}));
        QCOMPARE(ResultLines(h, 1), (QStringList{"1)  3 op/min -{AA + B =}- Err 2",
                                                 "2)  3 op/min -{AA + B =}- Err 1"}));
        QCOMPARE(h.Text(Results, "Label2(0)") + h.Text(Results, "Label2(1)"), "02");
        QCOMPARE(h.Text(Results, "Label1(0)") + "|" + h.Text(Results, "Label1(1)"), "Ana|Bea");
        QVERIFY(h.Child(Results, "Image1(0)")->x() < h.Child(Results, "Image1(1)")->x());
        QStringList kept;
        for (const FinishedGame& g : h.history.Games("", ""))
            kept << QString::fromStdString(g.Player + "|" + g.Operation + "|") +
                        QString("%1|%2|%3").arg(g.Minutes).arg(g.Hits).arg(g.Errors);
        QCOMPARE(kept, (QStringList{"Ana|AA + B =|1|2|0", "Bea|AA + B =|1|3|2",
                                    "Ana|AA + B =|2|5|0", "Bea|AA + B =|2|6|1"}));
        h.Click(Results, "ProgressButton");
        ProgressScreen* progress = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && qobject_cast<ProgressScreen*>(window))
                progress = static_cast<ProgressScreen*>(window);
        QVERIFY(progress);
        std::vector<double> rates;
        for (const ChartPoint& point : progress->Chart()->Points()) rates.push_back(point.Rate);
        QCOMPARE(rates, (std::vector{2.0, 2.5}));
        QCOMPARE(progress->Table()->model()->index(0, 5).data().toString(), "2.5");  // the newest
        progress->close();
    }

    // The progress window over a history of its own: the players and types to choose, the
    // keyboard through a player's games, the export of the chosen player's, and Escape.
    void choosesMovesAndExports() {
        QTemporaryDir dir;
        SqliteHistory history(dir.filePath("historial.sqlite3").toStdString());
        for (auto [at, player, operation] : {std::tuple{1, "Lucía", "AA + B ="},
                                             {2, "Lucía", "AA + B ="},
                                             {3, "Carlos", "A x B ="},
                                             {4, "Lucía", "A x B ="}})
            history.Record(FinishedGame{at, player, "", operation, 1, at, 0, double(at)});
        ProgressScreen screen(history);
        QVERIFY(screen.Players()->count() == 2 && screen.Players()->itemText(0) == "Carlos");
        QVERIFY(!screen.SelectPlayer("Nadie") && screen.SelectPlayer("Carlos"));
        QCOMPARE(RoundAxisTop(0), 1.0);  // the chart's axis when no game has a hit
        QVERIFY(screen.SelectPlayer("Lucía"));
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
        QVERIFY(screen.ExportTo(dir.filePath("lucia.csv")));
        QVERIFY(screen.StatusText().contains("3 partidas de «Lucía»"));
        screen.show();
        QTest::keyClick(&screen, Qt::Key_Escape);
        QVERIFY(!screen.isVisible());
    }
};

CIFRANO_TEST_MAIN(GameScreenTest)
#include "test_game_screen.moc"
