// The progress window over a history in memory: what its chart holds and
// paints, its table, its figures, the keyboard, and the export.
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>

#include "test_main.h"
#include "fake_game_history.h"
#include "history/history_notice_view.h"
#include "history/history_recorder.h"
#include "history/progress_chart_view.h"
#include "history/progress_screen.h"

using namespace cifrano;
using cifrano::testing::FakeGameHistory;

namespace {

FinishedGame Game(const std::string& player, const std::string& operation, std::int64_t at,
                  double rate) {
    return FinishedGame{at, player, "", operation, 2, static_cast<int>(rate * 2), 0, rate, 0, ""};
}

// Separate marks of one exact colour in the image: the points the chart shows.
int Blobs(const QImage& image, QColor colour) {
    QImage left = image.convertToFormat(QImage::Format_RGB32);
    const QRgb mark = colour.rgb();
    int blobs = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            if (left.pixel(x, y) != mark) continue;
            ++blobs;
            std::vector<QPoint> stack{{x, y}};
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                if (!left.valid(p) || left.pixel(p) != mark) continue;
                left.setPixel(p, qRgb(1, 2, 3));  // counted
                stack.insert(stack.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1),
                                           p - QPoint(0, 1)});
            }
        }
    }
    return blobs;
}

QImage Render(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_RGB32);
    widget->render(&image);
    return image;
}

}  // namespace

class ProgressScreenTest : public QObject {
    Q_OBJECT
    FakeGameHistory history_;

  private slots:
    void initTestCase() {
        qputenv("TZ", "UTC0");
        tzset();
    }
    void init() {
        history_ = FakeGameHistory{};
        history_.Kept = {Game("Lucía", "AA + B =", 1714737802, 4.5),
                         Game("Lucía", "AA + B =", 1714824202, 6.0),
                         Game("Carlos", "A x B =", 1714824302, 9.0)};
    }

    void twoGamesInChartAndTable() {
        ProgressScreen screen(history_);
        screen.resize(900, 700);
        screen.show();
        QVERIFY(screen.SelectPlayer("Lucía"));
        ProgressChartView* chart = screen.Chart();
        QCOMPARE(chart->Points().size(), std::size_t(2));
        QCOMPARE(chart->Best(), std::size_t(1));
        // Painted: one ordinary mark and the best one, in their own colours.
        const QImage image = Render(chart);
        QCOMPARE(Blobs(image, QColor(0, 0, 255)), 1);
        QCOMPARE(Blobs(image, QColor(255, 0, 0)), 1);

        QTableView* table = screen.Table();
        QCOMPARE(table->model()->rowCount(), 2);
        // Newest first, with the rate as shown on the results screen.
        QCOMPARE(table->model()->index(0, 0).data().toString(), QString("04/05/2024 12:03"));
        QCOMPARE(table->model()->index(0, 5).data().toString(), QString("6"));
        QCOMPARE(table->model()->index(1, 5).data().toString(), QString("4.5"));
        QCOMPARE(table->model()->index(1, 1).data().toString(), QString("AA + B ="));
        QCOMPARE(table->model()->headerData(3, Qt::Horizontal).toString(), QString("Aciertos"));
        QStringList texts;
        for (const QLabel* label : screen.findChildren<QLabel*>()) texts << label->text();
        QVERIFY2(texts.contains("Mejor marca: 6 op/min (04/05/2024)"), qPrintable(texts.join('|')));
        QVERIFY(texts.contains("Media de las 2 partidas: 5.25 op/min"));
        QVERIFY(texts.contains("Partidas: 2"));
    }

    void playersAndTypesFromTheHistory() {
        history_.Kept.push_back(Game("Álvaro", "A ( B + C ) =", 1714824402, 1));
        history_.Kept.push_back(Game("Lucía", "A x B =", 1714824502, 2));
        ProgressScreen screen(history_);
        QStringList players;
        for (int i = 0; i < screen.Players()->count(); ++i)
            players << screen.Players()->itemText(i);
        QCOMPARE(players, (QStringList{"Álvaro", "Carlos", "Lucía"}));
        QVERIFY(!screen.SelectPlayer("Nadie"));
        QVERIFY(screen.SelectPlayer("Lucía"));
        // The type played last comes first.
        QCOMPARE(screen.Operations()->currentText(), QString("A x B ="));
        QCOMPARE(screen.Chart()->Points().size(), std::size_t(1));
        QVERIFY(screen.SelectOperation("AA + B ="));
        QCOMPARE(screen.Table()->model()->rowCount(), 2);
    }

    void keyboardMovesThroughTheGames_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("selected");
        QTest::newRow("starts at the last; Right stays") << int(Qt::Key_Right) << 1;
        QTest::newRow("Left") << int(Qt::Key_Left) << 0;
        QTest::newRow("Home") << int(Qt::Key_Home) << 0;
        QTest::newRow("End") << int(Qt::Key_End) << 1;
    }
    void keyboardMovesThroughTheGames() {
        QFETCH(int, key);
        ProgressScreen screen(history_);
        screen.SelectPlayer("Lucía");
        QTest::keyClick(screen.Chart(), Qt::Key(key));
        QTEST(screen.Chart()->Selected(), "selected");
        // The table follows the chart: row 0 is the newest game.
        QCOMPARE(screen.Table()->currentIndex().row(), 1 - screen.Chart()->Selected());
        QVERIFY(screen.findChild<QLabel*>("Seleccion")
                    ->text()
                    .startsWith(QString("Partida %1 de 2").arg(screen.Chart()->Selected() + 1)));
    }

    void everyControlIsReachedWithTab() {
        ProgressScreen screen(history_);
        screen.show();
        QList<QWidget*> order;
        QWidget* widget = screen.Players();
        for (int i = 0; i < 6; ++i) {
            order << widget;
            widget = widget->nextInFocusChain();
            while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(&screen))
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, (QList<QWidget*>{screen.Players(), screen.Operations(), screen.Chart(),
                                         screen.Table(), screen.findChild<QPushButton*>("Exportar"),
                                         screen.findChild<QPushButton*>("Cerrar")}));
        QTest::keyClick(&screen, Qt::Key_Escape);
        QVERIFY(!screen.isVisible());
    }

    void emptyWhenTheHistoryFails() {
        FakeGameHistory broken;
        broken.Throw = true;
        HistoryRecorder guarded(broken, nullptr);
        ProgressScreen screen(guarded);
        QCOMPARE(screen.Table()->model()->rowCount(), 0);
        QVERIFY(screen.Chart()->Points().empty());
        QVERIFY(!screen.findChild<QPushButton*>("Exportar")->isEnabled());
    }

    void noticeDoesNotWait() {
        MessageBoxNotice()("No se ha podido usar el historial.");  // returns at once
        QMessageBox* box = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == "AvisoHistorial") box = qobject_cast<QMessageBox*>(widget);
        QVERIFY(box && box->isVisible() && !box->isModal());
        box->close();
    }

    void exportsTheChosenPlayer() {
        QTemporaryDir dir;
        ProgressScreen screen(history_);
        screen.SelectPlayer("Carlos");
        QVERIFY(screen.ExportTo(dir.filePath("carlos.csv")));
        QFile csv(dir.filePath("carlos.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count("\r\n"), 2);  // the header and Carlos's game
        QVERIFY(screen.StatusText().contains("1 partida"));
        QVERIFY(!screen.ExportTo(dir.filePath("no/existe/x.csv")));
        QVERIFY(screen.StatusText().startsWith("No se puede escribir"));
    }
};

CIFRANO_TEST_MAIN(ProgressScreenTest)
#include "test_progress_screen.moc"
