#include <QtTest>

#include "fakes/recording_sound_cues.h"
#include "fakes/scripted_random.h"
#include "game/game_session.h"
#include "game/game_test_support.h"

using namespace cifrano;
using cifrano::testing::FieldsOf;

namespace {

GameSettings Settings(const char* line, short minutes, bool secondPlayer = false) {
    GameSettings settings;
    settings.OperationFields = FieldsOf(line);
    settings.GameMinutes = minutes;
    settings.SecondPlayerTurn = secondPlayer;
    settings.GameNumber = 1;
    return settings;
}

}  // namespace

class TestGameSession : public QObject {
    Q_OBJECT
  private slots:
    void loadValues_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("problems");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("gifStep");
        QTest::addColumn<QString>("length");
        QTest::newRow("1 minute") << 1 << 100 << 60 << 32 << "1 min";
        QTest::newRow("2 minutes") << 2 << 200 << 120 << 16 << "2 min";
        QTest::newRow("3 minutes") << 3 << 300 << 180 << 10 << "3 min";
        QTest::newRow("4 minutes") << 4 << 400 << 240 << 8 << "4 min";
        QTest::newRow("5 minutes") << 5 << 500 << 300 << 6 << "5 min";
        QTest::newRow("6 minutes") << 6 << 600 << 360 << 5 << "6 min";
    }
    void loadValues() {
        QFETCH(int, minutes);
        QFETCH(int, problems);
        QFETCH(int, seconds);
        QFETCH(int, gifStep);
        QFETCH(QString, length);
        GameSession session;
        session.FormLoad(Settings("AA + B =", short(minutes)), "AA + B =");
        QCOMPARE(session.ProblemCount, problems);
        QCOMPARE(session.SecondsLeft, seconds);
        QCOMPARE(session.GifStep, gifStep);
        QCOMPARE(session.LengthCaption, length.toStdString());
        QCOMPARE(session.PictureHeight, 1095);
        QCOMPARE(session.ProblemShape, 4);
        QCOMPARE(session.State, GameState::Ready);
        QVERIFY(session.HitCaption.empty() && session.ErrorCaption.empty());
        QVERIFY(session.ClockCaption.empty());
        QVERIFY(!session.Timer1Enabled && !session.Timer2Enabled && !session.FigureShown);
        QVERIFY(session.ButtonShown);
        QCOMPARE(session.ButtonCaption, std::string("Inicio"));
        // Before "Inicio" the template row is the only row.
        QCOMPARE(session.Sheet.LastRow(), 0);
        QCOMPARE(session.Sheet.Height, 5895);
    }

    void pictureOfTheTurn_data() {
        QTest::addColumn<bool>("secondPlayer");
        QTest::addColumn<int>("picture");
        QTest::newRow("player 1") << false << 0;
        QTest::newRow("player 2") << true << 1;
    }
    void pictureOfTheTurn() {
        QFETCH(bool, secondPlayer);
        QFETCH(int, picture);
        GameSession session;
        session.FormLoad(Settings("A + B =", 1, secondPlayer), "A + B =");
        QCOMPARE(session.ShownPicture, picture);
    }

    void startBuildsSheetThenClocks_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("animation");
        QTest::newRow("1 minute") << 1 << 66765 << "\\gifs\\1.gif";
        QTest::newRow("6 minutes") << 6 << 600 + 650 * 600 + 615 + 550 << "\\gifs\\6.gif";
    }
    void startBuildsSheetThenClocks() {
        QFETCH(int, minutes);
        QFETCH(int, height);
        QFETCH(QString, animation);
        GameSession session;
        RecordingSoundCues sounds;
        SeededRandom random(5);
        session.FormLoad(Settings("AA + B =", short(minutes)), "AA + B =");
        QCOMPARE(session.Command1_Click(random, sounds), ButtonOutcome::GameStarted);
        QCOMPARE(sounds.played, std::vector<SoundCue>{SoundCue::Adelante});
        QCOMPARE(session.Sheet.LastRow(), minutes * 100);
        QCOMPARE(session.Sheet.Height, height);
        QVERIFY(!session.ButtonShown);
        QVERIFY(session.Timer1Enabled && session.Timer2Enabled && session.FigureShown);
        QCOMPARE(session.AnimationFile, animation.toStdString());
        QCOMPARE(session.State, GameState::Playing);
        QCOMPARE(session.FocusRow, 0);  // no box gets the focus by itself
    }

    void startOnlyOnce() {
        GameSession session;
        RecordingSoundCues sounds;
        SeededRandom random(5);
        session.FormLoad(Settings("AA + B =", 1), "AA + B =");
        session.StartGame(random, sounds);
        const std::string firstCell = session.Sheet.Rows[1].Cells[0].Caption;
        session.Sheet.Rows[1].AnswerText = "12";
        QCOMPARE(session.Command1_Click(random, sounds), ButtonOutcome::Ignored);
        session.StartGame(random, sounds);
        QCOMPARE(int(sounds.played.size()), 1);
        QCOMPARE(session.Sheet.Rows[1].AnswerText, std::string("12"));
        QCOMPARE(session.Sheet.Rows[1].Cells[0].Caption, firstCell);
    }

    void buttonAfterGameLeaves() {
        GameSession session;
        RecordingSoundCues sounds;
        SeededRandom random(5);
        session.FormLoad(Settings("AA + B =", 1), "AA + B =");
        session.StartGame(random, sounds);
        session.GameOver = true;
        session.State = GameState::Finished;
        sounds.played.clear();
        QCOMPARE(session.Command1_Click(random, sounds), ButtonOutcome::LeaveScreen);
        QCOMPARE(sounds.played, std::vector<SoundCue>{SoundCue::Continuar});
        QCOMPARE(session.Sheet.LastRow(), 100);  // no new sheet
    }

    // One game, one operation type and one length: later changes to the
    // settings do not reach the game that was loaded.
    void settingsCopiedAtLoad() {
        GameSession session;
        RecordingSoundCues sounds;
        SeededRandom random(11);
        GameSettings settings = Settings("AA + B =", 1);
        session.FormLoad(settings, "AA + B =");
        settings.OperationFields = FieldsOf("AAAA : BBBB = C");
        settings.GameMinutes = 6;
        session.StartGame(random, sounds);
        QCOMPARE(session.Sheet.LastRow(), 100);
        QCOMPARE(session.AnimationFile, std::string("\\gifs\\1.gif"));
        QCOMPARE(session.GameMinutes, 1);
        QCOMPARE(session.OperationText, std::string("AA + B ="));
        for (int r = 1; r <= 100; ++r) {
            const SheetRow& row = session.Sheet.Rows[r];
            QCOMPARE(row.Cells[1].Caption, std::string("+"));
            QVERIFY(!row.Cells[4].Shown);
            QVERIFY(row.Cells[0].Caption.size() <= 2);
        }
    }

    // A pattern without cell 4 is never judged, whatever the previous game was.
    void problemShapeNotCarriedOver() {
        GameSession session;
        session.FormLoad(Settings("A x B + C =", 1), "A x B + C =");
        QCOMPARE(session.ProblemShape, 6);
        session.FormLoad(Settings("A + B", 1), "A + B");
        QCOMPARE(session.ProblemShape, 0);
        QCOMPARE(session.Sheet.AnswerLeft, 6240);
    }

    void reloadStartsFresh() {
        GameSession session;
        RecordingSoundCues sounds;
        SeededRandom random(2);
        session.FormLoad(Settings("A + B =", 1), "A + B =");
        session.StartGame(random, sounds);
        session.HitCount = 4;
        session.HitCaption = "4";
        session.CurrentRow = 9;
        session.RowActive = true;
        session.GifLeft = 300;
        session.Sheet.Top = -1300;
        session.GameOver = true;
        session.Sheet.Enabled = false;
        session.ButtonCaption = "CONTINUAR";
        session.FormLoad(Settings("A + B =", 2), "A + B =");
        QCOMPARE(session.HitCount, 0);
        QVERIFY(session.HitCaption.empty());
        QCOMPARE(session.CurrentRow, 0);
        QVERIFY(!session.RowActive && !session.GameOver);
        QCOMPARE(session.GifLeft, 0);
        QCOMPARE(session.Sheet.Top, 0);
        QVERIFY(session.Sheet.Enabled);
        QCOMPARE(session.Sheet.LastRow(), 0);
        QCOMPARE(session.ButtonCaption, std::string("Inicio"));
        QCOMPARE(session.State, GameState::Ready);
    }

    // Settings no setup screen would give must not break the load.
    void lengthOutsideRange() {
        GameSession session;
        RecordingSoundCues sounds;
        SeededRandom random(2);
        session.FormLoad(Settings("A + B =", 0), "A + B =");
        QCOMPARE(session.ProblemCount, 0);
        QCOMPARE(session.GifStep, 0);
        session.StartGame(random, sounds);
        QCOMPARE(session.Sheet.LastRow(), 0);
    }
};

QTEST_GUILESS_MAIN(TestGameSession)
#include "test_game_session.moc"
