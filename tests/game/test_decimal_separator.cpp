// Fractions on the sheet are written with the locale's decimal separator, and
// answers are still judged exactly: the check reads the numbers the generator
// produced, and a typed answer may use the separator the player sees.
#include <QTest>

#include "game/game_session.h"
#include "recording_sound_cues.h"
#include "scripted_random.h"
#include "setup/operation_types.h"
#include "test_main.h"

using namespace cifrano;

class TestDecimalSeparator : public QObject {
    Q_OBJECT

  private slots:
    void sheetAndJudgement_data() {
        QTest::addColumn<QString>("operationType");
        QTest::addColumn<bool>("hit");         // for the answer in the row's name
        QTest::addColumn<QString>("problem");  // shown cells of the first problem row
        // Draws 0.5 then 0.125: AA is 51, and a quotient of 3 makes the dividend 7.5.
        QTest::newRow("3") << "AA : 2.5 =" << true << "7,5 : 2,5 =";
        QTest::newRow("53,5") << "AA + 2.5 =" << true << "51 + 2,5 =";
        QTest::newRow("53.5") << "AA + 2.5 =" << true << "51 + 2,5 =";  // a point under a comma
        QTest::newRow("53") << "AA + 2.5 =" << false << "51 + 2,5 =";   // the fraction left out
    }
    void sheetAndJudgement() {
        QFETCH(QString, operationType);
        GameSettings settings;
        settings.OperationFields = SplitOperationType(operationType.toStdString());
        settings.GameMinutes = 1;
        RecordingSoundCues cues;
        GameSession session(settings, operationType.toStdString(), cues);
        session.NumberSeparator = ',';
        ScriptedRandom random({0.5, 0.125});
        QCOMPARE(session.Command1_Click(random), ButtonOutcome::GameStarted);
        QStringList shown;
        for (const TokenCell& cell : session.Sheet.Rows[1].Cells)
            if (cell.Shown) shown << QString::fromStdString(cell.Caption);
        QTEST(shown.join(' '), "problem");
        session.Text1_Click(1);
        session.SetAnswerText(1, QTest::currentDataTag());
        session.Text1_KeyDown(1, kKeyEnter);
        QFETCH(bool, hit);
        QCOMPARE(QList<int>({session.HitCount, session.ErrorCount}), QList<int>({hit, !hit}));
    }
};

CIFRANO_TEST_MAIN(TestDecimalSeparator)
#include "test_decimal_separator.moc"
