// What a damaged configuration file, a strange operation type or a wild typed
// answer does to a whole game: read, laid out, generated and judged, never a
// crash, and each case with the reaction it gets (hit, error or not judged).
#include <QtTest>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "game/answer_check.h"
#include "game/answer_entry.h"
#include "game/game_session.h"
#include "recording_sound_cues.h"
#include "scripted_random.h"
#include "setup/operation_types.h"

using namespace cifrano;

namespace {

std::string Std(const QByteArray& bytes) { return std::string(bytes.constData(), bytes.size()); }

std::optional<double> ExpectedOf(const GameSession& s, int row) {
    const auto& c = s.Sheet.Rows[row].Cells;
    return ExpectedValue(s.ProblemShape, c[0].Caption, c[1].Caption, c[2].Caption, c[3].Caption,
                         c[4].Caption);
}

struct Outcome {
    int shape = 0;
    int hits = 0;
    int errors = 0;
};

// A one-minute game of this operation type in which the player clicks the
// first box and then, row after row, types the right answer (or 0 where the
// row has none) and presses Enter.
Outcome PlayEveryRow(const std::string& line, RandomSource& random) {
    GameSettings settings;
    settings.OperationFields = SplitOperationType(line);
    settings.GameMinutes = 1;
    GameSession s;
    RecordingSoundCues sounds;
    s.FormLoad(settings, line);
    s.StartGame(random, sounds);
    if (s.Sheet.LastRow() != 100) qFatal("the sheet has %d rows", s.Sheet.LastRow());

    Text1_Click(s, sounds, 1);
    for (int r = 1; r <= 100; ++r) {
        const auto e = ExpectedOf(s, r);
        SetAnswerText(s, r, e ? NumberText(*e) : std::string("0"));
        Text1_KeyDown(s, sounds, r, kKeyEnter);
    }
    return {s.ProblemShape, s.HitCount, s.ErrorCount};
}

Outcome PlayEveryRow(const std::string& line) {
    SeededRandom random(20240601);
    return PlayEveryRow(line, random);
}

// "hit": every row a hit; "none": no row judged.
void VerifyReaction(const Outcome& outcome, const QString& reaction) {
    if (reaction == "hit") {
        QCOMPARE(outcome.hits, 100);
        QCOMPARE(outcome.errors, 0);
    } else {
        QCOMPARE(reaction, QString("none"));
        QCOMPARE(outcome.hits, 0);
        QCOMPARE(outcome.errors, 0);
    }
}

bool IsValidUtf8(const std::string& text) {
    const QByteArray bytes = QByteArray::fromStdString(text);
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

QByteArray DigitsIn(long long value, char16_t zero) {
    QString text;
    for (QChar c : QString::number(value)) text += QChar(char16_t(zero + (c.unicode() - u'0')));
    return text.toUtf8();
}

}  // namespace

class TestHostileInputs : public QObject {
    Q_OBJECT

  private slots:
    void configurationFiles_data();
    void configurationFiles();
    void junkFileStillPlays();
    void typedAnswers_data();
    void typedAnswers();
    void zeroAnswers_data();
    void zeroAnswers();
    void operationTypes_data();
    void operationTypes();
};

void TestHostileInputs::configurationFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("items");            // how many operation types the file offers
    QTest::addColumn<QByteArray>("firstItem");
    QTest::addColumn<QString>("reaction");     // of the first item's game, as in PlayEveryRow

    const QByteArray utf16 =
        QByteArray("\xFF\xFE", 2) +
        QByteArray(reinterpret_cast<const char*>(u"A + B =\r\nAA - B =\r\n"), 2 * 19);
    // Saved as "Unicode" by an editor: read as UTF-16 through its byte order mark.
    QTest::newRow("UTF-16 file") << utf16 << 2 << QByteArray("A + B =") << "hit";
    QTest::newRow("UTF-16 big-endian, accented")
        << QByteArray("\xFE\xFF\0\xD1\0 \0+\0 \0B\0 \0=", 16) << 1
        << QByteArray("\xC3\x91 + B =") << "hit";
    QTest::newRow("1 MB line of fields")
        << QByteArray("AA + B = ").repeated((1 << 20) / 9) << 1 << QByteArray() << "none";
    QTest::newRow("1 MB line without a space")
        << QByteArray(1 << 20, '7') << 1 << QByteArray(1 << 20, '7') << "none";
    QTest::newRow("only blank lines: items that show nothing")
        << QByteArray("   \r\n\t\r\n \n") << 3 << QByteArray("   ") << "none";
    QTest::newRow("a hundred thousand empty lines")
        << QByteArray("\r\n\n\r").repeated(100000) << 0 << QByteArray() << "";
    QTest::newRow("12 fields: the line shown whole, the twelfth field dropped")
        << QByteArray("A + B = 1 2 3 4 5 6 7 8\r\n") << 1
        << QByteArray("A + B = 1 2 3 4 5 6 7 8") << "none";
    QTest::newRow("12 fields ending in codes")
        << QByteArray("AA ( B + BB ) = x x x x AAAA\r\nA + B =") << 2
        << QByteArray("AA ( B + BB ) = x x x x AAAA") << "hit";
    QTest::newRow("NUL after the pattern is kept but never read")
        << QByteArray("AA + B =\0\0\r\n", 12) << 1 << QByteArray("AA + B =\0\0", 10) << "hit";
}

void TestHostileInputs::configurationFiles() {
    QFETCH(QByteArray, content);
    QFETCH(int, items);
    QFETCH(QByteArray, firstItem);
    QFETCH(QString, reaction);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("configuracion.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();

    const auto result = ReadOperationTypes(path.toStdString());
    QCOMPARE(int(result.items.size()), items);
    if (items == 0) {
        QVERIFY(!result.error.empty());
        return;
    }
    QVERIFY(result.error.empty());
    if (!firstItem.isNull()) QCOMPARE(QByteArray::fromStdString(result.items[0]), firstItem);
    for (const std::string& item : result.items) {
        QVERIFY(IsValidUtf8(item));
        QVERIFY(!item.empty());
    }
    VerifyReaction(PlayEveryRow(result.items[0]), reaction);
}

// Random bytes for a configuration file: every item it yields is still text
// and still plays a whole game.
void TestHostileInputs::junkFileStillPlays() {
    std::mt19937 bytes(7);
    QByteArray junk;
    for (int i = 0; i < 64 * 1024; ++i) junk.append(char(bytes() & 0xFF));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("configuracion.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(junk), junk.size());
    file.close();

    const auto result = ReadOperationTypes(path.toStdString());
    QVERIFY(result.error.empty());
    QVERIFY(result.items.size() > 100);  // about one line end in 128 bytes
    for (std::size_t i = 0; i < result.items.size(); ++i) {
        const std::string& item = result.items[i];
        QVERIFY(IsValidUtf8(item));
        QVERIFY(item.find_first_of("\r\n") == std::string::npos);
        if (i < 40) {
            const Outcome outcome = PlayEveryRow(item);
            QVERIFY(outcome.hits + outcome.errors <= 100);
        }
    }
}

// Typed answers on a generated row 56 + 8 = 64. In the pattern, {} stands for
// the right answer in decimal, {h} in hexadecimal, {o} in octal, {a} in
// Arabic-Indic digits and {f} in full-width digits.
void TestHostileInputs::typedAnswers_data() {
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QString>("reaction");

    const int n = 10000;
    QTest::newRow("right answer") << QByteArray("{}") << "hit";
    QTest::newRow("10,000 nines") << QByteArray(n, '9') << "error";
    QTest::newRow("10,000 blanks read as 0, not as empty") << QByteArray(n, ' ') << "error";
    QTest::newRow("10,000 letters") << QByteArray(n, 'x') << "error";
    QTest::newRow("answer then 9,998 blanks") << "{}" + QByteArray(n - 2, ' ') << "hit";
    QTest::newRow("9,998 zeros then answer") << QByteArray(n - 2, '0') + "{}" << "hit";
    QTest::newRow("answer then 9,998 zeros") << "{}" + QByteArray(n - 2, '0') << "error";
    QTest::newRow("answer then 9,998 letters") << "{}" + QByteArray(n - 2, 'z') << "hit";
    QTest::newRow("answer with 10,000 fraction zeros") << "{}." + QByteArray(n, '0') << "hit";
    QTest::newRow("Arabic-Indic digits") << QByteArray("{a}") << "error";
    QTest::newRow("full-width digits") << QByteArray("{f}") << "error";
    QTest::newRow("superscript digits") << QByteArray("\xE2\x81\xB6\xE2\x81\xB4") << "error";
    QTest::newRow("1e400") << QByteArray("1e400") << "error";
    QTest::newRow("-0") << QByteArray("-0") << "error";
    QTest::newRow("&HFFFFFFFFFFFF") << QByteArray("&HFFFFFFFFFFFF") << "error";
    QTest::newRow("answer in hexadecimal") << QByteArray("&H{h}") << "hit";
    QTest::newRow("answer in octal") << QByteArray("&o{o}") << "hit";
    QTest::newRow("answer with exponent D") << QByteArray("{}D0") << "hit";
    QTest::newRow("answer after a NUL") << QByteArray("\0{}", 3) << "error";
    QTest::newRow("NUL after the answer") << QByteArray("{}\0" "1", 4) << "hit";
    QTest::newRow("CR is not a blank") << QByteArray("\r{}") << "error";
    QTest::newRow("a lone UTF-8 lead byte") << QByteArray("\xC3") << "error";
    QTest::newRow("empty text") << QByteArray("") << "none";
}

void TestHostileInputs::typedAnswers() {
    QFETCH(QByteArray, pattern);
    QFETCH(QString, reaction);

    GameSettings settings;
    settings.OperationFields = SplitOperationType("AA + B =");
    settings.GameMinutes = 1;
    GameSession s;
    RecordingSoundCues sounds;
    ScriptedRandom random{0.56, 0.8};  // 56 and 8
    s.FormLoad(settings, "AA + B =");
    s.StartGame(random, sounds);
    QCOMPARE(s.Sheet.Rows[1].Cells[0].Caption, std::string("56"));
    QCOMPARE(s.Sheet.Rows[1].Cells[2].Caption, std::string("8"));
    const long long right = 64;

    QByteArray answer = pattern;
    answer.replace("{}", QByteArray::number(right))
        .replace("{h}", QByteArray::number(right, 16))
        .replace("{o}", QByteArray::number(right, 8))
        .replace("{a}", DigitsIn(right, u'\u0660'))
        .replace("{f}", DigitsIn(right, u'\uFF10'));

    Text1_Click(s, sounds, 1);
    SetAnswerText(s, 1, Std(answer));
    Text1_KeyDown(s, sounds, 1, kKeyEnter);

    const Rgb colour = s.Sheet.Rows[1].AnswerColour;
    if (reaction == "hit") {
        QCOMPARE(std::pair(s.HitCount, s.ErrorCount), std::pair(1, 0));
        QVERIFY(colour == colours::kAnswerHit);
    } else if (reaction == "error") {
        QCOMPARE(std::pair(s.HitCount, s.ErrorCount), std::pair(0, 1));
        QVERIFY(colour == colours::kAnswerError);
    } else {
        QCOMPARE(std::pair(s.HitCount, s.ErrorCount), std::pair(0, 0));
        QVERIFY(colour == colours::kAnswerInitial);
    }
    // The typed text is judged as it stands and left as it was typed.
    QCOMPARE(s.Sheet.Rows[1].AnswerText, Std(answer));
}

// A generated row whose answer is 0: 2 x 2 - 4.
void TestHostileInputs::zeroAnswers_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("hit");

    QTest::newRow("-0") << QByteArray("-0") << true;
    QTest::newRow("-0.0E999") << QByteArray("-0.0E999") << true;
    QTest::newRow("1e-400 reads as 0") << QByteArray("1e-400") << true;
    QTest::newRow("placeholder reads as 0") << QByteArray("?") << true;
    QTest::newRow("&H0") << QByteArray("&H0") << true;
    QTest::newRow("a word reads as 0") << QByteArray("cero") << true;
    QTest::newRow("smallest subnormal is not 0") << QByteArray("4.9E-324") << false;
}

void TestHostileInputs::zeroAnswers() {
    QFETCH(QByteArray, answer);
    QFETCH(bool, hit);

    GameSettings settings;
    settings.OperationFields = SplitOperationType("A x B - C =");
    settings.GameMinutes = 1;
    GameSession s;
    RecordingSoundCues sounds;
    ScriptedRandom random{0.0, 0.0, 0.3};  // 2, 2 and 4
    s.FormLoad(settings, "A x B - C =");
    s.StartGame(random, sounds);
    const auto expected = ExpectedOf(s, 1);
    QVERIFY(expected && *expected == 0.0);

    Text1_Click(s, sounds, 1);
    SetAnswerText(s, 1, Std(answer));
    Text1_KeyDown(s, sounds, 1, kKeyEnter);
    QCOMPARE(s.HitCount, hit ? 1 : 0);
    QCOMPARE(s.ErrorCount, hit ? 0 : 1);
}

// Operation types no sensible file holds, through layout, generation and
// the check of all 100 rows.
void TestHostileInputs::operationTypes_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("shape");
    QTest::addColumn<QString>("reaction");

    QTest::newRow("first number beyond a double") << QByteArray("1e400 x B =") << 4 << "none";
    QTest::newRow("400 nines") << QByteArray(400, '9') + " + B =" << 4 << "none";
    QTest::newRow("sum beyond a double") << QByteArray("1E308 + 1E308 =") << 4 << "none";
    QTest::newRow("division by a literal 0") << QByteArray("AA : 0 =") << 4 << "none";
    QTest::newRow("five fields are never judged") << QByteArray("AAAA x BBBB x BBBB") << 5
                                                  << "none";
    QTest::newRow("largest codes, two products")
        << QByteArray("AAAA x BBBB x BBBB =") << 6 << "hit";
    QTest::newRow("largest codes, bracket, 12 fields")
        << QByteArray("AAAA ( BBBB x BBBB ) = 1 2 3 4 5") << 7 << "hit";
    QTest::newRow("random operators everywhere") << QByteArray("* * * * * * *") << 7 << "none";
    QTest::newRow("random operators, six fields") << QByteArray("* * * * * *") << 6 << "hit";
    QTest::newRow("full-width pattern")
        << QByteArray("\xEF\xBC\xA1 \xEF\xBC\x8B \xEF\xBC\xA2 \xEF\xBC\x9D") << 4 << "none";
    QTest::newRow("field of 100,000 letters reads as 0")
        << QByteArray(100000, 'A') + " + B =" << 4 << "hit";
    QTest::newRow("control characters in a field") << QByteArray("A\x01 + B =") << 4 << "hit";
    QTest::newRow("codes in the wrong fields are 0") << QByteArray("B + A =") << 4 << "hit";
    QTest::newRow("second number as text, made smaller by the minus")
        << QByteArray("AA - AA =") << 4 << "hit";
    QTest::newRow("hexadecimal literal counts as its value")
        << QByteArray("&HFF + B =") << 4 << "hit";
    QTest::newRow("eleven empty fields") << QByteArray(11, ' ') << 0 << "none";
}

void TestHostileInputs::operationTypes() {
    QFETCH(QByteArray, line);
    QFETCH(int, shape);
    QFETCH(QString, reaction);
    const Outcome outcome = PlayEveryRow(Std(line));
    QCOMPARE(outcome.shape, shape);
    VerifyReaction(outcome, reaction);
}

QTEST_GUILESS_MAIN(TestHostileInputs)
#include "test_hostile_inputs.moc"
