#include <QtTest>
#include <cmath>
#include <set>

#include "common/numbers.h"
#include "fakes/scripted_random.h"
#include "game/game_test_support.h"
#include "game/problem_generator.h"
#include "game/template_row.h"

using namespace cifrano;
using cifrano::testing::FieldsOf;

namespace {

ProblemSheet Build(const OperationFields& fields, int count, RandomSource& random) {
    ProblemSheet sheet;
    ApplyTemplateLayout(LayoutTemplateRow(fields), sheet);
    BuildProblemRows(sheet, fields, count, random);
    return sheet;
}

ProblemSheet Build(const char* line, int count, std::uint64_t seed = 20240611) {
    SeededRandom random(seed);
    return Build(FieldsOf(line), count, random);
}

double Cell(const SheetRow& row, int cellNumber) {
    return NumericValue(row.Cells[cellNumber - 1].Caption);
}

}  // namespace

class TestProblemGenerator : public QObject {
    Q_OBJECT
  private slots:
    void seededRandomStaysInUnitInterval() {
        SeededRandom random(1);
        for (int i = 0; i < 100000; ++i) {
            const double u = random.Next();
            QVERIFY(u >= 0.0 && u < 1.0);
        }
    }

    // Every code covers its whole range, ends included, and nothing beyond.
    void codeRanges_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("rows");
        const struct {
            int field;
            const char* code;
            int maximum;
            int rows;
        } cases[] = {
            {0, "A", 9, 500},         {0, "AA", 99, 3000}, {0, "AAA", 999, 20000},
            {0, "AAAA", 9999, 60000}, {1, "AA", 99, 3000}, {2, "B", 9, 500},
            {2, "BBBB", 9999, 60000}, {3, "BB", 99, 3000}, {4, "C", 9, 500},
            {4, "BBBB", 9999, 60000}, {5, "C", 9, 500},
        };
        for (const auto& c : cases)
            QTest::addRow("field %d %s", c.field, c.code)
                << c.field << c.code << c.maximum << c.rows;
    }
    void codeRanges() {
        QFETCH(int, field);
        QFETCH(QString, code);
        QFETCH(int, maximum);
        QFETCH(int, rows);
        // Plus signs around the code so that no adjustment touches it.
        OperationFields fields = FieldsOf("7 + 5 + 5 + =");
        fields[field] = code.toStdString();
        SeededRandom random(99);
        const ProblemSheet sheet = Build(fields, rows, random);
        double low = 1e9, high = -1e9;
        for (int r = 1; r <= rows; ++r) {
            const double v = Cell(sheet.Rows[r], field + 1);
            QVERIFY2(v == std::floor(v), sheet.Rows[r].Cells[field].Caption.c_str());
            low = std::min(low, v);
            high = std::max(high, v);
        }
        QCOMPARE(low, 2.0);
        QCOMPARE(high, double(maximum));
    }

    void codeAcceptance_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("letters");
        QTest::newRow("A in field 0") << 0 << "A" << 1;
        QTest::newRow("B in field 0") << 0 << "B" << 0;
        QTest::newRow("aa lower case") << 0 << "aa" << 0;
        QTest::newRow("AAAAA too long") << 0 << "AAAAA" << 0;
        QTest::newRow("AAA in field 1") << 1 << "AAA" << 3;
        QTest::newRow("A in field 2") << 2 << "A" << 0;
        QTest::newRow("BBB in field 3") << 3 << "BBB" << 3;
        QTest::newRow("CC in field 4") << 4 << "CC" << 0;
        QTest::newRow("B in field 4") << 4 << "B" << 0;
        QTest::newRow("BB in field 5") << 5 << "BB" << 0;
        QTest::newRow("C in field 6") << 6 << "C" << 0;
        QTest::newRow("C in field 2") << 2 << "C" << 0;
    }
    void codeAcceptance() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(int, letters);
        QCOMPARE(NumberCodeLength(text.toStdString(), field), letters);
    }

    void divisionIsExact_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::newRow("A : B") << "A : B =" << 4 << 81;
        QTest::newRow("AA : BBBB") << "AA : BBBB =" << 4 << 89991;
    }
    void divisionIsExact() {
        QFETCH(QString, line);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        const ProblemSheet sheet = Build(line.toLatin1().constData(), 20000);
        std::set<int> quotients;
        for (int r = 1; r <= 20000; ++r) {
            const double a = Cell(sheet.Rows[r], 1), b = Cell(sheet.Rows[r], 3);
            QVERIFY(a >= lowest && a <= highest);
            const double q = a / b;
            QCOMPARE(q, std::floor(q));
            QVERIFY(q >= 2 && q <= 9);
            quotients.insert(int(q));
        }
        QCOMPARE(int(quotients.size()), 8);
    }

    void subtractionSingleDigit() {
        const ProblemSheet sheet = Build("AA - B =", 20000);
        bool sawTwo = false, sawLarge = false;
        for (int r = 1; r <= 20000; ++r) {
            const double a = Cell(sheet.Rows[r], 1), b = Cell(sheet.Rows[r], 3);
            QVERIFY(b >= 1);
            if (a < 10) {
                QVERIFY(b <= a - 1);
            } else {
                QVERIFY(b <= 9);
                sawLarge = true;
            }
            if (a == 2) {
                QCOMPARE(b, 1.0);
                sawTwo = true;
            }
        }
        QVERIFY(sawTwo && sawLarge);
    }

    void subtractionBelowFirst_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("AA - BB") << "AA - BB =";
        QTest::newRow("AAA - BB") << "AAA - BB =";
        QTest::newRow("A - BBBB") << "A - BBBB =";
        QTest::newRow("AAAA - BBB, three fields") << "AAAA - BBB";
    }
    void subtractionBelowFirst() {
        QFETCH(QString, line);
        const ProblemSheet sheet = Build(line.toLatin1().constData(), 5000);
        for (int r = 1; r <= 5000; ++r) {
            const double a = Cell(sheet.Rows[r], 1), b = Cell(sheet.Rows[r], 3);
            QVERIFY(b >= 1 && b <= a - 1);
        }
    }

    void randomOperator() {
        const ProblemSheet sheet = Build("AA * B =", 6000);
        std::set<std::string> seen;
        for (int r = 1; r <= 6000; ++r) {
            const SheetRow& row = sheet.Rows[r];
            const std::string& op = row.Cells[1].Caption;
            seen.insert(op);
            const double a = Cell(row, 1), b = Cell(row, 3);
            if (op == "-")
                QVERIFY(b >= 1 && (a < 10 ? b <= a - 1 : b <= 9));
            else
                QVERIFY(b >= 2 && b <= 9);  // "x" and "+" rows keep the drawn value
        }
        QCOMPARE(seen, (std::set<std::string>{"+", "-", "x"}));
    }

    // Operators after cell 2 are never adjusted.
    void laterMinusNotAdjusted() {
        const ProblemSheet sheet = Build("A x B - C =", 4000);
        bool negative = false;
        for (int r = 1; r <= 4000; ++r) {
            const SheetRow& row = sheet.Rows[r];
            QCOMPARE(row.Cells[3].Caption, std::string("-"));
            if (Cell(row, 5) > Cell(row, 1) * Cell(row, 3)) negative = true;
        }
        QVERIFY(negative);
    }

    void literalAndEmptyFields_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");      // cells 1..7
        QTest::addColumn<QStringList>("fixed");  // expected caption per cell, "" = drawn/unchecked
        QTest::newRow("three fields keep the designed =")
            << "A + B"
            << "1111000" << QStringList{"", "+", "", "=", "", "", ""};
        QTest::newRow("star in field 0 is text")
            << "* + B ="
            << "1111000" << QStringList{"*", "+", "", "=", "", "", ""};
        QTest::newRow("CC and B in fields 4 and 5 are text")
            << "A + B = CC B"
            << "1111110" << QStringList{"", "+", "", "=", "CC", "B", ""};
        QTest::newRow("field 6 shown as it is")
            << "A ( B + C ) ="
            << "1111111" << QStringList{"", "(", "", "+", "", ")", "="};
        QTest::newRow("lower-case codes are text")
            << "aa + bb ="
            << "1111000" << QStringList{"aa", "+", "bb", "=", "", "", ""};
        QTest::newRow("empty field 1 keeps x")
            << "A  B ="
            << "1111000" << QStringList{"", "x", "", "=", "", "", ""};
        QTest::newRow("gap hides cell 5 only")
            << "A x B =  C"
            << "1111010" << QStringList{"", "x", "", "=", "", "", ""};
    }
    void literalAndEmptyFields() {
        QFETCH(QString, line);
        QFETCH(QString, shown);
        QFETCH(QStringList, fixed);
        const ProblemSheet sheet = Build(line.toLatin1().constData(), 30);
        for (int r = 1; r <= 30; ++r) {
            const SheetRow& row = sheet.Rows[r];
            for (int k = 0; k < 7; ++k) {
                QCOMPARE(row.Cells[k].Shown, shown[k] == QLatin1Char('1'));
                if (!fixed[k].isEmpty()) QCOMPARE(row.Cells[k].Caption, fixed[k].toStdString());
            }
        }
    }

    void rowNumbersAndTops() {
        const ProblemSheet sheet = Build("AA + B =", 100);
        QCOMPARE(sheet.LastRow(), 100);
        for (int r = 1; r <= 100; ++r) {
            const SheetRow& row = sheet.Rows[r];
            QCOMPARE(row.NumberCaption, std::to_string(r) + "-");
            QVERIFY(row.NumberShown);
            QCOMPARE(row.Top, 600 + 650 * r);
            QCOMPARE(row.UnderlineY(), 1200 + 650 * r);
            QCOMPARE(row.AnswerText, std::string("?"));
            QVERIFY(row.AnswerShown);
            QCOMPARE(row.AnswerColour, colours::kAnswerInitial);
            QVERIFY(!row.Highlighted());
        }
        QCOMPARE(sheet.AnswerLeft, 4320);
        QCOMPARE(sheet.Rows[0].Cells[0].Caption, std::string("AA"));
    }

    void rebuildReplacesRows() {
        const OperationFields fields = FieldsOf("A + B =");
        ProblemSheet sheet;
        SeededRandom random(3);
        BuildProblemRows(sheet, fields, 40, random);
        BuildProblemRows(sheet, fields, 10, random);
        QCOMPARE(sheet.LastRow(), 10);
        BuildProblemRows(sheet, fields, -5, random);
        QCOMPARE(sheet.LastRow(), 0);
    }

    // The order of draws: cell 1, cell 2, cell 3, the adjustment, cells 4, 5, 6.
    void drawOrder_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<double>>("draws");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("drawCount");
        QTest::newRow("minus drawn, adjusted")
            << "AA * BB * C * =" << QList<double>{0.5, 0.4, 0.0, 0.5, 0.9, 0.0, 0.1}
            << QStringList{"51", "-", "26", "x", "2", "+", "="} << 7;
        QTest::newRow("plus drawn, no adjustment draw")
            << "AA * BB * C * =" << QList<double>{0.5, 0.0, 0.5, 0.4, 0.99, 0.7}
            << QStringList{"51", "+", "51", "-", "9", "x", "="} << 6;
        QTest::newRow("division") << "A : B =" << QList<double>{0.99, 0.5, 0.3}
                                  << QStringList{"24", ":", "6", "="} << 3;
        QTest::newRow("single B, first below 10")
            << "A - B =" << QList<double>{0.5, 0.9, 0.5} << QStringList{"6", "-", "3", "="} << 3;
        QTest::newRow("single B, first 10 or more")
            << "AA - B =" << QList<double>{0.5, 0.0, 0.99} << QStringList{"51", "-", "9", "="} << 3;
        QTest::newRow("literals draw nothing")
            << "7 + 5 = 1 2 ?" << QList<double>{} << QStringList{"7", "+", "5", "=", "1", "2", "?"}
            << 0;
    }
    void drawOrder() {
        QFETCH(QString, line);
        QFETCH(QList<double>, draws);
        QFETCH(QStringList, captions);
        QFETCH(int, drawCount);
        ScriptedRandom source(std::vector<double>(draws.begin(), draws.end()));
        const ProblemSheet sheet = Build(FieldsOf(line.toStdString()), 1, source);
        for (int k = 0; k < captions.size(); ++k)
            QCOMPARE(sheet.Rows[1].Cells[k].Caption, captions[k].toStdString());
        QCOMPARE(int(source.draws), drawCount);
    }

    // A first cell of text or 1 must give a defined second cell.
    void subtractionWithSmallFirstCell_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("draw");
        QTest::addColumn<QString>("third");
        QTest::newRow("first cell 1") << "1 - BB =" << 0.7 << "1";
        QTest::newRow("first cell text, field B") << "x - B =" << 0.5 << "0";
        QTest::newRow("first cell text, draw 0") << "x - BB =" << 0.0 << "1";
        QTest::newRow("first cell negative") << "-5 - BB =" << 0.5 << "-2";
        QTest::newRow("first cell infinite keeps draw") << "1e400 - BB =" << 0.0 << "2";
        QTest::newRow("first cell huge") << "1e300 - BB =" << 0.0 << "1";
    }
    void subtractionWithSmallFirstCell() {
        QFETCH(QString, line);
        QFETCH(double, draw);
        QFETCH(QString, third);
        ScriptedRandom random({0.0, draw});  // cell 3 draw (BB gives 2), then the adjustment
        const ProblemSheet sheet = Build(FieldsOf(line.toStdString()), 1, random);
        QCOMPARE(sheet.Rows[1].Cells[2].Caption, third.toStdString());
    }

    void divisionByText() {
        ScriptedRandom random({0.0, 0.5});
        const ProblemSheet sheet = Build(FieldsOf("AA : q ="), 1, random);
        QCOMPARE(sheet.Rows[1].Cells[0].Caption, std::string("0"));
    }
};

QTEST_GUILESS_MAIN(TestProblemGenerator)
#include "test_problem_generator.moc"
