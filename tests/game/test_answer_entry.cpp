#include <QtTest>

#include "common/numbers.h"
#include "game/answer_check.h"
#include "game/answer_entry.h"
#include "game/game_test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class TestAnswerEntry : public QObject {
    Q_OBJECT
  private slots:
    // A script of player actions on ten rows of "2 + 3 =" (answer 5); an eleventh row exists
    // past ProblemCount. c3: click box 3; 3=7: box 3 reads "7" ("3=" empties it); E3, D3, U3,
    // K3: Enter, Down, Up or a digit key in box 3; A0, A1: arrow button 0 or 1; h3: highlight
    // row 3; r3: row 3 active without a click (as by Tab); off: the sheet is disabled. Rows 1..11
    // afterwards: colour b = blue (highlighted), k = black, . = untouched; text _ = empty, ? = the
    // placeholder.
    void script_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("cues");  // A = ACIERTO, E = ERROR, - = arrow
        QTest::addColumn<int>("row");       // the active row, also the focused box
        QTest::addColumn<int>("top");       // of the sheet
        QTest::addColumn<QString>("paint");
        QTest::addColumn<QString>("texts");
        const auto row = [](const char* name, const char* actions, const char* cues, int row,
                            int top, const char* paint, const char* texts) {
            QTest::newRow(name) << actions << cues << row << top << paint << texts;
        };
        // Enter, Down and Up check the active row, then move, highlight and scroll.
        row("Down", "c3 3=7 D3", "E", 4, -650, "..kb.......", "??7_???????");
        row("Up", "c3 3=7 U3", "E", 2, 650, ".bk........", "?_7????????");
        row("Enter; \"?\" typed reads 0", "c1 1=? E1", "E", 2, -650, "kb.........", "?_?????????");
        row("empty box: Enter only moves", "c2 E2", "", 3, -650, ".kb........", "?__????????");
        row("Enter in the last row", "c10 10=7 E10", "E", 10, 0, ".........b.", "?????????7?");
        row("Down in the last row", "c10 10=7 D10", "E", 10, 0, ".........b.", "?????????7?");
        row("Up in row 1", "c1 1=7 U1", "E", 1, 0, "b..........", "7??????????");
        row("other key: no check, no move", "c3 3=7 K3", "", 3, 0, "..b........", "??7????????");
        row("key in another box", "c2 2=9 E6", "E", 7, -650, ".b...kb....", "?9????_????");
        row("a key clears only \"?\"", "r4 K4 5=5 r5 K5", "", 5, 0, "...........", "???_5??????");
        row("Enter before a click", "E3", "", 4, -650, "..kb.......", "???_???????");
        // Clicks check the active row (not the first click), highlight and never scroll.
        row("first click, then another box", "1=9 c1 c5", "E", 5, 0, "k...b......", "9???_??????");
        row("same box again", "c3 3=8 c3 c3 3=5 c3 c3", "EEA", 3, 0, "..b........", "??5????????");
        // A key move leaves PreviousRow on the row it left: the click blackens 2, not 3.
        row("2 -> 3 -> click 7", "c2 E2 c7", "", 7, -650, ".kb...b....", "?__???_????");
        row("arrows: down, down, up", "c4 A1 A1 A0", "---", 4, -650, "...b.......", "???_???????");
        // Boxes that are no played row (0, -1; 11 past ProblemCount, 12 past the sheet) and a
        // disabled sheet take no input.
        row("0, -1", "c2 2=1 E0 U-1 c0 c-1 0=5 A-1 h-1", "", 2, 0, ".b.........", "?1?????????");
        row("11, 12", "c2 2=1 E11 c11 E12 c12 12=5 A12", "", 2, 0, ".b.........", "?1?????????");
        row("disabled sheet", "c2 2=5 off E2 c3 2=6", "", 2, 0, ".b.........", "?5?????????");
    }
    void script() {
        QFETCH(QString, actions);
        QFETCH(QString, cues);
        QFETCH(int, row);
        QFETCH(int, top);
        QFETCH(QString, paint);
        QFETCH(QString, texts);
        GameSession s = SessionWithProblems(std::vector<std::string_view>(11, "2 + 3 ="));
        s.ProblemCount = 10;
        RecordingSoundCues sounds;
        const int keys[] = {kKeyEnter, kKeyDown, kKeyUp, '4'};
        for (const QString& a : actions.split(' ')) {
            const int n = a.mid(1).toInt(), key = QString("EDUK").indexOf(a[0]);
            if (a == "off") s.Sheet.Enabled = false;
            if (a.contains('='))
                SetAnswerText(s, a.section('=', 0, 0).toInt(), a.section('=', 1).toStdString());
            if (a[0] == 'c') Text1_Click(s, sounds, n);
            if (a[0] == 'A') Command2_Click(s, sounds, n);
            if (a[0] == 'h') HighlightRow(s, n);
            if (a[0] == 'r') s.CurrentRow = s.FocusRow = n;
            if (key >= 0) Text1_KeyDown(s, sounds, n, keys[key]);
        }
        QCOMPARE(Cues(sounds), cues);
        QVERIFY(s.CurrentRow == row && s.FocusRow == row);
        QCOMPARE(s.Sheet.Top, top);
        QCOMPARE(s.Sheet.Rows[0].AnswerText, std::string("?"));
        for (int r = 1; r <= 11; ++r) {
            const SheetRow& x = s.Sheet.Rows[r];
            const char c = paint[r - 1].toLatin1(), t = texts[r - 1].toLatin1();
            const Rgb ink = c == 'b' ? colours::kRowHighlight : colours::kBlack;
            QCOMPARE(x.CellColour, ink);
            QCOMPARE(x.NumberColour, c == '.' ? colours::kRowNumber : ink);
            QCOMPARE(x.AnswerText, t == '_' ? std::string() : std::string(1, t));
        }
    }

    // Soak: a seeded random player hammers a six-minute sheet; the counters, the cues and the
    // box colours must still tell the same story, and the active row never leaves the sheet.
    void randomPlayer() {
        GameSession s;
        RecordingSoundCues sounds;
        SeededRandom random(7);
        s.FormLoad(Settings("A x B + C =", 6), "A x B + C =");
        s.StartGame(random, sounds);
        std::vector<QString> last(601);  // the last judgement of each row: "A", "E" or none
        SeededRandom player(11);
        const auto pick = [&](int lo, int hi) { return lo + int(player.Next() * (hi - lo + 1)); };
        const int keys[] = {kKeyEnter, kKeyDown, kKeyUp, '5', 'x'};
        for (int step = 0; step < 30000; ++step) {
            const int row = s.CurrentRow, hits = s.HitCount, errors = s.ErrorCount;
            const auto& c = s.Sheet.Rows[row].Cells;
            const auto right = ExpectedValue(s.ProblemShape, c[0].Caption, c[1].Caption,
                                             c[2].Caption, c[3].Caption, c[4].Caption);
            // The right answer 3 times in 7, else a number, an overflow, "?" or nothing.
            const std::string answer[] = {right ? NumberText(*right) : "",
                                          std::to_string(pick(-5, 200)), "1e400", "?", ""};
            const int action = pick(0, 9), box = s.FocusRow ? s.FocusRow : pick(1, 600);
            if (action < 3) Text1_KeyDown(s, sounds, box, keys[pick(0, 4)]);
            if (action == 3) Text1_KeyDown(s, sounds, pick(-3, 605), keys[pick(0, 4)]);
            if (action == 4) Text1_Click(s, sounds, pick(-3, 605));
            if (action >= 5 && action <= 8) SetAnswerText(s, row, answer[std::max(0, pick(-2, 4))]);
            if (action == 9) Command2_Click(s, sounds, pick(-1, 2));
            // One judgement at most, of the row that was active.
            QVERIFY(s.HitCount - hits + s.ErrorCount - errors <= 1 && s.HitCount >= hits &&
                    s.ErrorCount >= errors);
            if (s.HitCount > hits) last[row] = "A";
            if (s.ErrorCount > errors) last[row] = "E";
            QVERIFY(s.CurrentRow >= 0 && s.CurrentRow <= 600);
        }
        QVERIFY(s.HitCount > 0 && s.ErrorCount > 0);
        QCOMPARE(sounds.Count(SoundCue::Acierto), s.HitCount);
        QCOMPARE(sounds.Count(SoundCue::Error), s.ErrorCount);
        for (int r = 0; r <= 600; ++r) QCOMPARE(s.Sheet.Rows[r].AnswerColour, ColourAfter(last[r]));
    }
};

QTEST_GUILESS_MAIN(TestAnswerEntry)
#include "test_answer_entry.moc"
