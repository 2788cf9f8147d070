#include <QtTest>

#include "game/game_test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class TestGameSession : public QObject {
    Q_OBJECT
  private slots:
    // Load, "Inicio" (once only), the button after the game, then a reload. The game keeps the
    // operation type and length it was loaded with, whatever the settings say meanwhile.
    void loadStartLeaveReload_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("gifStep");
        QTest::addColumn<int>("height");
        QTest::newRow("1 minute, player 1") << 1 << 32 << 66765;
        QTest::newRow("6 minutes, player 2") << 6 << 5 << 600 + 650 * 600 + 615 + 550;
    }
    void loadStartLeaveReload() {
        QFETCH(int, minutes);
        QFETCH(int, gifStep);
        QFETCH(int, height);
        GameSession s;
        RecordingSoundCues sounds;
        SeededRandom random(5);
        GameSettings settings = Settings("AA + B =", minutes, minutes == 6);
        s.FormLoad(settings, "AA + B =");
        settings = Settings("AAAA : BBBB = C", 3);
        QCOMPARE(s.ProblemCount, minutes * 100);
        QCOMPARE(s.SecondsLeft, minutes * 60);
        QCOMPARE(s.GifStep, gifStep);
        QCOMPARE(s.LengthCaption, std::to_string(minutes) + " min");
        QCOMPARE(s.ShownPicture, minutes == 6 ? 1 : 0);  // the picture of the player's turn
        QVERIFY(s.ButtonShown && !s.Timer1Enabled && !s.Timer2Enabled && !s.FigureShown);
        QCOMPARE(s.Sheet.LastRow(), 0);
        QCOMPARE(s.Command1_Click(random, sounds), ButtonOutcome::GameStarted);
        QVERIFY(!s.ButtonShown && s.Timer1Enabled && s.Timer2Enabled && s.FigureShown);
        QVERIFY(s.State == GameState::Playing && s.FocusRow == 0);  // no box takes the focus
        QCOMPARE(s.Sheet.LastRow(), s.ProblemCount);
        QCOMPARE(s.Sheet.Height, height);
        QCOMPARE(s.AnimationFile, "\\gifs\\" + std::to_string(minutes) + ".gif");
        for (int r = 1; r <= s.ProblemCount; ++r) {
            const SheetRow& row = s.Sheet.Rows[r];
            QVERIFY(row.NumberShown && row.AnswerShown && row.AnswerText == "?" &&
                    row.Cells[1].Caption == "+");
            QVERIFY(row.NumberCaption == std::to_string(r) + "-" && row.Top == 600 + 650 * r);
        }
        s.Sheet.Rows[1].AnswerText = "12";
        QCOMPARE(s.Command1_Click(random, sounds), ButtonOutcome::Ignored);
        QCOMPARE(s.Sheet.Rows[1].AnswerText, std::string("12"));  // no second sheet
        s.GameOver = true;
        s.State = GameState::Finished;
        QCOMPARE(s.Command1_Click(random, sounds), ButtonOutcome::LeaveScreen);
        QCOMPARE(sounds.played, (std::vector<SoundCue>{SoundCue::Adelante, SoundCue::Continuar}));
        // A reload starts afresh; a pattern without cell 4 is never judged, whatever came before.
        s.HitCount = s.CurrentRow = 4;
        s.HitCaption = "4";
        s.RowActive = true;
        s.Sheet.Top = -1300;
        s.Sheet.Enabled = false;
        s.ButtonCaption = kContinueCaption;
        s.FormLoad(Settings("A + B", 0), "A + B");  // and a length no setup screen gives
        QVERIFY(s.ProblemShape == 0 && s.Sheet.AnswerLeft == 6240);
        QVERIFY(s.HitCount == 0 && s.HitCaption.empty() && s.CurrentRow == 0);
        QVERIFY(!s.RowActive && !s.GameOver && s.Sheet.Top == 0 && s.Sheet.Enabled);
        QVERIFY(s.ButtonCaption == kStartCaption && s.State == GameState::Ready);
        QVERIFY(s.ProblemCount == 0 && s.GifStep == 0);
        s.StartGame(random, sounds);
        QCOMPARE(s.Sheet.LastRow(), 0);
    }
};

QTEST_GUILESS_MAIN(TestGameSession)
#include "test_game_session.moc"
