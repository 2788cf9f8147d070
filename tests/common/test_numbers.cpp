// The two number rules: every caption, counter and typed answer depends on them.
#include <QtTest>
#include <cfloat>
#include <climits>
#include <cmath>

#include "common/numbers.h"

using namespace cifrano;

constexpr double kInf = HUGE_VAL;
const QByteArray kMillion0(1'000'000, '0');

static void Row(const char* name, QByteArrayList in, double v) { QTest::newRow(name) << in << v; }

class TestNumbers : public QObject {
    Q_OBJECT

  private slots:
    // Each row: texts that all read as the same value.
    void numericValue_data() {
        QTest::addColumn<QByteArrayList>("texts");
        QTest::addColumn<double>("expected");
        Row("documented 56; tab, LF are blanks", {" 56", "5 6", "56.0", "56 abc", "\t5\n6"}, 56);
        Row("comma or NUL ends the number",
            {"4,5", QByteArray("4\0"
                               "5",
                               3)},
            4);
        Row("point is the separator", {"4.5"}, 4.5);
        Row("negative", {"-3"}, -3);
        Row("documented zeros", {"", "?", "AA"}, 0);
        Row("plus sign; broken UTF-8 after the number", {"+7", "7\xFF\xFE"}, 7);
        Row("ends at a second point or a bare exponent", {"1.2.3", "1.2E+", "1.2D"}, 1.2);
        Row("no whole part; blanks after sign and point", {"-.25", "-  . 2 5"}, -0.25);
        Row("no number: lone point or sign, two signs, CR, bare E or &H",
            {".", "-", "--3", "\r5", "E5", "&H", "-&H10", "&X10"}, 0);
        Row("minus zero and negative underflow are plain zero", {"-0", "-1E-400"}, 0);
        Row("exponent: E, e, D, d, signs, blanks",
            {"1E3", "1e3", "1D3", "1d3", "1E+3", "1 0 0 0 0 E - 1", "0.1d+4"}, 1000);
        Row("hex: blanks, lower case, stops at a non-digit", {"&H10", "& H 1 0", "&h10G"}, 16);
        // (2^53 + 1) * 2^68, plus 1 past the first 64 bits that must tip the tie.
        Row("hex far bit", {"&H2000000000000100000000000000001"}, std::ldexp(0x1p53 + 2, 68));
        Row("hex tie to even", {"&H2000000000000100000000000000000"}, std::ldexp(0x1p53, 68));
        Row("octal, lower case, stops at 8", {"&O17", "&o17", "&O178"}, 15);
        Row("overflow", {"1E400", "1.8E308", "1E99999999999999999999999"}, kInf);
        Row("negative overflow", {"-1E400"}, -kInf);
        Row("smallest subnormal", {"4.9E-324"}, DBL_TRUE_MIN);
        Row("underflow, 0E999999", {"1E-400", "2E-324", "1E-99999999999999999999", "0E999999"}, 0);
        Row("non-ASCII is no digit, blank or sign",
            {"\xEF\xBC\x95",
             "\xC3\xB1"
             "5",
             "\xC2\xA0"
             "5",
             "\xE2\x88\x92"
             "3"},
            0);
        // Long texts are read in one linear pass and still rounded exactly.
        Row("million nines", {QByteArray(1'000'000, '9')}, kInf);
        Row("million blanks then a digit", {QByteArray(1'000'000, ' ') + "8"}, 8);
        Row("tiny mantissa, big exponent", {"0." + kMillion0.mid(1) + "5E1000000"}, 5);
        // 2^53 + 1 lies halfway between two doubles; only a far non-zero digit breaks the tie.
        Row("tie stays even", {"9007199254740993." + QByteArray(1000, '0')}, 0x1p53);
        Row("far digit past a million", {"9007199254740993" + kMillion0 + "1E-1000001"},
            0x1p53 + 2);
        Row("hex million digits", {"&H" + QByteArray(1'000'000, 'F')}, kInf);
    }
    void numericValue() {
        QFETCH(QByteArrayList, texts);
        QFETCH(double, expected);
        for (const QByteArray& text : texts) {
            const double actual = NumericValue(std::string_view(text.constData(), text.size()));
            // Exact, sign included: a fuzzy comparison would hide a wrongly rounded last bit.
            QVERIFY2(actual == expected && std::signbit(actual) == std::signbit(expected),
                     text.left(40) + " -> " + QByteArray::number(actual, 'g', 17));
        }
    }

    // Each row with a point; with a comma as separator the same text has a comma.
    void numberText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("three") << 3.0 << QByteArray("3");
        QTest::newRow("minus three") << -3.0 << QByteArray("-3");
        QTest::newRow("ten thirds") << 10.0 / 3 << QByteArray("3.33333333333333");
        QTest::newRow("one sixth rounds up") << 1.0 / 6 << QByteArray("0.166666666666667");
        QTest::newRow("whole without separator") << 4.0 << QByteArray("4");
        QTest::newRow("four and a half, 4,5 with a comma") << 4.5 << QByteArray("4.5");
        QTest::newRow("minus zero") << -0.0 << QByteArray("0");
        QTest::newRow("rounding carries") << 99999.99999999999 << QByteArray("100000");
        QTest::newRow("ten to the fifteen") << 1e15 << QByteArray("1E+15");
        QTest::newRow("hundred thousandth") << 0.00001 << QByteArray("1E-05");
        QTest::newRow("largest") << DBL_MAX << QByteArray("1.79769313486232E+308");
        QTest::newRow("infinity") << kInf << QByteArray("Infinito");
        QTest::newRow("not a number") << std::nan("") << QByteArray("Indefinido");
    }
    void numberText() {
        QFETCH(double, value);
        QFETCH(QByteArray, expected);
        QCOMPARE(QByteArray::fromStdString(NumberText(value)), expected);
        QCOMPARE(QByteArray::fromStdString(NumberText(value, ',')), expected.replace('.', ','));
    }

    void wholeNumberTextAtTheExtremes() {
        QCOMPARE(NumberText(-3), std::string("-3"));
        QCOMPARE(NumberText(LLONG_MAX), std::string("9223372036854775807"));
        QCOMPARE(NumberText(LLONG_MIN), std::string("-9223372036854775808"));
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
