#include <QtTest>
#include <cmath>
#include <limits>

#include "fakes/recording_sound_cues.h"
#include "game/answer_check.h"
#include "game/game_test_support.h"

using namespace cifrano;
using cifrano::testing::SessionWithProblems;

namespace {

const double kNotJudged = std::numeric_limits<double>::quiet_NaN();

void AddExpected(const char* name, int shape, QStringList cells, double expected) {
    while (cells.size() < 5) cells << "";
    QTest::newRow(name) << shape << cells << expected;
}

// One row of the given form, answered with `answer` and checked.
struct Checked {
    GameSession session;
    RecordingSoundCues sounds;
    Checked(int shape, std::vector<std::string> cells, const std::string& answer)
        : session(SessionWithProblems(shape, {std::move(cells)})) {
        session.CurrentRow = 1;
        session.Sheet.Rows[1].AnswerText = answer;
        CheckAnswer(session, sounds);
    }
};

}  // namespace

class TestAnswerCheck : public QObject {
    Q_OBJECT
  private slots:
    void expectedValue_data() {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<double>("expected");  // NaN: not judged

        AddExpected("4: +", 4, {"7", "+", "2", "="}, 9);
        AddExpected("4: -", 4, {"7", "-", "2", "="}, 5);
        AddExpected("4: x", 4, {"7", "x", "2", "="}, 14);
        AddExpected("4: X", 4, {"7", "X", "2", "="}, 14);
        AddExpected("4: :", 4, {"7", ":", "2", "="}, 3.5);
        AddExpected("4: cell 4 not read", 4, {"7", "+", "2", "?"}, 9);

        // Form 6, a = 8, b = 4, c = 2: x and : bind first, then left to right.
        AddExpected("6: x +", 6, {"8", "x", "4", "+", "2"}, 34);
        AddExpected("6: x -", 6, {"8", "x", "4", "-", "2"}, 30);
        AddExpected("6: x x", 6, {"8", "x", "4", "x", "2"}, 64);
        AddExpected("6: x :", 6, {"8", "x", "4", ":", "2"}, 16);
        AddExpected("6: + +", 6, {"8", "+", "4", "+", "2"}, 14);
        AddExpected("6: + -", 6, {"8", "+", "4", "-", "2"}, 10);
        AddExpected("6: + x", 6, {"8", "+", "4", "x", "2"}, 16);
        AddExpected("6: + :", 6, {"8", "+", "4", ":", "2"}, 10);
        AddExpected("6: - +", 6, {"8", "-", "4", "+", "2"}, 6);
        AddExpected("6: - -", 6, {"8", "-", "4", "-", "2"}, 2);
        AddExpected("6: - x", 6, {"8", "-", "4", "x", "2"}, 0);
        AddExpected("6: - :", 6, {"8", "-", "4", ":", "2"}, 6);
        AddExpected("6: : +", 6, {"8", ":", "4", "+", "2"}, 4);
        AddExpected("6: : -", 6, {"8", ":", "4", "-", "2"}, 0);
        AddExpected("6: : x", 6, {"8", ":", "4", "x", "2"}, 4);
        AddExpected("6: : :", 6, {"8", ":", "4", ":", "2"}, 1);
        AddExpected("6: 2 + 3 x 4", 6, {"2", "+", "3", "x", "4"}, 14);
        AddExpected("6: 10 - 4 : 2", 6, {"10", "-", "4", ":", "2"}, 8);
        AddExpected("6: 3 - 2 - 1", 6, {"3", "-", "2", "-", "1"}, 0);
        AddExpected("6: 8 : 2 : 3", 6, {"8", ":", "2", ":", "3"}, 4.0 / 3.0);

        // Form 7: k ( a op b ).
        AddExpected("7: +", 7, {"2", "(", "9", "+", "3"}, 24);
        AddExpected("7: -", 7, {"2", "(", "9", "-", "3"}, 12);
        AddExpected("7: x", 7, {"2", "(", "9", "x", "3"}, 54);
        AddExpected("7: :", 7, {"2", "(", "9", ":", "3"}, 6);
        AddExpected("7: 3 ( 4 + 5 )", 7, {"3", "(", "4", "+", "5"}, 27);

        // Rows that are not judged.
        AddExpected("4: unknown sign *", 4, {"7", "*", "2", "="}, kNotJudged);
        AddExpected("4: slash", 4, {"7", "/", "2", "="}, kNotJudged);
        AddExpected("4: padded x", 4, {"7", " x", "2", "="}, kNotJudged);
        AddExpected("4: padded +", 4, {"7", "+ ", "2", "="}, kNotJudged);
        AddExpected("6: first sign unknown", 6, {"8", "(", "4", "+", "2"}, kNotJudged);
        AddExpected("6: second sign unknown", 6, {"8", "+", "4", "=", "2"}, kNotJudged);
        AddExpected("7: no bracket", 7, {"2", "[", "9", "+", "3"}, kNotJudged);
        AddExpected("7: sign unknown", 7, {"2", "(", "9", "%", "3"}, kNotJudged);
        AddExpected("shape 5", 5, {"7", "+", "2", "=", "1"}, kNotJudged);
        AddExpected("shape 0", 0, {"7", "+", "2"}, kNotJudged);
        AddExpected("shape 3", 3, {"7", "+", "2"}, kNotJudged);
        AddExpected("4: division by zero", 4, {"5", ":", "0", "="}, kNotJudged);
        AddExpected("4: zero by zero", 4, {"0", ":", "0", "="}, kNotJudged);
        AddExpected("4: text divisor", 4, {"5", ":", "B", "="}, kNotJudged);
        AddExpected("6: division by zero", 6, {"8", ":", "0", "+", "1"}, kNotJudged);
        AddExpected("7: division by zero", 7, {"2", "(", "9", ":", "0"}, kNotJudged);
        AddExpected("4: overflow", 4, {"1e300", "x", "1e300", "="}, kNotJudged);
    }
    void expectedValue() {
        QFETCH(int, shape);
        QFETCH(QStringList, cells);
        QFETCH(double, expected);
        std::vector<std::string> c;
        for (const QString& s : cells) c.push_back(s.toStdString());
        const auto value = ExpectedValue(shape, c[0], c[1], c[2], c[3], c[4]);
        if (std::isnan(expected)) {
            QVERIFY(!value.has_value());
        } else {
            QVERIFY(value.has_value());
            QCOMPARE(*value, expected);  // exact: no tolerance anywhere
        }
    }

    void judgement_data() {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("errors");
        const QStringList times{"7", "x", "8", "="};
        QTest::newRow("56") << 4 << times << "56" << 1 << 0;
        QTest::newRow("56.0") << 4 << times << "56.0" << 1 << 0;
        QTest::newRow("leading blank") << 4 << times << " 56" << 1 << 0;
        QTest::newRow("blank between digits") << 4 << times << "5 6" << 1 << 0;
        QTest::newRow("trailing word") << 4 << times << "56 word" << 1 << 0;
        QTest::newRow("57") << 4 << times << "57" << 0 << 1;
        QTest::newRow("placeholder reads 0") << 4 << times << "?" << 0 << 1;
        QTest::newRow("placeholder right for 0")
            << 4 << QStringList{"3", "-", "3", "="} << "?" << 1 << 0;
        QTest::newRow("empty not judged") << 4 << times << "" << 0 << 0;
        QTest::newRow("4.5") << 4 << QStringList{"9", ":", "2", "="} << "4.5" << 1 << 0;
        QTest::newRow("decimal comma") << 4 << QStringList{"9", ":", "2", "="} << "4,5" << 0 << 1;
        const QStringList thirds{"8", ":", "2", ":", "3"};
        QTest::newRow("1.33 not exact") << 6 << thirds << "1.33" << 0 << 1;
        QTest::newRow("same double") << 6 << thirds << "1.3333333333333333" << 1 << 0;
        QTest::newRow("overflowing answer") << 4 << times << "1e400" << 0 << 1;
        QTest::newRow("negative overflow") << 4 << times << "-1e400" << 0 << 1;
        QTest::newRow("division by zero") << 4 << QStringList{"5", ":", "0", "="} << "0" << 0 << 0;
        QTest::newRow("infinite answer, zero divisor")
            << 4 << QStringList{"5", ":", "0", "="} << "1e400" << 0 << 0;
        QTest::newRow("shape 5") << 5 << QStringList{"7", "+", "2", "=", "1"} << "9" << 0 << 0;
        QTest::newRow("unknown sign") << 4 << QStringList{"7", "*", "2", "="} << "14" << 0 << 0;
    }
    void judgement() {
        QFETCH(int, shape);
        QFETCH(QStringList, cells);
        QFETCH(QString, answer);
        QFETCH(int, hits);
        QFETCH(int, errors);
        std::vector<std::string> c;
        for (const QString& s : cells) c.push_back(s.toStdString());
        Checked checked(shape, c, answer.toStdString());
        QCOMPARE(checked.session.HitCount, hits);
        QCOMPARE(checked.session.ErrorCount, errors);
        QCOMPARE(checked.sounds.Count(SoundCue::Acierto), hits);
        QCOMPARE(checked.sounds.Count(SoundCue::Error), errors);
        const Rgb colour = hits     ? colours::kAnswerHit
                           : errors ? colours::kAnswerError
                                    : colours::kAnswerInitial;
        QCOMPARE(checked.session.Sheet.Rows[1].AnswerColour, colour);
        // The answer text is never changed by a check.
        QCOMPARE(checked.session.Sheet.Rows[1].AnswerText, answer.toStdString());
    }

    // Answers typed into one 7 x 8 row, each followed by a check.
    void sequences_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("errors");
        QTest::addColumn<QString>("outcome");  // colour at the end: initial, hit, error
        QTest::addColumn<QString>("cues");     // A = ACIERTO, E = ERROR
        QTest::newRow("right twice") << QStringList{"56", "56"} << 1 << 0 << "hit"
                                     << "A";
        QTest::newRow("wrong twice") << QStringList{"57", "57"} << 0 << 2 << "error"
                                     << "EE";
        QTest::newRow("error then corrected") << QStringList{"57", "56"} << 1 << 1 << "hit"
                                              << "EA";
        QTest::newRow("hit then wrong") << QStringList{"56", "57"} << 1 << 1 << "error"
                                        << "AE";
        QTest::newRow("hit, wrong, right again") << QStringList{"56", "1", "56"} << 2 << 1 << "hit"
                                                 << "AEA";
        QTest::newRow("hit then emptied") << QStringList{"56", ""} << 1 << 0 << "hit"
                                          << "A";
        QTest::newRow("error then emptied") << QStringList{"57", ""} << 0 << 1 << "error"
                                            << "E";
        QTest::newRow("empty only") << QStringList{""} << 0 << 0 << "initial"
                                    << "";
    }
    void sequences() {
        QFETCH(QStringList, answers);
        QFETCH(int, hits);
        QFETCH(int, errors);
        QFETCH(QString, outcome);
        QFETCH(QString, cues);
        GameSession session = SessionWithProblems(4, {{"7", "x", "8", "="}});
        RecordingSoundCues sounds;
        session.CurrentRow = 1;
        for (const QString& answer : answers) {
            session.Sheet.Rows[1].AnswerText = answer.toStdString();
            CheckAnswer(session, sounds);
        }
        QCOMPARE(session.HitCount, hits);
        QCOMPARE(session.ErrorCount, errors);
        QCOMPARE(session.HitCaption, hits ? std::to_string(hits) : std::string());
        QCOMPARE(session.ErrorCaption, errors ? std::to_string(errors) : std::string());
        const Rgb colour = outcome == "hit"     ? colours::kAnswerHit
                           : outcome == "error" ? colours::kAnswerError
                                                : colours::kAnswerInitial;
        QCOMPARE(session.Sheet.Rows[1].AnswerColour, colour);
        QString played;
        for (SoundCue cue : sounds.played) played += cue == SoundCue::Acierto ? 'A' : 'E';
        QCOMPARE(played, cues);
    }

    void countersAcrossRows() {
        GameSession session =
            SessionWithProblems(4, {{"2", "+", "2"}, {"3", "+", "3"}, {"4", "+", "4"}});
        RecordingSoundCues sounds;
        const char* answers[] = {"4", "6", "9"};
        for (int r = 1; r <= 3; ++r) {
            session.CurrentRow = r;
            session.Sheet.Rows[r].AnswerText = answers[r - 1];
            CheckAnswer(session, sounds);
        }
        QCOMPARE(session.HitCaption, std::string("2"));
        QCOMPARE(session.ErrorCaption, std::string("1"));
        QCOMPARE(session.Sheet.Rows[1].AnswerColour, colours::kAnswerHit);
        QCOMPARE(session.Sheet.Rows[3].AnswerColour, colours::kAnswerError);
    }

    // Row 0 is the template; rows beyond the sheet do not exist.
    void rowsThatAreNeverJudged_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("template row") << 0;
        QTest::newRow("past the last row") << 2;
        QTest::newRow("negative") << -1;
    }
    void rowsThatAreNeverJudged() {
        QFETCH(int, row);
        GameSession session = SessionWithProblems(4, {{"0", "+", "0"}});
        RecordingSoundCues sounds;
        session.Sheet.Rows[0].Cells = session.Sheet.Rows[1].Cells;
        session.CurrentRow = row;
        CheckAnswer(session, sounds);
        MarkHit(session, sounds);
        MarkError(session, sounds);
        QCOMPARE(session.HitCount + session.ErrorCount, 0);
        QVERIFY(sounds.played.empty());
        QCOMPARE(session.Sheet.Rows[0].AnswerColour, colours::kAnswerInitial);
    }
};

QTEST_GUILESS_MAIN(TestAnswerCheck)
#include "test_answer_check.moc"
