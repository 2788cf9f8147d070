#include <QtTest>

#include "fakes/recording_sound_cues.h"
#include "game/answer_entry.h"
#include "game/game_test_support.h"

using namespace cifrano;
using cifrano::testing::SessionWithProblems;

namespace {

constexpr int kRows = 10;

// Ten rows of 2 + 3 =: the right answer is always 5.
GameSession TenRows() {
    return SessionWithProblems(4,
                               std::vector<std::vector<std::string>>(kRows, {"2", "+", "3", "="}));
}

bool Blue(const GameSession& s, int row) {
    const SheetRow& r = s.Sheet.Rows[row];
    return r.CellColour == colours::kRowHighlight && r.NumberColour == colours::kRowHighlight;
}
bool Black(const GameSession& s, int row) {
    const SheetRow& r = s.Sheet.Rows[row];
    return r.CellColour == colours::kBlack && r.NumberColour == colours::kBlack;
}

}  // namespace

class TestAnswerEntry : public QObject {
    Q_OBJECT
  private slots:
    void keyMoves_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("top");
        QTest::newRow("Enter") << 3 << kKeyEnter << 4 << -650;
        QTest::newRow("Down") << 3 << kKeyDown << 4 << -650;
        QTest::newRow("Up") << 3 << kKeyUp << 2 << 650;
        QTest::newRow("Enter in the last row") << kRows << kKeyEnter << kRows << 0;
        QTest::newRow("Down in the last row") << kRows << kKeyDown << kRows << 0;
        QTest::newRow("Up in row 1") << 1 << kKeyUp << 1 << 0;
        QTest::newRow("Up in row 2") << 2 << kKeyUp << 1 << 650;
        QTest::newRow("other key") << 3 << 65 << 3 << 0;
    }
    void keyMoves() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        QFETCH(int, top);
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, from);
        SetAnswerText(s, from, "7");  // wrong
        Text1_KeyDown(s, sounds, from, key);

        const bool checks = key == kKeyEnter || key == kKeyDown || key == kKeyUp;
        QCOMPARE(s.ErrorCount, checks ? 1 : 0);
        QCOMPARE(s.CurrentRow, to);
        QCOMPARE(s.FocusRow, to);
        QCOMPARE(s.Sheet.Top, top);
        QVERIFY(Blue(s, to));
        if (to != from) {
            QCOMPARE(s.PreviousRow, from);
            QVERIFY(Black(s, from));
            // The newly active box loses its placeholder at once.
            QCOMPARE(s.Sheet.Rows[to].AnswerText, std::string());
        }
        QCOMPARE(s.Sheet.Rows[from].AnswerText, std::string("7"));
    }

    void enterJudgesRightAnswer() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 1);
        SetAnswerText(s, 1, "5");
        Text1_KeyDown(s, sounds, 1, kKeyEnter);
        QCOMPARE(s.HitCount, 1);
        QCOMPARE(s.Sheet.Rows[1].AnswerColour, colours::kAnswerHit);
        QCOMPARE(sounds.played, std::vector<SoundCue>{SoundCue::Acierto});
    }

    void placeholderClearedBeforeTyping() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        s.CurrentRow = 4;  // active without a click, e.g. reached by Tab
        Text1_KeyDown(s, sounds, 4, '4');
        QCOMPARE(s.Sheet.Rows[4].AnswerText, std::string());
        SetAnswerText(s, 4, "4");
        Text1_KeyDown(s, sounds, 4, '2');
        QCOMPARE(s.Sheet.Rows[4].AnswerText, std::string("4"));
    }

    void enterInEmptyBoxOnlyMoves() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 2);
        Text1_KeyDown(s, sounds, 2, kKeyEnter);
        QVERIFY(sounds.played.empty());
        QCOMPARE(s.CurrentRow, 3);
        QCOMPARE(s.Sheet.Rows[2].AnswerColour, colours::kAnswerInitial);
    }

    void questionMarkTypedAsAnswer() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 1);
        SetAnswerText(s, 1, "?");
        Text1_KeyDown(s, sounds, 1, kKeyEnter);
        QCOMPARE(s.ErrorCount, 1);  // read as 0
        QCOMPARE(s.Sheet.Rows[2].AnswerText, std::string());
    }

    // The check always examines the active row, not the box the key came from.
    void keyInAnotherBoxChecksActiveRow() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 2);
        SetAnswerText(s, 2, "9");
        Text1_KeyDown(s, sounds, 6, kKeyEnter);
        QCOMPARE(s.Sheet.Rows[2].AnswerColour, colours::kAnswerError);
        QCOMPARE(s.CurrentRow, 7);
        QCOMPARE(s.PreviousRow, 6);
    }

    void firstClickChecksNothing() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        s.Sheet.Rows[1].AnswerText = "9";
        Text1_Click(s, sounds, 1);
        QVERIFY(sounds.played.empty());
        QVERIFY(s.RowActive);
        QCOMPARE(s.CurrentRow, 1);
        QCOMPARE(s.PreviousRow, 1);
        QCOMPARE(s.FocusRow, 1);
        QCOMPARE(s.Sheet.Rows[1].AnswerText, std::string("9"));  // only "?" is cleared
        Text1_Click(s, sounds, 5);
        QCOMPARE(s.ErrorCount, 1);
        QCOMPARE(s.Sheet.Rows[1].AnswerColour, colours::kAnswerError);
        QCOMPARE(s.Sheet.Rows[5].AnswerText, std::string());
        QCOMPARE(s.Sheet.Top, 0);  // clicks never scroll
    }

    void sameBoxClickedAgainChecksAgain() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 3);
        SetAnswerText(s, 3, "8");
        Text1_Click(s, sounds, 3);
        Text1_Click(s, sounds, 3);
        QCOMPARE(s.ErrorCount, 2);
        SetAnswerText(s, 3, "5");
        Text1_Click(s, sounds, 3);
        Text1_Click(s, sounds, 3);
        QCOMPARE(s.HitCount, 1);
        QVERIFY(Blue(s, 3));
    }

    // A key move leaves PreviousRow on the row it left, so a later click
    // blackens that row and not the one the key moved to.
    void keyMoveThenClickLeavesTwoRowsBlue() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 2);
        Text1_KeyDown(s, sounds, 2, kKeyEnter);
        QVERIFY(Blue(s, 3));
        QVERIFY(Black(s, 2));
        Text1_Click(s, sounds, 7);
        QVERIFY(Blue(s, 7));
        QVERIFY(Blue(s, 3));
        QVERIFY(Black(s, 2));
        QCOMPARE(s.CurrentRow, 7);
        QCOMPARE(s.PreviousRow, 7);
    }

    void untouchedRowKeepsDesignedNumberColour() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 2);
        QCOMPARE(s.Sheet.Rows[4].NumberColour, colours::kRowNumber);
        QVERIFY(!s.Sheet.Rows[4].Highlighted());
    }

    void arrowButtons() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 4);
        Command2_Click(s, sounds, 1);
        Command2_Click(s, sounds, 1);
        Command2_Click(s, sounds, 0);
        QCOMPARE(s.Sheet.Top, -650);
        QCOMPARE(s.CurrentRow, 4);
        QCOMPARE(s.FocusRow, 4);
        QVERIFY(Blue(s, 4));
        QCOMPARE(sounds.Count(SoundCue::ArribaAbajo), 3);
    }

    void outOfRangeIndexesIgnored_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("template row") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("one past the last") << kRows + 1;
        QTest::newRow("far out") << 32767;
    }
    void outOfRangeIndexesIgnored() {
        QFETCH(int, index);
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 2);
        SetAnswerText(s, 2, "1");
        Text1_KeyDown(s, sounds, index, kKeyEnter);
        Text1_KeyDown(s, sounds, index, kKeyUp);
        Text1_Click(s, sounds, index);
        SetAnswerText(s, index, "5");
        Command2_Click(s, sounds, index == 0 ? 2 : index);
        HighlightRow(s, index == 0 ? -1 : index);
        QVERIFY(sounds.played.empty());
        QCOMPARE(s.CurrentRow, 2);
        QCOMPARE(s.Sheet.Top, 0);
        QCOMPARE(s.Sheet.Rows[0].AnswerText, std::string("?"));
    }

    // Rows beyond ProblemCount are not played even if they exist.
    void problemCountBoundsTheMoves() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        s.ProblemCount = 5;
        Text1_Click(s, sounds, 5);
        Text1_KeyDown(s, sounds, 5, kKeyDown);
        QCOMPARE(s.CurrentRow, 5);
        Text1_Click(s, sounds, 6);
        QCOMPARE(s.CurrentRow, 5);
    }

    void disabledSheetTakesNoInput() {
        GameSession s = TenRows();
        RecordingSoundCues sounds;
        Text1_Click(s, sounds, 2);
        SetAnswerText(s, 2, "5");
        s.Sheet.Enabled = false;
        Text1_KeyDown(s, sounds, 2, kKeyEnter);
        Text1_Click(s, sounds, 3);
        SetAnswerText(s, 2, "6");
        QVERIFY(sounds.played.empty());
        QCOMPARE(s.CurrentRow, 2);
        QCOMPARE(s.Sheet.Rows[2].AnswerText, std::string("5"));
    }
};

QTEST_GUILESS_MAIN(TestAnswerEntry)
#include "test_answer_entry.moc"
