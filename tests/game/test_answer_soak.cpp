#include <QtTest>
#include <random>
#include <vector>

#include "common/numbers.h"
#include "fakes/recording_sound_cues.h"
#include "game/answer_check.h"
#include "game/answer_entry.h"
#include "game/game_session.h"
#include "game/game_test_support.h"

using namespace cifrano;

// A random player hammers a six-minute sheet; the counters, the cues and the
// box colours must still tell the same story.
class TestAnswerSoak : public QObject {
    Q_OBJECT
  private slots:
    void randomPlayer_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<uint>("seed");
        QTest::newRow("AA * B =") << "AA * B =" << 1u;
        QTest::newRow("A x B + C =") << "A x B + C =" << 2u;
        QTest::newRow("A ( B : C ) =") << "A ( B : C ) =" << 3u;
    }
    void randomPlayer() {
        QFETCH(QString, line);
        QFETCH(uint, seed);
        GameSettings settings;
        settings.OperationFields = cifrano::testing::FieldsOf(line.toStdString());
        settings.GameMinutes = 6;
        GameSession s;
        RecordingSoundCues sounds;
        SeededRandom random(seed);
        s.FormLoad(settings, line.toStdString());
        s.StartGame(random, sounds);
        sounds.played.clear();
        QCOMPARE(s.Sheet.LastRow(), 600);

        enum class Judged { None, Hit, Error };
        std::vector<Judged> last(601, Judged::None);
        std::mt19937 player(seed);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(player);
        };
        const int keys[] = {kKeyEnter, kKeyDown, kKeyUp, '5', 'x'};

        for (int step = 0; step < 30000; ++step) {
            const int hits = s.HitCount, errors = s.ErrorCount, row = s.CurrentRow;
            const int action = pick(0, 99);
            if (action < 40) {
                const int box = s.FocusRow > 0 ? s.FocusRow : pick(1, 600);
                Text1_KeyDown(s, sounds, box, keys[pick(0, 4)]);
            } else if (action < 50) {
                Text1_KeyDown(s, sounds, pick(-3, 605), keys[pick(0, 4)]);
            } else if (action < 65) {
                Text1_Click(s, sounds, pick(-3, 605));
            } else if (action < 92) {
                std::string answer;
                const SheetRow* active =
                    s.Sheet.IsRow(s.CurrentRow) ? &s.Sheet.Rows[s.CurrentRow] : nullptr;
                switch (pick(0, 4)) {
                    case 0:
                    case 1:
                        if (active) {
                            const auto& c = active->Cells;
                            const auto e = ExpectedValue(s.ProblemShape, c[0].Caption, c[1].Caption,
                                                         c[2].Caption, c[3].Caption, c[4].Caption);
                            if (e) answer = NumberText(*e);
                        }
                        break;
                    case 2:
                        answer = std::to_string(pick(-5, 200));
                        break;
                    case 3:
                        answer = "1e400";
                        break;
                    default:
                        answer = pick(0, 1) ? "?" : "";
                        break;
                }
                SetAnswerText(s, s.CurrentRow, answer);
            } else {
                Command2_Click(s, sounds, pick(-1, 2));
            }
            const int judged = (s.HitCount - hits) + (s.ErrorCount - errors);
            QVERIFY(judged == 0 || judged == 1);
            if (s.HitCount > hits) last[row] = Judged::Hit;
            if (s.ErrorCount > errors) last[row] = Judged::Error;
            QVERIFY(s.CurrentRow >= 0 && s.CurrentRow <= 600);
        }

        QVERIFY(s.HitCount > 0 && s.ErrorCount > 0);
        QCOMPARE(sounds.Count(SoundCue::Acierto), s.HitCount);
        QCOMPARE(sounds.Count(SoundCue::Error), s.ErrorCount);
        QCOMPARE(s.HitCaption, std::to_string(s.HitCount));
        QCOMPARE(s.ErrorCaption, std::to_string(s.ErrorCount));
        QCOMPARE(s.Sheet.Top % 650, 0);
        QCOMPARE(s.Sheet.LastRow(), 600);
        for (int r = 1; r <= 600; ++r) {
            const Rgb expected = last[r] == Judged::Hit     ? colours::kAnswerHit
                                 : last[r] == Judged::Error ? colours::kAnswerError
                                                            : colours::kAnswerInitial;
            QVERIFY2(s.Sheet.Rows[r].AnswerColour == expected, qPrintable(QString::number(r)));
        }
        QCOMPARE(s.Sheet.Rows[0].AnswerColour, colours::kAnswerInitial);
    }
};

QTEST_GUILESS_MAIN(TestAnswerSoak)
#include "test_answer_soak.moc"
