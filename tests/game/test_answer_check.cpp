#include <QtTest>

#include "game/answer_check.h"
#include "game/game_test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class TestAnswerCheck : public QObject {
    Q_OBJECT
  private slots:
    // Answers typed in turn into one row of the given cells (of the form they give as a
    // pattern), each followed by a check.
    void judgement_data() {
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("answers");  // separated by "|"
        QTest::addColumn<QString>("cues");     // A = ACIERTO, E = ERROR, in order
        const auto row = [](const QString& name, const QString& cells, const QString& answers,
                            const char* cues) {
            QTest::newRow(qPrintable(name)) << cells << answers << QString(cues);
        };
        const auto value = [&](const QString& cells, double expected) {
            row(cells, cells, QString::number(expected, 'g', 17), "A");
        };
        // Form 4: a op b =; form 7: k ( a op b ) =; form 6: x and : bind first, then left to right.
        const char* ops[] = {"+", "-", "x", ":"};
        const double form4[] = {9, 5, 14, 3.5}, form7[] = {24, 12, 54, 6};
        const double form6[4][4] = {{14, 10, 16, 10}, {6, 2, 0, 6}, {34, 30, 64, 16}, {4, 0, 4, 1}};
        for (int p = 0; p < 4; ++p) {
            value(QString("7 %1 2 =").arg(ops[p]), form4[p]);
            value(QString("2 ( 9 %1 3 ) =").arg(ops[p]), form7[p]);
            for (int q = 0; q < 4; ++q)
                value(QString("8 %1 4 %2 2 =").arg(ops[p], ops[q]), form6[p][q]);
        }
        value("7 X 2 =", 14);  // "X" multiplies as "x" does
        value("7 + 2 ?", 9);   // cell 4 is not read
        // Never judged: unknown signs, form 5, fewer than 4 cells, values that are not finite.
        for (const char* cells : {"7 * 2 =", "7 / 2 =", "8 ( 4 + 2 =", "8 + 4 = 2 =",
                                  "2 [ 9 + 3 ) =", "2 ( 9 % 3 ) =", "7 + 2 = 1", "7 + 2", "5 : 0 =",
                                  "0 : 0 =", "8 : 0 + 1 =", "2 ( 9 : 0 ) =", "1e300 x 1e300 ="})
            row(QString("not judged: ") + cells, cells, "0|1e400", "");
        for (const char* right : {"56", "56.0", " 56", "5 6", "56 word"})
            row(right, "7 x 8 =", right, "A");
        row("\"?\" reads 0: right", "3 - 3 =", "?", "A");
        row("4,5 wrong, 4.5 right, 1e400 wrong", "9 : 2 =", "4,5|4.5|1e400", "EAE");
        row("8 : 2 : 3 exact only", "8 : 2 : 3 =", "1.33|1.3333333333333333", "EA");
        row("right twice: one hit", "7 x 8 =", "56|56", "A");
        row("wrong twice: two errors", "7 x 8 =", "57|57", "EE");
        row("error then corrected", "7 x 8 =", "57|56", "EA");
        row("hit then wrong", "7 x 8 =", "56|57", "AE");
        row("emptied after an error and a hit", "7 x 8 =", "57|56|", "EA");
    }
    void judgement() {
        QFETCH(QString, cells);
        QFETCH(QString, answers);
        QFETCH(QString, cues);
        GameSession s = SessionWithProblems({cells.toStdString()});
        RecordingSoundCues sounds;
        s.CurrentRow = 1;
        for (const QString& answer : answers.split('|')) {
            s.Sheet.Rows[1].AnswerText = answer.toStdString();
            CheckAnswer(s, sounds);
            QCOMPARE(s.Sheet.Rows[1].AnswerText, answer.toStdString());  // a check edits nothing
        }
        QCOMPARE(Cues(sounds), cues);
        const int hits = int(cues.count('A')), errors = int(cues.count('E'));
        QVERIFY(s.HitCount == hits && s.ErrorCount == errors);
        QCOMPARE(s.HitCaption, hits ? std::to_string(hits) : "");
        QCOMPARE(s.ErrorCaption, errors ? std::to_string(errors) : "");
        QCOMPARE(s.Sheet.Rows[1].AnswerColour, ColourAfter(cues));
    }
};

QTEST_GUILESS_MAIN(TestAnswerCheck)
#include "test_answer_check.moc"
