// What a damaged configuration file, a strange operation type or a wild typed
// answer does to a whole game: read, laid out, generated and judged, never a
// crash, and each case with the reaction it gets (hit, error or not judged).
#include <QtTest>
#include <optional>
#include <random>
#include <string>

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

// A started one-minute game of this operation type.
struct Game {
    Game(const std::string& line, RandomSource&& random) {
        settings.OperationFields = SplitOperationType(line);
        settings.GameMinutes = 1;
        s.FormLoad(settings, line);
        s.StartGame(random, sounds);
        Text1_Click(s, sounds, 1);
    }
    void Answer(int row, const std::string& text) {
        SetAnswerText(s, row, text);
        Text1_KeyDown(s, sounds, row, kKeyEnter);
    }
    GameSettings settings;
    GameSession s;
    RecordingSoundCues sounds;
};

// Row after row the player types the right answer (or 0 where the row has
// none); "hit": every row a hit, "none": no row judged.
void PlayEveryRow(const std::string& line, const QString& reaction, int shape = -1) {
    Game game(line, SeededRandom(20240601));
    GameSession& s = game.s;
    QCOMPARE(s.Sheet.LastRow(), 100);
    for (int r = 1; r <= 100; ++r) {
        const auto& c = s.Sheet.Rows[r].Cells;
        const auto e = ExpectedValue(s.ProblemShape, c[0].Caption, c[1].Caption, c[2].Caption,
                                     c[3].Caption, c[4].Caption);
        game.Answer(r, e ? NumberText(*e) : std::string("0"));
    }
    if (shape >= 0) QCOMPARE(s.ProblemShape, shape);
    if (reaction == "any") return;
    QCOMPARE(s.HitCount, reaction == "hit" ? 100 : 0);
    QCOMPARE(s.ErrorCount, 0);
}

}  // namespace

class TestHostileInputs : public QObject {
    Q_OBJECT

  private slots:
    void configurationFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("items");  // -1: not counted
        QTest::addColumn<QByteArray>("firstItem");
        QTest::addColumn<QString>("reaction");  // of the first item's game

        std::mt19937 bytes(7);
        QByteArray junk;
        for (int i = 0; i < 64 * 1024; ++i) junk.append(char(bytes() & 0xFF));
        QTest::newRow("binary junk: items of text that still play")
            << junk << -1 << QByteArray() << "any";
        QTest::newRow("UTF-16 little-endian")
            << QByteArray("\xFF\xFE", 2) +
                   QByteArray(reinterpret_cast<const char*>(u"A + B =\r\nAA - B =\r\n"), 38)
            << 2 << QByteArray("A + B =") << "hit";
        QTest::newRow("UTF-16 big-endian, accented")
            << QByteArray("\xFE\xFF\0\xD1\0 \0+\0 \0B\0 \0=", 16) << 1
            << QByteArray("\xC3\x91 + B =") << "hit";
        QTest::newRow("UTF-16 surrogate pair (an emoji) and a lone surrogate")
            << QByteArray("\xFF\xFE\x3D\xD8\x00\xDE \0+\0 \0B\0 \0=\0\n\0\x00\xDC", 22) << 2
            << QByteArray("\xF0\x9F\x98\x80 + B =") << "hit";
        QTest::newRow("1 MB line")
            << QByteArray("AA + B = ").repeated((1 << 20) / 9) << 1 << QByteArray() << "none";
        QTest::newRow("only blank lines: items that show nothing")
            << QByteArray("   \r\n\t\r\n \n") << 3 << QByteArray("   ") << "none";
        QTest::newRow("12 fields: shown whole, the twelfth field dropped")
            << QByteArray("AA ( B + BB ) = x x x x AAAA\r\n") << 1
            << QByteArray("AA ( B + BB ) = x x x x AAAA") << "hit";
    }
    void configurationFiles() {
        QFETCH(QByteArray, content);
        QFETCH(int, items);
        QFETCH(QByteArray, firstItem);
        QTemporaryDir dir;
        QFile file(dir.filePath("configuracion.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();

        const auto result = ReadOperationTypes(file.fileName().toStdString());
        QVERIFY(result.error.empty() && !result.items.empty());
        if (items >= 0) QCOMPARE(int(result.items.size()), items);
        if (!firstItem.isNull()) QCOMPARE(QByteArray::fromStdString(result.items[0]), firstItem);
        for (const std::string& item : result.items) {
            const QByteArray utf8 = QByteArray::fromStdString(item);
            QCOMPARE(QString::fromUtf8(utf8).toUtf8(), utf8);
            QVERIFY(!item.empty() && item.find_first_of("\r\n") == std::string::npos);
        }
        QFETCH(QString, reaction);
        PlayEveryRow(result.items[0], reaction);
    }

    // Typed into a generated row 56 + 8 = 64 and confirmed with Enter.
    void typedAnswers_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("reaction");  // 1 hit, -1 error, 0 not judged
        QTest::newRow("right answer") << QByteArray("64") << 1;
        QTest::newRow("10,000 characters") << QByteArray(10000, '9') << -1;
        QTest::newRow("Arabic-Indic digits") << QByteArray("\xD9\xA6\xD9\xA4") << -1;
        QTest::newRow("1e400") << QByteArray("1e400") << -1;
        QTest::newRow("-0") << QByteArray("-0") << -1;
        QTest::newRow("&HFFFFFFFFFFFF") << QByteArray("&HFFFFFFFFFFFF") << -1;
        QTest::newRow("empty text") << QByteArray("") << 0;
    }
    void typedAnswers() {
        QFETCH(QByteArray, answer);
        QFETCH(int, reaction);
        Game game("AA + B =", ScriptedRandom{0.56, 0.8});
        GameSession& s = game.s;
        QCOMPARE(s.Sheet.Rows[1].Cells[0].Caption + s.Sheet.Rows[1].Cells[2].Caption,
                 std::string("568"));
        game.Answer(1, Std(answer));
        QCOMPARE(s.HitCount, reaction == 1 ? 1 : 0);
        QCOMPARE(s.ErrorCount, reaction == -1 ? 1 : 0);
        QCOMPARE(s.Sheet.Rows[1].AnswerText, Std(answer));  // judged as typed, left as typed
    }

    // Operation types no sensible file holds, through layout, generation and
    // the check of all 100 rows.
    void operationTypes_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("reaction");
        QTest::newRow("number beyond a double") << QByteArray("1e400 x B =") << 4 << "none";
        QTest::newRow("largest codes, bracket, 12 fields")
            << QByteArray("AAAA ( BBBB x BBBB ) = 1 2 3 4 5") << 7 << "hit";
        QTest::newRow("random operators everywhere") << QByteArray("* * * * * * *") << 7 << "none";
        QTest::newRow("field of 100,000 letters reads as 0")
            << QByteArray(100000, 'A') + " + B =" << 4 << "hit";
        QTest::newRow("eleven empty fields") << QByteArray(11, ' ') << 0 << "none";
    }
    void operationTypes() {
        QFETCH(QByteArray, line);
        QFETCH(int, shape);
        QFETCH(QString, reaction);
        PlayEveryRow(Std(line), reaction, shape);
    }
};

QTEST_GUILESS_MAIN(TestHostileInputs)
#include "test_hostile_inputs.moc"
