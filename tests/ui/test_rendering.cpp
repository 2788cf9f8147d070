// Every screen, and the sheet in its states, as drawn offscreen, compared with
// committed reference pictures (tests/ui/reference). CIFRANO_WRITE_REFERENCES=1
// writes the pictures instead; a mismatch leaves the drawn picture in the
// working folder for a look.
#include <ctime>

#include "history/progress_screen.h"
#include "test_main.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

// Same size, and no colour differs by more than a rounding step of antialiasing.
void Matches(QWidget* screen, const QString& name) {
    const QString path = QStringLiteral(CIFRANO_TEST_SOURCE_DIR "/ui/reference/") + name + ".png";
    const QImage drawn = screen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIntValue("CIFRANO_WRITE_REFERENCES")) {
        QVERIFY(drawn.save(path));
        return;
    }
    const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
    bool same = !reference.isNull() && drawn.size() == reference.size();
    for (int y = 0; same && y < drawn.height(); ++y) {
        for (int x = 0; same && x < drawn.width(); ++x) {
            const QRgb p = drawn.pixel(x, y), q = reference.pixel(x, y);
            same = qAbs(qRed(p) - qRed(q)) <= 8 && qAbs(qGreen(p) - qGreen(q)) <= 8 &&
                   qAbs(qBlue(p) - qBlue(q)) <= 8;
        }
    }
    if (!same) drawn.save(name + "-drawn.png");
    QVERIFY2(same, qPrintable(name + " differs from " + path));
}

}  // namespace

class TestRendering : public QObject {
    Q_OBJECT

  private slots:
    void setupScreens() {
        Harness h;
        h.AddUser("Luis.png", 160, 100);
        h.flow.Start();
        Matches(h.flow.Find(Splash), "splash");
        h.ToPlayers();
        h.Pick(0, "Ana.png");
        h.Pick(1, "Luis.png");
        Matches(h.flow.Find(PlayerSelection), "players");
        h.Click(PlayerSelection, "Command1");
        Matches(h.flow.Find(ExerciseSelection), "exercise");
        for (int press : {5, 1}) h.Click(ExerciseSelection, QString("Command2(%1)").arg(press));
        Matches(h.flow.Find(ExerciseSelection), "exercise-minutes");  // only the chosen one blue
    }

    // The sheet before "Inicio", with a hit, an error and the active row, and
    // at the end; two players: the second player's game, which scores the pair,
    // of k ( a + b ) problems, whose highlight leaves the seventh cell black.
    void gameAndResults_data() {
        QTest::addColumn<bool>("twoPlayers");
        QTest::newRow("one player") << false;
        QTest::newRow("two players") << true;
    }
    void gameAndResults() {
        QFETCH(bool, twoPlayers);
        AtGame h(1, twoPlayers, twoPlayers ? "A ( B + C ) =\n" : "AA + B =\nA x B =\n");
        const QString suffix = twoPlayers ? "-two" : "";
        Matches(h.Game(), "game-ready" + suffix);
        h.Inicio();
        h.ClickRow(1);
        h.Answer(h.Solution(1));
        h.Answer(h.Solution(2, 1));
        QTest::keyClicks(h.Editor(), "7");
        Matches(h.Game(), "game-playing" + suffix);
        h.Ticks(61);
        Matches(h.Game(), "game-over" + suffix);
        Matches(h.flow.Find(Results), "results" + suffix);
    }

    // The progress window on one game and on three of a type: the chart, its
    // marks and axes, and the table with the best game in bold.
    void progressWindow() {
        qputenv("TZ", "UTC0");
        tzset();
        for (const std::size_t games : {1, 3}) {
            QTemporaryDir dir;
            SqliteHistory history(dir.filePath("historial.sqlite3").toStdString());
            for (auto [day, rate] : {std::pair{0, 4.5}, {1, 6.5}, {3, 5.25}})
                if (history.Games("", "").size() < games)
                    history.Record(FinishedGame{1714737802 + day * 86400, "Lucía", "",
                                                        "AA + B =", 2, int(rate * 2), day, rate});
            ProgressScreen screen(history);
            screen.resize(900, 700);
            screen.show();
            Matches(&screen, QString("progress-%1").arg(games));
        }
    }
};

CIFRANO_TEST_MAIN(TestRendering)
#include "test_rendering.moc"
