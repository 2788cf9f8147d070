// One game on its own, as the game screen holds it: the sheet laid out and
// drawn, the button, the answer boxes and their judgement, the clock, the
// figure and the outcome.
#include <QtTest>
#include <cmath>

#include "game/answer_check.h"
#include "game/game_session.h"
#include "game/template_row.h"
#include "recording_sound_cues.h"
#include "scripted_random.h"
#include "setup/operation_types.h"
#include "table_rows.h"
#include "test_main.h"

using namespace cifrano;
using cifrano::testing::Rows;

namespace {

struct Game {
    explicit Game(const std::string& line, int minutes = 1, bool secondPlayer = false)
        : settings{SplitOperationType(line), short(minutes), secondPlayer, 1},
          s(settings, line, sounds) {}
    // "Inicio" with every draw 0; then row 1 shows `cells` (a configuration line), if given.
    void Start(const std::string& cells = "") {
        ScriptedRandom random;
        s.Command1_Click(random);
        sounds.played.clear();
        const OperationFields fields = SplitOperationType(cells);
        for (int k = 0; k < 7 && !cells.empty(); ++k) s.Sheet.Rows[1].Cells[k] = {fields[k], true};
    }
    // The cues played: A = ACIERTO, E = ERROR, F = FINAL, - = any other.
    QByteArray Cues() const {
        QByteArray cues;
        for (SoundCue c : sounds.played)
            cues += "-----AEF"[static_cast<int>(c)];  // in SoundCue's order
        return cues;
    }
    GameSettings settings;
    RecordingSoundCues sounds;
    GameSession s;
};

}  // namespace

class GameTest : public QObject {
    Q_OBJECT
  private slots:
    // A field, then per field index 0..6 the letters of the number code it is there, or "*"
    // where it draws a random operator ("0": shown as written), and 1 for a plain decimal
    // fraction (shown with the locale's separator).
    void codes_data() {
        Rows({"A|1100000",     "AAAA|4400000", "B|0011000",     "BB|0022000",    "BBBB|0044440",
              "C|0000110",     "*|0*****0",    "AAAAA|0000000", "BBBBB|0000000", "CC|0000000",
              "a|0000000",     "AB|0000000",   "|0000000",      "0.9|0000000|1", "+2.5|0000000|1",
              "-.5|0000000|1", ".|0000000",    "1.2.3|0000000", "a.b|0000000",   "/.5|0000000",
              ":.5|0000000",   "25|0000000"});
    }
    void codes() {
        QFETCH(QByteArrayList, row);
        for (int k = 0; k < 7; ++k) {
            QCOMPARE(NumberCodeLength(row[0].toStdString(), k), std::max(0, row[1][k] - '0'));
            if (row[0] == "*") QCOMPARE(AcceptsRandomOperator(k), row[1][k] == '*');
        }
        QCOMPARE(IsPlainDecimal(row[0].toStdString()), row.value(2) == "1");
    }

    // The ends of every draw, also for a source that strays outside [0, 1).
    void draws() {
        const double below1 = std::nextafter(1.0, 0.0);
        for (long long letters = 1, top = 10; letters <= 4; ++letters, top *= 10) {
            ScriptedRandom r({0, below1, 1, -0.5, qQNaN(), 7});
            for (long long expected : {2LL, top - 1, top - 1, 2LL, 2LL, top - 1})
                QCOMPARE(RandomNumber(int(letters), r), expected);
        }
        ScriptedRandom r({0, 0.33, 0.34, 0.66, 0.67, below1});
        std::string ops;
        for (int i = 0; i < 6; ++i) ops += RandomOperator(r);
        QCOMPARE(ops, std::string("++--xx"));
        SeededRandom seeded(1);
        std::vector<double> u(10000);
        for (double& x : u) x = seeded.Next();
        const auto [low, high] = std::minmax_element(u.begin(), u.end());
        QVERIFY(*low >= 0 && *low < 0.01 && *high > 0.99 && *high < 1);
        QVERIFY(SeededRandom::SeedFromClock() != SeededRandom::SeedFromClock());
    }

    // A line, its form, the scripted draws, then row 1's captions of cells 1..7 ("_" or
    // missing: hidden). Draws are taken for cell 1, cell 2, cell 3, the adjustment of ":"
    // (cell 1 = cell 3 x 2..9) or "-" (cell 3 in 1..cell 1 - 1, 1..9 for a B after 10 or
    // more), then cells 4, 5, 6. Cells 1 to 4 are always shown, empty or not.
    void layoutAndDraws_data() {
        // clang-format off
        Rows({"A x B + C|5|0 0 0|2 x 2 + 2", "A x B + C =|6|0 0 0|2 x 2 + 2 =",
              "A ( B + C ) =|7|0 0 0|2 ( 2 + 2 ) =", "A x B =  C|4|0 0 0|2 x 2 = _ 2",
              "A + B|0|0 0|2 + 2 =", "A + B  C D E|0|0 0 0|2 + 2 = 2 D E", "A  B =|4|0 0|2 x 2 =",
              "AA * BB * C * =|7|.5 .4 0 .5 .9 0 .1|51 - 26 x 2 + =",
              "A : BB =|4|0 .5 .99|459 : 51 =", "AA * BB - C * =|7|.5 0 .5 .99 .7|51 + 51 - 9 x =",
              "A : B =|4|.99 .5 0|12 : 6 =", "AA : 0.5 =|4|0 .2|1.5 : 0.5 =",
              "AA : q =|4|0 .5|0 : q =", "A - B =|4|.5 .9 .99|6 - 5 =", "15 - B =|4|0 .99|15 - 9 =",
              "AA - BB =|4|.5 0 .99|51 - 50 =", "A - BB =|4|0 0 .99|2 - 1 =",
              "1 - BB =|4|0 .7|1 - 1 =", "x - B =|4|0 .5|x - 0 =", "-5 - BB =|4|0 .5|-5 - -2 =",
              "1e400 - BB =|4|0 0|1e400 - 2 =", " + B =|4|0|222 + 2 =",
              "* + 5 = 1 2 ?|7||* + 5 = 1 2 ?", "B + aa = CC B C|7||B + aa = CC B C",
              "A : 5E14 =|4|0 0|1E+15 : 5E14 ="});
        // clang-format on
    }
    void layoutAndDraws() {
        QFETCH(QByteArrayList, row);
        const OperationFields fields = SplitOperationType(row[0].toStdString());
        const TemplateLayout layout = LayoutTemplateRow(fields);
        const int form = row[1].toInt();
        QCOMPARE(layout.ProblemShape, form);
        ProblemSheet sheet;
        sheet.Rows.clear();  // laid out and built from nothing
        ApplyTemplateLayout(layout, sheet);
        std::vector<double> draws;
        for (const QByteArray& draw : row[2].split(' '))
            if (!draw.isEmpty()) draws.push_back(draw.toDouble());
        ScriptedRandom source(draws);
        BuildProblemRows(sheet, fields, 1, source);
        QCOMPARE(source.draws, draws.size());
        const int answerLeft[] = {6240, 0, 0, 0, 4320, 5040, 5615, 6215};  // the designed places
        QVERIFY(sheet.AnswerLeft == answerLeft[form] &&
                sheet.UnderlineX2 == sheet.AnswerLeft + 930);
        const SheetRow &head = sheet.Rows[0], &problem = sheet.Rows[1];
        QVERIFY(!head.NumberShown && !head.AnswerShown && problem.NumberShown &&
                problem.AnswerShown);
        QVERIFY(problem.NumberCaption == "1-" && problem.AnswerText == "?" &&
                problem.AnswerColour == colours::kAnswerInitial);
        const QByteArrayList expected = row[3].split(' ');
        for (int k = 0; k < 7; ++k) {
            QCOMPARE(head.Cells[k].Shown, !fields[k].empty());
            QCOMPARE(head.Cells[k].Caption,
                     fields[k].empty() ? kDesignedCellCaptions[k] : fields[k]);
            const bool shown = k < expected.size() && expected[k] != "_";
            QCOMPARE(problem.Cells[k].Shown, shown);
            if (shown) QCOMPARE(problem.Cells[k].Caption, expected[k].toStdString());
        }
        BuildProblemRows(sheet, fields, 0, source);
        QCOMPARE(sheet.LastRow(), 0);
    }

    // Form, cells 1 to 5, and the value ("-": not judged). Form 4: a op b; form 7:
    // k ( a op b ); form 6: x and : bind first, else left to right. Only "x" has a second case.
    void expectedValue_data() {
        // clang-format off
        Rows({"4|7 + 2|9", "4|7 - 2|5", "4|7 x 2|14", "4|7 X 2|14", "4|7 : 2|3.5", "4|7 + 2 ? 1|9",
              "4|q + 2|2", "7|2 ( 9 + 3|24", "7|2 ( 9 - 3|12", "7|2 ( 9 x 3|54", "7|2 ( 9 : 3|6",
              "6|8 + 4 + 2|14", "6|8 + 4 - 2|10", "6|8 + 4 x 2|16", "6|8 + 4 : 2|10",
              "6|8 - 4 + 2|6", "6|8 - 4 - 2|2", "6|8 - 4 x 2|0", "6|8 - 4 : 2|6", "6|8 x 4 + 2|34",
              "6|8 x 4 - 2|30", "6|8 x 4 x 2|64", "6|8 x 4 : 2|16", "6|8 : 4 + 2|4",
              "6|8 : 4 - 2|0", "6|8 : 4 x 2|4", "6|8 : 4 : 2|1", "4|7 * 2|-", "4|7 / 2|-",
              "4|7 ++ 2|-", "4|5 : 0|-", "4|0 : 0|-", "4|1e400 x 0|-", "4|1e300 x 1e300|-",
              "6|8 % 4 + 2|-", "6|8 + 4 % 2|-", "6|8 : 0 + 1|-", "6|8 ( 4 + 2|-", "7|2 [ 9 + 3|-",
              "7|2 ( 9 % 3|-", "7|0 ( 9 : 0|-", "0|7 + 2 + 1|-", "5|7 + 2 + 1|-", "8|7 + 2 + 1|-"});
        // clang-format on
    }
    void expectedValue() {
        QFETCH(QByteArrayList, row);
        QByteArrayList c = row[1].split(' ');
        c.resize(5);
        const auto e = ExpectedValue(row[0].toInt(), c[0].toStdString(), c[1].toStdString(),
                                     c[2].toStdString(), c[3].toStdString(), c[4].toStdString());
        QCOMPARE(e.has_value(), row[2] != "-");
        if (e) QCOMPARE(*e, row[2].toDouble());  // exactly: no tolerance hides a wrong last bit
    }

    // A problem, answers typed in turn into its row, each followed by a check, and the cues.
    void judgement_data() {
        Rows({"9 : 2 =|4,5 4.5|EA", "9 : 2 =|4.5 4.5|A", "9 : 2 =|4 4|EE", "9 : 2 =|4.5 4|AE",
              "9 : 2 =|4  |E", "8 : 3 =|2.66666666666667 2.6666666666666665|EA", "3 - 3 =|? -0|A",
              "1.7976931348623157E308 x 1 =|1e400 1.7976931348623157E308|EA", "1E308 x 10 =|1e400|",
              "7 / 2 =|3.5|"});
    }
    void judgement() {
        QFETCH(QByteArrayList, row);
        Game g(row[0].toStdString());
        g.Start(row[0].toStdString());
        g.s.CurrentRow = 1;
        for (const QByteArray& answer : row[1].split(' ')) {
            g.s.SetAnswerText(1, answer.toStdString());
            g.s.CheckAnswer();
            QCOMPARE(g.s.Sheet.Rows[1].AnswerText, answer.toStdString());  // a check edits nothing
        }
        const QByteArray cues = g.Cues();
        QCOMPARE(cues, row[2]);
        const auto count = [&](char c) {
            return cues.count(c) ? std::to_string(cues.count(c)) : "";
        };
        QVERIFY(g.s.HitCaption() == count('A') && g.s.ErrorCaption() == count('E'));
        QVERIFY(g.s.HitCount == cues.count('A') && g.s.ErrorCount == cues.count('E'));
        const Rgb colour = cues.endsWith('A')   ? colours::kAnswerHit
                           : cues.endsWith('E') ? colours::kAnswerError
                                                : colours::kAnswerInitial;
        QCOMPARE(g.s.Sheet.Rows[1].AnswerColour, colour);
        g.s.CurrentRow = 0;  // row 0 is no problem: nothing marks it
        g.s.MarkHit();
        g.s.MarkError();
        QCOMPARE(g.Cues(), cues);
    }

    // With "," as the separator the sheet writes fractions with it, and an answer is judged
    // exactly with either separator. Draws 0.5 then 0.125: AA is 51, and a quotient of 3 makes
    // the dividend 7.5. The line, the problem row shown, an answer, and whether it hits.
    void decimalSeparator_data() {
        Rows({"AA : 2.5 =|7,5 : 2,5 =|3|A", "AA + 2.5 =|51 + 2,5 =|53,5|A",
              "AA + 2.5 =|51 + 2,5 =|53.5|A", "AA + 2.5 =|51 + 2,5 =|53|E"});
    }
    void decimalSeparator() {
        QFETCH(QByteArrayList, row);
        Game g(row[0].toStdString());
        g.s.NumberSeparator = ',';
        ScriptedRandom random({0.5, 0.125});
        g.s.Command1_Click(random);
        QStringList shown;
        for (const TokenCell& cell : g.s.Sheet.Rows[1].Cells)
            if (cell.Shown) shown << QString::fromStdString(cell.Caption);
        QCOMPARE(shown.join(' ').toUtf8(), row[1]);
        g.s.Text1_Click(1);
        g.s.SetAnswerText(1, row[2].toStdString());
        g.s.Text1_KeyDown(1, kKeyEnter);
        QCOMPARE(g.Cues(), "-" + row[3]);
    }

    // A script of player actions on ten rows of "2 + 3 =" (answer 5); an eleventh row exists
    // past ProblemCount. c3: click box 3; 3=7: box 3 reads "7" ("3=" empties it); E3, D3, U3,
    // K3: Enter, Down, Up or a digit key in box 3; A0, A1: arrow button 0 or 1; h3: highlight
    // row 3; r3: row 3 active without a click (as by Tab); off: the sheet is disabled. Then the
    // cues (A, E; - for an arrow), the active and focused row, the sheet's top, and rows 1..11:
    // colour b = blue (highlighted), k = black, . = untouched; text _ = empty, ? = placeholder.
    // Enter, Down and Up check the active row, then move, highlight and scroll; an empty box
    // is not judged, another key neither checks nor moves, and a key clears only "?". Clicks
    // check the active row (not at the first click), highlight, and never scroll. A key move
    // leaves PreviousRow on the row it left. No played row (0, -1; 11 past ProblemCount, 12
    // past the sheet), or a disabled sheet, takes no input.
    void script_data() {
        // clang-format off
        Rows({"c3 3=7 D3|E|4|-650|..kb.......|??7_???????",
              "c2 2=7 U2|E|1|650|bk.........|_7?????????",
              "c1 1=? E1|E|2|-650|kb.........|?_?????????", "c2 E2||3|-650|.kb........|?__????????",
              "c10 10=7 E10|E|10|0|.........b.|?????????7?",
              "c10 10=7 D10|E|10|0|.........b.|?????????7?",
              "c1 1=7 U1|E|1|0|b..........|7??????????", "c3 3=7 K3||3|0|..b........|??7????????",
              "c2 2=9 E6|E|7|-650|.b...kb....|?9????_????", "E3||4|-650|..kb.......|???_???????",
              "r4 K4 5=5 r5 K5||5|0|...........|???_5??????",
              "1=9 c1 c5|E|5|0|k...b......|9???_??????",
              "c3 3=8 c3 c3 3=5 c3 c3|EEA|3|0|..b........|??5????????",
              "c2 E2 c7||7|-650|.kb...b....|?__???_????",
              "c4 A1 A1 A0|---|4|-650|...b.......|???_???????",
              "c2 2=1 E0 U-1 c0 c-1 0=5 A-1 A2 h-1||2|0|.b.........|?1?????????",
              "c2 2=1 E11 c11 E12 c12 12=5 A12||2|0|.b.........|?1?????????",
              "c2 2=5 off E2 c3 2=6||2|0|.b.........|?5?????????"});
        // clang-format on
    }
    void script() {
        QFETCH(QByteArrayList, row);
        Game g("2 + 3 =");
        g.Start();
        GameSession& s = g.s;
        s.ProblemCount = 10;
        s.Sheet.Rows.resize(12);
        for (const QByteArray& a : row[0].split(' ')) {
            const int n = a.mid(1).toInt(), key = QByteArray("EDUK").indexOf(a[0]),
                      is = a.indexOf('=');
            if (a == "off") s.Sheet.Enabled = false;
            if (is > 0) s.SetAnswerText(a.left(is).toInt(), a.mid(is + 1).toStdString());
            if (a[0] == 'c') s.Text1_Click(n);
            if (a[0] == 'A') s.Command2_Click(n);
            if (a[0] == 'h') s.HighlightRow(n);
            if (a[0] == 'r') s.CurrentRow = s.FocusRow = n;
            if (key >= 0)
                s.Text1_KeyDown(n, std::array{kKeyEnter, kKeyDown, kKeyUp, int('4')}[key]);
        }
        QCOMPARE(g.Cues(), row[1]);
        QVERIFY(s.CurrentRow == row[2].toInt() && s.FocusRow == row[2].toInt());
        QVERIFY(s.Sheet.Top == row[3].toInt() && s.Sheet.Rows[0].AnswerText == "?");
        for (int r = 1; r <= 11; ++r) {
            const SheetRow& x = s.Sheet.Rows[r];
            const char c = row[4][r - 1], t = row[5][r - 1];
            const Rgb ink = c == 'b' ? colours::kRowHighlight : colours::kBlack;
            QVERIFY(x.CellColour == ink &&
                    x.NumberColour == (c == '.' ? colours::kRowNumber : ink));
            QCOMPARE(x.AnswerText, t == '_' ? std::string() : std::string(1, t));
        }
    }

    // Minutes (6: player 2's game), the figure's step, the sheet's height once built, the
    // answer standing unconfirmed in row 1 (2 x 2 + 2) at the end, and the last cues: FINAL,
    // then the last check of the active row.
    void wholeGame_data() {
        Rows({"1|32|66765|6|FA", "6|5|391765|6|FA", "2|16|131765|7|FE", "0|0|1765||F"});
    }
    void wholeGame() {
        QFETCH(QByteArrayList, row);
        const int minutes = row[0].toInt(), step = row[1].toInt();
        Game g("A x B + C =", minutes, minutes == 6);
        GameSession& s = g.s;
        QVERIFY(s.State() == GameState::Ready && s.ButtonCaption() == std::string("Inicio"));
        QVERIFY(s.ButtonShown && s.ProblemShape == 6);
        QVERIFY(!s.FigureShown() && s.Sheet.LastRow() == 0 && s.ShownPicture == (minutes == 6));

        ScriptedRandom random;
        QCOMPARE(s.Command1_Click(random), ButtonOutcome::GameStarted);
        QCOMPARE(g.Cues(), "-");  // ADELANTE
        QVERIFY(s.State() == GameState::Playing && s.FigureShown() && s.FocusRow == 0 &&
                !s.ButtonShown);
        QVERIFY(s.Sheet.LastRow() == 100 * minutes && s.Sheet.Height == row[2].toInt());
        const std::size_t draws = random.draws;
        QCOMPARE(s.Command1_Click(random), ButtonOutcome::Ignored);  // no second sheet
        QCOMPARE(random.draws, draws);
        if (minutes > 0) s.Text1_Click(1);
        s.SetAnswerText(1, row[3].toStdString());
        g.sounds.played.clear();

        // The first tick shows the whole length; the tick after "0 : 1" ends the game.
        std::optional<GameOutcome> outcome;
        int ticks = 0;
        for (; !outcome && ticks < 10000; ++ticks) {
            outcome = s.Timer1_Timer();
            s.Timer2_Timer();
            if (ticks == 0 && minutes) QCOMPARE(s.ClockCaption, std::to_string(minutes) + " : 0");
        }
        QVERIFY(ticks == 60 * minutes + 1 && s.ClockCaption == "0 : 0");
        QVERIFY(s.GifStep == step &&
                s.GifLeft == 60 * minutes * step);  // the last tick no longer moves it
        QCOMPARE(g.Cues(), row[4]);
        const int hits = row[3] == "6", errors = row[3] == "7";
        QVERIFY(outcome->Hits == hits && outcome->Errors == errors && outcome->Minutes == minutes);
        QVERIFY(outcome->Rate == (minutes ? double(hits) / minutes : 0) &&
                outcome->OperationText == "A x B + C =");
        QVERIFY(s.State() == GameState::Finished && s.ButtonCaption() == std::string("CONTINUAR"));
        QVERIFY(!s.FigureShown() && !s.Sheet.Enabled && s.ButtonShown);

        // Over: ticks do nothing, the button leaves.
        g.sounds.played.clear();
        s.Timer2_Timer();
        QVERIFY(!s.Timer1_Timer() && g.sounds.played.empty() && s.GifLeft == 60 * minutes * step);
        QCOMPARE(s.Command1_Click(random), ButtonOutcome::LeaveScreen);
        QCOMPARE(g.sounds.played, std::vector<SoundCue>{SoundCue::Continuar});
    }
};

CIFRANO_TEST_MAIN(GameTest)
#include "test_game.moc"
