// Files and runs past every sensible size meet a limit, never the end of
// memory; the configuration check's report is complete and harmless; a sound
// cue is played only from a PCM WAV file whose header agrees with its size.
#include <sys/resource.h>

#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/config_check.h"
#include "common/geometry.h"
#include "common/wave_header.h"
#include "results/match.h"
#include "setup/operation_types.h"
#include "setup/player_choice.h"
#include "test_main.h"

using namespace cifrano;

namespace {

void Put(std::string& bytes, std::size_t at, std::uint64_t value, int width = 4) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// A mono 16-bit 22050 Hz WAV file of `samples` samples, `before` its format.
std::string Wave(std::uint32_t samples, const std::string& before = "") {
    const char format[] = "fmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0data----";
    std::string bytes =
        "RIFF----WAVE" + before + std::string(format, 32) + std::string(samples * 2, 'w');
    Put(bytes, 4, bytes.size() - 8);
    Put(bytes, bytes.size() - samples * 2 - 4, samples * 2);
    return bytes;
}

// Wave(100) with some 16-bit fields of its header (offset, value) changed.
std::string Changed(std::initializer_list<std::pair<int, int>> fields) {
    std::string bytes = Wave(100);
    for (auto [at, value] : fields) Put(bytes, at, value, 2);
    return bytes;
}

}  // namespace

class TestBounds : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::string Write(const QByteArray& bytes) {
        const std::string path = dir_.filePath("configuracion.txt").toStdString();
        std::ofstream(path, std::ios::binary) << bytes.toStdString();
        return path;
    }

  private slots:
    // First in the class, while the process's peak is still low: a 50 MiB
    // file is turned down without being read.
    void hugeFileIsNeverRead() {
        const std::string path = Write(QByteArray(50 << 20, '9'));
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        QVERIFY(ReadOperationTypes(path).error.find("1 MiB") != std::string::npos);
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 8 * 1024, "8 MiB or more for a refused file");
    }

    void limits_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");  // "" when the file is usable
        QTest::newRow("300 two-byte characters") << QString(300, QChar(0xF1)).toUtf8() << "";
        QTest::newRow("301 characters, line 2")
            << "A + B =\n" + QByteArray(301, 'x') << "La línea 2 del archivo de configuración pasa";
        QTest::newRow("1000 types") << QByteArray("A\n").repeated(1000) << "";
        QTest::newRow("1001 types") << QByteArray("A\n").repeated(1001) << "1000";
        QTest::newRow("1 MiB of empty lines") << QByteArray(1 << 20, '\n') << "ningún tipo";
        QTest::newRow("1 MiB and a byte") << QByteArray((1 << 20) + 1, '\n') << "1 MiB";
    }
    void limits() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const OperationTypesResult result = ReadOperationTypes(Write(bytes));
        QVERIFY2(QString::fromStdString(result.error).contains(error), result.error.c_str());
        QCOMPARE(result.items.empty(), !error.isEmpty());
    }

    void reportIsByteExactAndEscaped() {
        const std::string path = Write({"A\0B\x1b[2J\xc2\x9b + B =\n", 16});
        std::ostringstream out;
        QCOMPARE(CheckConfigurationFile(path, out, out), kExitUsable);
        const std::string report = out.str();
        QVERIFY2(report.find("\n1 (línea 1): «A\\x00B\\x1B[2J\\x9B + B =»\n") != report.npos,
                 report.c_str());
        QVERIFY(report.find_first_of(std::string("\0\x1b\x9b", 3)) == report.npos);
    }

    void overflowIsNotADivisionByZero_data() {
        QTest::addColumn<QString>("reason");  // for the line in the row's name
        QTest::newRow("1e308 x 1e308 =") << "desborda";
        QTest::newRow("A : 0 =") << "divide por cero";
        QTest::newRow("A ( B : 0 ) =") << "divide por cero";
    }
    void overflowIsNotADivisionByZero() {
        QFETCH(QString, reason);
        const OperationTypeCheck check = CheckOperationType(QTest::currentDataTag());
        QCOMPARE(check.Result, Verdict::NeverComputable);
        QVERIFY2(QString::fromStdString(check.Explanation).endsWith("(" + reason + ")"), "");
    }

    // The report's failure stays on its stream, for the caller to turn into an
    // exit status.
    void failedWriteStaysReported() {
        struct Full : std::streambuf {
            int_type overflow(int_type) override { return traits_type::eof(); }
        } full;
        std::ostream out(&full);
        std::ostringstream err;
        CheckConfigurationFile(Write("A + B =\n"), out, err);
        QVERIFY(out.bad());
    }

    // A run no person can make still never wraps.
    void countersSaturateOrWiden() {
        GameSettings settings;
        settings.GameNumber = 32767;
        ResultsBoard board;
        RecordGame(settings, board, GameOutcome{});
        QCOMPARE(settings.GameNumber, 32768);
        QCOMPARE(board.Lists[0].back().substr(0, 7), std::string("32767) "));
    }

    void pictureNeverWiderThanItsWindow_data() {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("shown");  // at a height of 2175, at most 9000 wide
        QTest::newRow("fits") << QSize(1200, 1500) << QSize(1740, 2175);
        QTest::newRow("2048 x 1") << QSize(30720, 15) << QSize(9000, 4);
    }
    void pictureNeverWiderThanItsWindow() {
        QFETCH(QSize, natural);
        const PictureSize shown = ScalePicture({natural.width(), natural.height()}, 2175, 9000);
        QTEST(QSize(shown.width, shown.height), "shown");
    }

    void soundCueFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("sizeChange");  // the file's size against its bytes
        QTest::addColumn<bool>("playable");
        const auto row = [](const char* name, std::string bytes, bool playable, qint64 change = 0) {
            QTest::newRow(name) << QByteArray::fromStdString(bytes) << change << playable;
        };
        row("plain PCM", Wave(1000), true);
        row("a chunk before the format", Wave(1000, std::string("LIST\x03\0\0\0xyz\0", 12)), true);
        row("one pad byte after the samples", Wave(1000) + '\0', true);
        row("two bytes after the samples", Wave(1000) + "ab", false);
        row("file cut short", Wave(1000).substr(0, 1500), false);
        row("size says less than the bytes", Wave(1000), false, -10);
        // Headers that agree with a file of the given size, only its start at hand.
        for (std::uint64_t size : {kMaxCueFileBytes, kMaxCueFileBytes + 2}) {
            std::string bytes = Wave(100);
            Put(bytes, 4, size - 8);
            Put(bytes, 40, size - 44);
            row(size == kMaxCueFileBytes ? "16 MiB" : "over 16 MiB", bytes,
                size == kMaxCueFileBytes, qint64(size) - qint64(bytes.size()));
        }
        row("empty", "", false);
        row("not RIFF", "RIFX" + Wave(100).substr(4), false);
        row("samples past the end of the file", Changed({{42, 0xFFFF}}), false);
        row("no sample rate", Changed({{24, 0}}), false);
        row("nine channels", Changed({{22, 9}, {32, 18}}), false);
        row("12-bit samples", Changed({{34, 12}, {32, 1}}), false);
        row("32-bit stereo", Changed({{22, 2}, {34, 32}, {32, 8}}), true);
        row("samples before any format", {"RIFF\x10\0\0\0WAVEdata\x04\0\0\0abcd", 24}, false);
    }
    void soundCueFile() {
        QFETCH(QByteArray, file);
        QFETCH(qint64, sizeChange);
        const std::string bytes = file.toStdString();
        QTEST(WaveFitsItsFile(std::string_view(bytes).substr(0, kWaveHeadBytes),
                              static_cast<std::uint64_t>(qint64(bytes.size()) + sizeChange)),
              "playable");
    }

    void namesThatCannotBeShown_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("showable");
        QTest::newRow("accent") << QByteArray("Begoña.jpg") << true;
        QTest::newRow("escape") << QByteArray("\x1b[2J.png") << false;
        QTest::newRow("C1 control") << QByteArray("\xc2\x9b.png") << false;
        QTest::newRow("not UTF-8, read as U+FFFD") << QByteArray("\xef\xbf\xbd.png") << false;
    }
    void namesThatCannotBeShown() {
        QFETCH(QByteArray, name);
        QTEST(IsShowableFileName(name.toStdString()), "showable");
    }
};

CIFRANO_TEST_MAIN(TestBounds)
#include "test_bounds.moc"
