// The leaf rules every screen uses: numbers read and written, positions and
// sizes, and the data files the game names.
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
#include "test_main.h"

using namespace cifrano;

constexpr double kInf = HUGE_VAL;
const QByteArray kMillion0(1'000'000, '0');

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
        row({"-0", "-1E-400"}, 0);  // no negative zero
        row({"1E3", "1e3", "1D3", "1d+3", "1 0 0 0 0 E - 1"}, 1000);
        row({"&H10", "& H 1 0", "&h10G", "&H10.5"}, 16);
        row({"&Hab", "&HAB", "&hAb", "&HaBg"}, 171);
        row({"&Hf", "&HFG", "&hfg", "&H0F"}, 15);
        row({"&H19", "&h0019"}, 25);
        row({"&O17", "&o17", "&O178", "&O0017"}, 15);
        // (2^53 + 1) * 2^68, and a 1 past the first 64 bits that must tip the tie.
        row({"&H2000000000000100000000000000001"}, std::ldexp(0x1p53 + 2, 68));
        row({"&H2000000000000100000000000000000"}, std::ldexp(0x1p53, 68));
        row({"1E400", "1.8E308", "1E99999999999999999999999"}, kInf);
        row({"-1E400"}, -kInf);
        row({"4.9E-324"}, DBL_TRUE_MIN);
        row({"1E-400", "2E-324", "1E-99999999999999999999", "0E999999"}, 0);
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
            {999999999999999, "999999999999999"}, {0.0001, "0.0001"}, {-0.000015, "-1.5E-05"},
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
};

CIFRANO_TEST_MAIN(CommonTest)
#include "test_common.moc"
