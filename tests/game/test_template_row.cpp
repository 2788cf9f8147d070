#include <QtTest>

#include "game/game_test_support.h"
#include "game/template_row.h"

using namespace cifrano;
using cifrano::testing::FieldsOf;

class TestTemplateRow : public QObject {
    Q_OBJECT
  private slots:
    void layout_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("answerLeft");
        QTest::addColumn<int>("underlineX2");
        QTest::addColumn<QString>("shownCells");  // cells 1..7

        QTest::newRow("four fields") << "AA + B =" << 4 << 4320 << 5250 << "1111000";
        QTest::newRow("five fields") << "A x B + C" << 5 << 5040 << 5970 << "1111100";
        QTest::newRow("six fields") << "A x B + C =" << 6 << 5615 << 6545 << "1111110";
        QTest::newRow("seven fields") << "A ( B + C ) =" << 7 << 6215 << 7145 << "1111111";
        // Field 4 empty: the chain stops at cell 4 though cell 6 is in use.
        QTest::newRow("gap at cell 5") << "A x B =  C" << 4 << 4320 << 5250 << "1111010";
        QTest::newRow("three fields") << "A + B" << 0 << 6240 << 7170 << "1110000";
        QTest::newRow("cell 4 empty, later cells used")
            << "A + B  C D E" << 0 << 6240 << 7170 << "1110111";
        QTest::newRow("no fields") << "" << 0 << 6240 << 7170 << "0000000";
    }
    void layout() {
        QFETCH(QString, line);
        QFETCH(int, shape);
        QFETCH(int, answerLeft);
        QFETCH(int, underlineX2);
        QFETCH(QString, shownCells);

        const OperationFields fields = FieldsOf(line.toStdString());
        const TemplateLayout layout = LayoutTemplateRow(fields);
        QCOMPARE(layout.ProblemShape, shape);
        QCOMPARE(layout.AnswerLeft, answerLeft);
        QCOMPARE(layout.UnderlineX2, underlineX2);
        for (int k = 0; k < 7; ++k) {
            const bool shown = shownCells[k] == QLatin1Char('1');
            QCOMPARE(layout.Cells[k].Shown, shown);
            // A used cell shows its field as it is; an unused one keeps its designed caption.
            const std::string expected = shown ? fields[k] : kDesignedCellCaptions[k];
            QCOMPARE(layout.Cells[k].Caption, expected);
        }
    }

    void codesAreShownAsWritten() {
        const TemplateLayout layout = LayoutTemplateRow(FieldsOf("AAAA * BBBB = C"));
        QCOMPARE(layout.Cells[0].Caption, std::string("AAAA"));
        QCOMPARE(layout.Cells[1].Caption, std::string("*"));
        QCOMPARE(layout.Cells[4].Caption, std::string("C"));
    }

    void appliedToSheet_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("four fields") << "AA + B =";
        QTest::newRow("seven fields") << "A ( B + C ) =";
        QTest::newRow("three fields") << "A + B";
    }
    void appliedToSheet() {
        QFETCH(QString, line);
        ProblemSheet sheet;
        const TemplateLayout layout = LayoutTemplateRow(FieldsOf(line.toStdString()));
        ApplyTemplateLayout(layout, sheet);
        QCOMPARE(sheet.AnswerLeft, layout.AnswerLeft);
        QCOMPARE(sheet.UnderlineX2, layout.UnderlineX2);
        QCOMPARE(sheet.UnderlineX1, 240);
        // The template row is a header: never a number, never an answer box.
        QVERIFY(!sheet.Rows[0].NumberShown);
        QVERIFY(!sheet.Rows[0].AnswerShown);
        QCOMPARE(sheet.Rows[0].Top, 600);
        QCOMPARE(sheet.Rows[0].UnderlineY(), 1200);
    }
};

QTEST_GUILESS_MAIN(TestTemplateRow)
#include "test_template_row.moc"
