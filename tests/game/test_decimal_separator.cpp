// Fractions on the sheet are written with the locale's decimal separator, like
// every other number the program shows, and the answers are still judged
// exactly: the check reads the numbers the generator produced, and a typed
// answer may use the separator the player sees.
#include <QTest>
#include <vector>

#include "game/game_session.h"
#include "setup/operation_types.h"
#include "test_main.h"

using namespace cifrano;

namespace {

class SilentCues : public SoundCues {
  public:
    void Play(SoundCue) override {}
};

// The given draws in order, then 0.
class Draws : public RandomSource {
  public:
    explicit Draws(std::vector<double> values) : values_(std::move(values)) {}
    double Next() override { return next_ < values_.size() ? values_[next_++] : 0.0; }

  private:
    std::vector<double> values_;
    std::size_t next_ = 0;
};

}  // namespace

class TestDecimalSeparator : public QObject {
    Q_OBJECT

  private slots:
    void sheetAndJudgement_data() {
        QTest::addColumn<QString>("operationType");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QList<double>>("draws");
        QTest::addColumn<QString>("problem");  // shown cells 1 to 5 of row 1
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("hit");
        // AA is drawn first (0 gives 2); ":" then draws the quotient (0.125 gives 3).
        const QList<double> quotientThree{0.5, 0.125};
        QTest::newRow("division, comma")
            << "AA : 2.5 =" << QChar(',') << quotientThree << "7,5 : 2,5 ="
            << "3" << true;
        QTest::newRow("division, point")
            << "AA : 2.5 =" << QChar('.') << quotientThree << "7.5 : 2.5 ="
            << "3" << true;
        QTest::newRow("division, comma, wrong")
            << "AA : 2.5 =" << QChar(',') << quotientThree << "7,5 : 2,5 ="
            << "2" << false;
        QTest::newRow("sum, comma typed")
            << "AA + 2.5 =" << QChar(',') << QList<double>{0.0} << "2 + 2,5 ="
            << "4,5" << true;
        QTest::newRow("sum, point typed under comma")
            << "AA + 2.5 =" << QChar(',') << QList<double>{0.0} << "2 + 2,5 ="
            << "4.5" << true;
        QTest::newRow("sum, fraction left out")
            << "AA + 2.5 =" << QChar(',') << QList<double>{0.0} << "2 + 2,5 ="
            << "4" << false;
        QTest::newRow("sum, comma is no point under point")
            << "AA + 2.5 =" << QChar('.') << QList<double>{0.0} << "2 + 2.5 ="
            << "4,5" << false;
        QTest::newRow("two operators, comma")
            << "A x 1.5 + C =" << QChar(',') << QList<double>{0.0, 0.0} << "2 x 1,5 + 2 ="
            << "5" << true;
        QTest::newRow("text that is no plain fraction stays")
            << "AA + 1e1 =" << QChar(',') << QList<double>{0.0} << "2 + 1e1 ="
            << "12" << true;
    }
    void sheetAndJudgement() {
        QFETCH(QString, operationType);
        QFETCH(QChar, separator);
        QFETCH(QList<double>, draws);
        QFETCH(QString, problem);
        QFETCH(QString, typed);
        QFETCH(bool, hit);

        GameSettings settings;
        settings.OperationFields = SplitOperationType(operationType.toStdString());
        settings.GameMinutes = 1;
        SilentCues cues;
        GameSession session(settings, operationType.toStdString(), cues);
        session.NumberSeparator = separator.toLatin1();
        Draws random({draws.begin(), draws.end()});
        QCOMPARE(session.Command1_Click(random), ButtonOutcome::GameStarted);

        QStringList shown;
        for (const TokenCell& cell : session.Sheet.Rows[1].Cells)
            if (cell.Shown) shown << QString::fromStdString(cell.Caption);
        QCOMPARE(shown.join(' '), problem);
        // The template row shows the operation type exactly as written.
        QCOMPARE(session.Sheet.Rows[0].Cells[2].Caption, settings.OperationFields[2]);

        session.Text1_Click(1);
        session.SetAnswerText(1, typed.toStdString());
        session.Text1_KeyDown(1, kKeyEnter);
        QCOMPARE(session.HitCount, hit ? 1 : 0);
        QCOMPARE(session.ErrorCount, hit ? 0 : 1);
    }
};

CIFRANO_TEST_MAIN(TestDecimalSeparator)
#include "test_decimal_separator.moc"
