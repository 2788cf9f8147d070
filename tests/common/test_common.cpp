// The leaf rules every screen uses: numbers read and written, positions and
// sizes, the data files the game names, and which sound cue files are played:
// PCM WAV files whose header agrees with their size.
#include <QFileInfo>
#include <QtTest>
#include <cfloat>
#include <climits>
#include <cmath>
#include <set>

#include "common/geometry.h"
#include "common/media_paths.h"
#include "common/numbers.h"
#include "common/sound_cues.h"
#include "common/wave_header.h"
#include "test_main.h"

using namespace cifrano;

constexpr double kInf = HUGE_VAL;
const QByteArray kMillion0(1'000'000, '0');

namespace {

void Put(std::string& bytes, std::size_t at, std::uint64_t value, int width = 4) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}
// A chunk, padded to an even size, and a RIFF/WAVE file of chunks.
std::string Chunk(const char* id, const std::string& body) {
    std::string chunk = std::string(id, 4) + "----" + body + std::string(body.size() % 2, '\0');
    Put(chunk, 4, body.size());
    return chunk;
}
std::string Riff(const std::string& chunks) {
    std::string bytes = "RIFF----WAVE" + chunks;
    Put(bytes, 4, bytes.size() - 8);
    return bytes;
}
// Mono 16-bit 22050 Hz PCM; a file of it with `bytes` bytes of samples, `before` its format.
const std::string kMono16("\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0", 16);
std::string Wave(std::size_t bytes, const std::string& before = "", const std::string& extra = "") {
    return Riff(before + Chunk("fmt ", kMono16 + extra) + Chunk("data", std::string(bytes, 'w')));
}
// Wave(200) with some 16-bit fields of its header (offset, value) changed.
std::string Changed(std::initializer_list<std::pair<int, int>> fields) {
    std::string bytes = Wave(200);
    for (auto [at, value] : fields) Put(bytes, at, value, 2);
    return bytes;
}

}  // namespace

class CommonTest : public QObject {
    Q_OBJECT
  private slots:
    // Each row: texts that all read as the same value.
    void numericValue_data() {
        QTest::addColumn<QByteArrayList>("texts");
        QTest::addColumn<double>("value");
        const auto row = [](QByteArrayList texts, double value) {
            QTest::newRow(texts.join(" ").left(40)) << texts << value;
        };
        // clang-format off
        row({" 56", "5 6", "56.0", "+56 abc", "\t5\n6", "05 6,7"}, 56);  // blanks: space, tab, LF
        row({"4,5", QByteArray("4\0005", 3)}, 4);  // a comma or a NUL ends the number
        row({"-.25", "-  . 2 5"}, -0.25);
        row({"1.2.3", "1.2E+", "1.2D"}, 1.2);  // a second point or a bare exponent ends it
        row({"", "?", "AA", ".", "-", "--3", "\r5", "E5", "&H", "-&H10", "&X10"}, 0);
        row({"1E3", "1e3", "1D3", "1d+3", "1 0 0 0 0 E - 1"}, 1000);
        row({"&H10", "& H 1 0", "&h10G", "&H10.5"}, 16);
        row({"&Hab", "&HAB", "&hAb", "&HaBg"}, 171);
        row({"&Hf", "&HFG", "&hfg", "&H0F"}, 15);
        row({"&H19", "&h0019", "&H" + QByteArray(40, '0') + "19", "&O" + QByteArray(40, '0') + "31"}, 25);
        row({"&O17", "&o17", "&O178", "&O0017"}, 15);
        // (2^53 + 1) * 2^68, and a 1 past the first 64 bits that must tip the tie.
        row({"&H2000000000000100000000000000001"}, std::ldexp(0x1p53 + 2, 68));
        row({"&H2000000000000100000000000000000"}, std::ldexp(0x1p53, 68));
        row({"1E400", "1.8E308", "1E99999999999999999999999"}, kInf);
        row({"-1E400"}, -kInf);
        row({"4.9E-324"}, DBL_TRUE_MIN);
        // Underflow, and no negative zero.
        row({"1E-400", "2E-324", "1E-99999999999999999999", "0E999999", "-0", "-1E-400"}, 0);
        row({"５", "ñ5", "\xC2\xA0\x35", "−3"}, 0);  // non-ASCII is no digit, blank or sign
        // Long texts are read in one linear pass and still rounded exactly; 2^53 + 1 lies
        // halfway between two doubles, and only a far non-zero digit breaks the tie.
        row({QByteArray(1'000'000, '9'), "&H" + QByteArray(1'000'000, 'F')}, kInf);
        row({QByteArray(1'000'000, ' ') + "8"}, 8);
        row({"0." + kMillion0.mid(1) + "5E1000000"}, 5);
        row({"9007199254740993." + QByteArray(1000, '0')}, 0x1p53);
        row({"9007199254740993" + kMillion0 + "1E-1000001"}, 0x1p53 + 2);
        // clang-format on
    }
    void numericValue() {
        QFETCH(QByteArrayList, texts);
        QFETCH(double, value);
        for (const QByteArray& text : texts) {
            const double actual = NumericValue(std::string_view(text.constData(), text.size()));
            // Exact, sign included: a fuzzy comparison would hide a wrongly rounded last bit.
            QVERIFY2(actual == value && std::signbit(actual) == std::signbit(value),
                     text.left(40) + " -> " + QByteArray::number(actual, 'g', 17));
        }
    }

    // Fifteen significant digits, plain between 1E-04 and 1E+15, with either separator.
    void numberText() {
        // clang-format off
        const std::pair<double, const char*> rows[] = {
            {-3, "-3"}, {10.0 / 3, "3.33333333333333"}, {1.0 / 6, "0.166666666666667"},
            {-4.5, "-4.5"}, {-0.0, "0"}, {99999.99999999999, "100000"}, {1e15, "1E+15"},
            {999999999999999, "999999999999999"}, {0.0001, "0.0001"}, {-0.000015, "-1.5E-05"}, {1e-10, "1E-10"},
            {DBL_MAX, "1.79769313486232E+308"}, {kInf, "Infinito"}, {-kInf, "-Infinito"},
            {std::nan(""), "Indefinido"}};
        // clang-format on
        for (const auto& [value, text] : rows) {
            QCOMPARE(NumberText(value), std::string(text));
            QCOMPARE(QString::fromStdString(NumberText(value, ',')),
                     QString(text).replace('.', ','));
        }
        QCOMPARE(NumberText(LLONG_MIN), std::string("-9223372036854775808"));
    }

    // The locale's decimal point when it is one ASCII character, else ".".
    void decimalSeparator() {
        for (const char* ascii : {",", ".", "'", "\x01", "\x7F"})
            QCOMPARE(DecimalSeparator(ascii), ascii[0]);
        for (std::string_view other : {"", ",,", "\x80", "\xC2\xB7"})
            QCOMPARE(DecimalSeparator(other), '.');
        QCOMPARE(DecimalSeparator(std::string_view("\0", 1)), '.');
        // A text ends where its view ends, whatever follows in memory.
        QVERIFY(NumericValue(std::string_view("123", 2)) == 12 &&
                NumericValue(std::string_view("&H1F", 3)) == 1);
    }

    void geometry() {
        // The difference rounds half to even, then halves toward zero (negative when the
        // window is larger).
        QVERIFY(CentredPosition(100, 49.5) == 25 && CentredPosition(100, 48.5) == 26);
        QVERIFY(CentredPosition(101, 0) == 50 && CentredPosition(0, 3) == -1);
        QCOMPARE(CentredPosition(6000, 6915), -457);
        // The width in proportion, whole part; no height, or no target height, stays empty.
        QCOMPARE(ScalePicture({1000, 3000}, 2177), (PictureSize{725, 2177}));  // 725.67
        QCOMPARE(ScalePicture({3000, 1000}, 1), (PictureSize{3, 1}));
        // Never wider than the window: the height follows a capped width.
        QCOMPARE(ScalePicture({1200, 1500}, 2175, 9000), (PictureSize{1740, 2175}));
        QCOMPARE(ScalePicture({30720, 15}, 2175, 9000), (PictureSize{9000, 4}));
        for (auto [width, height, target] :
             {std::array{1200, 0, 2175}, {0, 1200, 2175}, {1200, 1200, 0}})
            QCOMPARE(ScalePicture({width, height}, target), PictureSize{});
        // Twips to the nearest pixel.
        QVERIFY(TwipsToPixels(7) == 0 && TwipsToPixels(8) == 1 && TwipsToPixels(-650) == -43);
        QCOMPARE(PixelsToTwips(461), 6915);
    }

    void mediaPaths() {
        // Backslash suffixes become paths under the application folder, letter case kept.
        QCOMPARE(DataPath("/c//", "\\configuracion.txt"), std::string("/c/configuracion.txt"));
        QCOMPARE(DataPath("/A b", "\\Gifs\\X.GIF"), std::string("/A b/Gifs/X.GIF"));
        QCOMPARE(DataPath("", "\\a\\"), std::string("/a/"));
        // Every file the game asks for is shipped, in that very case; each cue has its own.
        std::vector<std::string> files{std::string(kConfigurationFile)};
        for (SoundCue cue : kAllSoundCues) files.emplace_back(CueSuffix(cue));
        for (int minutes = 1; minutes <= 6; ++minutes) files.push_back(AnimationSuffix(minutes));
        for (const std::string& file : files)
            QVERIFY2(QFileInfo(QString::fromStdString(DataPath(CIFRANO_DATA_DIR, file))).isFile(),
                     file.c_str());
        QCOMPARE(std::set(files.begin(), files.end()).size(), files.size());
        QVERIFY(
            QFileInfo(QString::fromStdString(DataPath(CIFRANO_DATA_DIR, kUsersFolder))).isDir());
    }

    void soundCueFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("sizeChange");  // the file's size against its bytes
        QTest::addColumn<bool>("playable");
        const auto row = [](const char* name, std::string bytes, bool playable, qint64 change = 0) {
            QTest::newRow(name) << QByteArray::fromStdString(bytes) << change << playable;
        };
        row("plain PCM", Wave(2000), true);
        row("a chunk before the format", Wave(2000, Chunk("LIST", "xyz")), true);
        row("a longer format chunk", Wave(2000, "", std::string(24, 'x')), true);
        row("one byte of samples, padded", Wave(1), true);
        row("no samples", Wave(0), false);
        row("one pad byte after the samples", Wave(2000) + '\0', true);
        row("two bytes after the samples", Wave(2000) + "ab", false);
        row("file cut short", Wave(2000).substr(0, 1500), false);
        row("size says less than the bytes", Wave(2000), false, -10);
        // Headers that agree with a file of the given size, only its start at hand.
        for (std::uint64_t size : {kMaxCueFileBytes, kMaxCueFileBytes + 2}) {
            std::string bytes = Wave(200);
            Put(bytes, 4, size - 8);
            Put(bytes, 40, size - 44);
            row(size == kMaxCueFileBytes ? "16 MiB" : "over 16 MiB", bytes,
                size == kMaxCueFileBytes, qint64(size) - qint64(bytes.size()));
        }
        row("empty", "", false);
        row("not RIFF", "RIFX" + Wave(200).substr(4), false);
        row("samples past the end of the file", Changed({{42, 0xFFFF}}), false);
        row("no sample rate", Changed({{24, 0}}), false);
        row("nine channels", Changed({{22, 9}, {32, 18}}), false);
        row("12-bit samples", Changed({{34, 12}, {32, 1}}), false);
        row("32-bit stereo", Changed({{22, 2}, {34, 32}, {32, 8}}), true);
        row("samples before any format", Riff(Chunk("data", "abcd")), false);
    }
    void soundCueFile() {
        QFETCH(QByteArray, file);
        QFETCH(qint64, sizeChange);
        const std::string bytes = file.toStdString();
        QTEST(WaveFitsItsFile(std::string_view(bytes).substr(0, kWaveHeadBytes),
                              static_cast<std::uint64_t>(qint64(bytes.size()) + sizeChange)),
              "playable");
    }
};

CIFRANO_TEST_MAIN(CommonTest)
#include "test_common.moc"
