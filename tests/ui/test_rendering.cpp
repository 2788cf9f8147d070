// Every screen, and the sheet in its states, as drawn offscreen, compared with
// committed reference pictures (tests/ui/reference). CIFRANO_WRITE_REFERENCES=1
// writes the pictures instead; a mismatch leaves the drawn picture in the
// working folder for a look.
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

QString ReferencePath(const QString& name) {
    return QStringLiteral(CIFRANO_TEST_SOURCE_DIR "/ui/reference/") + name + ".png";
}

// Pixels whose colour differs by more than a rounding step of antialiasing.
int DifferingPixels(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 ||
                std::abs(qBlue(p) - qBlue(q)) > 8)
                ++differing;
        }
    }
    return differing;
}

void Matches(QWidget* screen, const QString& name) {
    const QImage drawn = screen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIntValue("CIFRANO_WRITE_REFERENCES")) {
        QVERIFY(drawn.save(ReferencePath(name)));
        return;
    }
    const QImage reference =
        QImage(ReferencePath(name)).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!reference.isNull(), qPrintable(ReferencePath(name)));
    const bool same = drawn.size() == reference.size() && DifferingPixels(drawn, reference) == 0;
    if (!same) drawn.save(name + "-drawn.png");
    QVERIFY2(same, qPrintable(name + " differs from its reference picture"));
}

}  // namespace

class TestRendering : public QObject {
    Q_OBJECT

  private slots:
    void setupScreens() {
        Harness h;
        h.AddUser("Luis.png", 160, 100);
        h.flow.Start();
        Matches(&h.flow.Splash(), "splash");
        h.ToPlayers();
        h.Pick(0, "Ana.png");
        h.Pick(1, "Luis.png");
        Matches(&h.flow.PlayerSelection(), "players");
        Click(&h.flow.PlayerSelection(), "Command1");
        Matches(&h.flow.ExerciseSelection(), "exercise");
    }

    // The sheet before "Inicio", with a hit, an error and the active row, and at the end.
    void gameAndResults_data() {
        QTest::addColumn<bool>("twoPlayers");
        QTest::newRow("one player") << false;
        QTest::newRow("two players") << true;
    }
    void gameAndResults() {
        QFETCH(bool, twoPlayers);
        // Two players: the second player's game, which scores the pair.
        Game h(1, twoPlayers);
        const QString suffix = twoPlayers ? "-two" : "";
        Matches(&h.screen(), "game-ready" + suffix);
        h.Inicio();
        h.Type(1, h.Answer(1));
        QTest::keyClick(h.editor(), Qt::Key_Return);
        QTest::keyClicks(h.editor(), h.Answer(2, 1));
        QTest::keyClick(h.editor(), Qt::Key_Return);
        QTest::keyClicks(h.editor(), "7");
        Matches(&h.screen(), "game-playing" + suffix);
        for (int tick = 0; tick <= 60; ++tick) h.screen().Timer1_Timer();
        Matches(&h.screen(), "game-over" + suffix);
        Matches(&h.flow.Results(), "results" + suffix);
    }
};

QTEST_MAIN(TestRendering)
#include "test_rendering.moc"
