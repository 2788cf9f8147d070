#include <QtTest>
#include <cmath>
#include <cstring>
#include <set>

#include "common/numbers.h"
#include "fakes/scripted_random.h"
#include "game/game_test_support.h"

using namespace cifrano;
using cifrano::testing::FieldsOf;

namespace {

ProblemSheet Build(const QString& line, int count, RandomSource&& random = SeededRandom(99)) {
    const OperationFields fields = FieldsOf(line.toStdString());
    ProblemSheet sheet;
    ApplyTemplateLayout(LayoutTemplateRow(fields), sheet);
    BuildProblemRows(sheet, fields, count, random);
    return sheet;
}

}  // namespace

class TestProblemGenerator : public QObject {
    Q_OBJECT
  private slots:
    // Seeded sheets: the probed cell hits both ends of its range, nothing beyond, whole numbers.
    void ranges_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::newRow("A in field 0") << "A + 5 + 5 + =" << 1 << 2 << 9;
        QTest::newRow("AAA in field 0") << "AAA + 5 + 5 + =" << 1 << 2 << 999;
        QTest::newRow("AAAA: 1 and 10000 never") << "AAAA + 5 + 5 + =" << 1 << 2 << 9999;
        QTest::newRow("AA in field 1") << "7 AA 5 + 5 + =" << 2 << 2 << 99;
        QTest::newRow("B in field 2") << "7 + B + 5 + =" << 3 << 2 << 9;
        QTest::newRow("BB in field 3") << "7 + 5 BB 5 + =" << 4 << 2 << 99;
        QTest::newRow("C in field 4") << "7 + 5 + C + =" << 5 << 2 << 9;
        QTest::newRow("BBBB in field 4") << "7 + 5 + BBBB + =" << 5 << 2 << 9999;
        QTest::newRow("C in field 5") << "7 + 5 + 5 C =" << 6 << 2 << 9;
        QTest::newRow("A : B, cell 1") << "A : B =" << 1 << 4 << 81;
        QTest::newRow("AA - B, cell 3") << "AA - B =" << 3 << 1 << 9;
    }
    void ranges() {
        QFETCH(QString, line);
        QFETCH(int, cell);
        QFETCH(int, low);
        QFETCH(int, high);
        const int rows = high > 99 ? 60000 : 3000;
        const ProblemSheet sheet = Build(line, rows);
        std::set<double> seen;
        for (int r = 1; r <= rows; ++r)
            seen.insert(NumericValue(sheet.Rows[r].Cells[cell - 1].Caption));
        QVERIFY(*seen.begin() == low && *seen.rbegin() == high);
        for (double v : seen) QCOMPARE(v, std::floor(v));
    }

    // ":" divides exactly, every quotient 2..9 drawn; "-" keeps cell 3 in 1..cell 1 - 1, so 1
    // after a 2, also for a B of several digits and without "="; "*" draws "+", "-" or "x" only.
    void adjustments() {
        for (const char* line : {"A : B =", "AA - B =", "AAAA - BBB", "AA * B ="}) {
            const ProblemSheet sheet = Build(line, 20000);
            std::set<std::string> ops;
            std::set<double> quotients, afterTwo;
            for (int r = 1; r <= 20000; ++r) {
                const auto& cells = sheet.Rows[r].Cells;
                const std::string& op = *ops.insert(cells[1].Caption).first;
                const double a = NumericValue(cells[0].Caption), b = NumericValue(cells[2].Caption);
                if (op == ":") quotients.insert(a / b);
                if (op == "-") QVERIFY(b >= 1 && b <= a - 1);
                if (op == "-" && a == 2) afterTwo.insert(b);
            }
            if (ops.count(":")) QCOMPARE(quotients, (std::set<double>{2, 3, 4, 5, 6, 7, 8, 9}));
            if (ops.count("-")) QCOMPARE(afterTwo, std::set<double>{1});
            if (std::strchr(line, '*')) QCOMPARE(ops, (std::set<std::string>{"+", "-", "x"}));
        }
    }

    // Row 0 laid out from a line, and row 1 built from scripted draws taken in the order cell 1,
    // cell 2, cell 3, the adjustment, cells 4, 5, 6 (all of them used). Row 1 captions of
    // cells 1..7: "_" or missing = hidden. Row 0 shows each non-empty field as written.
    void layoutAndDraws_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("shape");  // form of the problem
        QTest::addColumn<QList<double>>("draws");
        QTest::addColumn<QString>("captions");
        const auto row = [](const char* name, const char* line, int shape, QList<double> draws,
                            const char* captions) {
            QTest::newRow(name) << line << shape << draws << captions;
        };
        row("five fields", "A x B + C", 5, {0, 0, 0}, "2 x 2 + 2");
        row("six fields", "A x B + C =", 6, {0, 0, 0}, "2 x 2 + 2 =");
        row("seven fields", "A ( B + C ) =", 7, {0, 0, 0}, "2 ( 2 + 2 ) =");
        row("gap at cell 5: form 4, cell 5 hidden", "A x B =  C", 4, {0, 0, 0}, "2 x 2 = _ 2");
        row("three fields keep the designed =", "A + B", 0, {0, 0}, "2 + 2 =");
        row("cell 4 unused, later cells used", "A + B  C D E", 0, {0, 0, 0}, "2 + 2 = 2 D E");
        row("empty field 1 keeps x", "A  B =", 4, {0, 0}, "2 x 2 =");
        row("-, adjusted", "AA * BB * C * =", 7, {0.5, 0.4, 0, 0.5, 0.9, 0, 0.1},
            "51 - 26 x 2 + =");
        row("+; later - kept", "AA * BB - C * =", 7, {0.5, 0, 0.5, 0.99, 0.7}, "51 + 51 - 9 x =");
        row("division", "A : B =", 4, {0.99, 0.5, 0.3}, "24 : 6 =");
        row("single B, cell 1 below 10", "A - B =", 4, {0.5, 0.9, 0.5}, "6 - 3 =");
        row("single B, cell 1 of 10 or more", "AA - B =", 4, {0.5, 0, 0.99}, "51 - 9 =");
        // A cell 1 of text, 1, or out of range still gives a defined cell 3.
        row("cell 1 is 1", "1 - BB =", 4, {0, 0.7}, "1 - 1 =");
        row("cell 1 text, B", "x - B =", 4, {0, 0.5}, "x - 0 =");
        row("cell 1 negative", "-5 - BB =", 4, {0, 0.5}, "-5 - -2 =");
        row("cell 1 infinite keeps the draw", "1e400 - BB =", 4, {0, 0}, "1e400 - 2 =");
        row("division by text", "AA : q =", 4, {0, 0.5}, "0 : q =");
        // Fields that are no code of their place are text and draw nothing.
        row("star and literals", "* + 5 = 1 2 ?", 7, {}, "* + 5 = 1 2 ?");
        row("codes out of place, lower case", "B + aa = CC B C", 7, {}, "B + aa = CC B C");
        row("AAAAA, C in field 2, B and BB", "AAAAA + C = B BB", 6, {}, "AAAAA + C = B BB");
    }
    void layoutAndDraws() {
        QFETCH(QString, line);
        QFETCH(int, shape);
        QFETCH(QList<double>, draws);
        QFETCH(QString, captions);
        const OperationFields fields = FieldsOf(line.toStdString());
        QCOMPARE(LayoutTemplateRow(fields).ProblemShape, shape);
        ScriptedRandom source(std::vector<double>(draws.begin(), draws.end()));
        const ProblemSheet sheet = Build(line, 1, std::move(source));
        const int answerLeft[] = {6240, 0, 0, 0, 4320, 5040, 5615, 6215};  // by form
        QCOMPARE(sheet.AnswerLeft, answerLeft[shape]);
        QVERIFY(sheet.UnderlineX1 == 240 && sheet.UnderlineX2 == sheet.AnswerLeft + 930);
        QVERIFY(!sheet.Rows[0].NumberShown && !sheet.Rows[0].AnswerShown);  // a header row
        const QStringList expected = captions.split(' ');
        for (int k = 0; k < 7; ++k) {
            const TokenCell& head = sheet.Rows[0].Cells[k];
            QCOMPARE(head.Shown, !fields[k].empty());
            QCOMPARE(head.Caption, fields[k].empty() ? kDesignedCellCaptions[k] : fields[k]);
            const bool shown = k < expected.size() && expected[k] != "_";
            QCOMPARE(sheet.Rows[1].Cells[k].Shown, shown);
            if (shown) QCOMPARE(sheet.Rows[1].Cells[k].Caption, expected[k].toStdString());
        }
        QCOMPARE(int(source.draws), int(draws.size()));
    }
};

QTEST_GUILESS_MAIN(TestProblemGenerator)
#include "test_problem_generator.moc"
