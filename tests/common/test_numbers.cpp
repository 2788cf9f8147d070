// The two number rules: every caption, counter and typed answer depends on them.
#include <QtTest>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "common/numbers.h"

using cifrano::NumberText;
using cifrano::NumericValue;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Exact comparison: a fuzzy one would hide a wrongly rounded last bit.
bool SameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

QByteArray Describe(double value) { return QByteArray::number(value, 'g', 17); }

}  // namespace

class TestNumbers : public QObject {
    Q_OBJECT

  private slots:
    void numericValue_data();
    void numericValue();
    void numericValueOfLongTexts_data();
    void numericValueOfLongTexts();
    void numberTextOfDouble_data();
    void numberTextOfDouble();
    void numberTextOfInteger_data();
    void numberTextOfInteger();
    void countersReadBackAsWritten();
};

void TestNumbers::numericValue_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("leading blank") << QByteArray(" 56") << 56.0;
    QTest::newRow("blank between digits") << QByteArray("5 6") << 56.0;
    QTest::newRow("whole with point zero") << QByteArray("56.0") << 56.0;
    QTest::newRow("number then word") << QByteArray("56 abc") << 56.0;
    QTest::newRow("comma ends the number") << QByteArray("4,5") << 4.0;
    QTest::newRow("point is the separator") << QByteArray("4.5") << 4.5;
    QTest::newRow("negative") << QByteArray("-3") << -3.0;
    QTest::newRow("hex") << QByteArray("&H10") << 16.0;
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("placeholder") << QByteArray("?") << 0.0;
    QTest::newRow("letter code") << QByteArray("AA") << 0.0;

    QTest::newRow("tab and line feed skipped") << QByteArray("\t1\n2\n") << 12.0;
    QTest::newRow("carriage return is not a blank") << QByteArray("\r5") << 0.0;
    QTest::newRow("blank between sign and digits") << QByteArray("-  3") << -3.0;
    QTest::newRow("plus sign") << QByteArray("+7") << 7.0;
    QTest::newRow("blanks around the point") << QByteArray("1 . 5") << 1.5;
    QTest::newRow("second point ends the number") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("no whole part") << QByteArray(".5") << 0.5;
    QTest::newRow("negative without whole part") << QByteArray("-.25") << -0.25;
    QTest::newRow("trailing point") << QByteArray("5.") << 5.0;
    QTest::newRow("point alone") << QByteArray(".") << 0.0;
    QTest::newRow("sign alone") << QByteArray("-") << 0.0;
    QTest::newRow("two signs") << QByteArray("--3") << 0.0;
    QTest::newRow("sign after sign") << QByteArray("+-3") << 0.0;
    QTest::newRow("minus zero reads as plain zero") << QByteArray("-0") << 0.0;
    QTest::newRow("digits after letters ignored") << QByteArray("12abc34") << 12.0;
    QTest::newRow("no digit grouping") << QByteArray("1,000") << 1.0;

    QTest::newRow("exponent E") << QByteArray("1E3") << 1000.0;
    QTest::newRow("exponent D") << QByteArray("1D3") << 1000.0;
    QTest::newRow("exponent d negative") << QByteArray("1d-2") << 0.01;
    QTest::newRow("exponent with plus") << QByteArray("2.5E+2") << 250.0;
    QTest::newRow("exponent with blanks") << QByteArray("1 E - 3") << 0.001;
    QTest::newRow("exponent letter without digits") << QByteArray("2E") << 2.0;
    QTest::newRow("exponent sign without digits") << QByteArray("2E+") << 2.0;
    QTest::newRow("exponent then word") << QByteArray("2Ex") << 2.0;
    QTest::newRow("exponent without mantissa") << QByteArray("E5") << 0.0;
    QTest::newRow("D alone is a word") << QByteArray("D5") << 0.0;
    QTest::newRow("zero with huge exponent") << QByteArray("0E999999") << 0.0;

    QTest::newRow("hex lower case") << QByteArray("&h1f") << 31.0;
    QTest::newRow("hex no 16-bit wrap") << QByteArray("&HFFFF") << 65535.0;
    QTest::newRow("hex with blanks") << QByteArray("& H 1 0") << 16.0;
    QTest::newRow("hex stops at non-digit") << QByteArray("&H1G") << 1.0;
    QTest::newRow("hex without digits") << QByteArray("&H") << 0.0;
    QTest::newRow("hex then word") << QByteArray("&Hg") << 0.0;
    QTest::newRow("hex after sign is no number") << QByteArray("-&H10") << 0.0;
    QTest::newRow("hex 64 bits") << QByteArray("&HFFFFFFFFFFFFFFFF") << 18446744073709551615.0;
    QTest::newRow("hex 65 bits") << QByteArray("&H10000000000000000") << 18446744073709551616.0;
    QTest::newRow("hex leading zeros") << QByteArray("&H000000000000000000000000001") << 1.0;
    QTest::newRow("hex beyond a double") << (QByteArray("&H1") + QByteArray(300, '0')) << kInf;
    // (2^53 + 1) * 2^68 + 1: the last bit lies past the first 64 and must
    // still tip the tie upward.
    QTest::newRow("hex rounds with far bits")
        << QByteArray("&H2000000000000100000000000000001") << std::ldexp(9007199254740994.0, 68);
    QTest::newRow("hex exact tie rounds to even")
        << QByteArray("&H2000000000000100000000000000000") << std::ldexp(9007199254740992.0, 68);
    QTest::newRow("octal") << QByteArray("&O17") << 15.0;
    QTest::newRow("octal lower case") << QByteArray("&o777") << 511.0;
    QTest::newRow("octal stops at 8") << QByteArray("&O78") << 7.0;
    QTest::newRow("octal without digits") << QByteArray("&O8") << 0.0;
    QTest::newRow("octal 64 bits")
        << QByteArray("&O1777777777777777777777") << 18446744073709551615.0;
    QTest::newRow("ampersand alone") << QByteArray("&") << 0.0;
    QTest::newRow("ampersand other letter") << QByteArray("&X10") << 0.0;

    QTest::newRow("overflow") << QByteArray("1E400") << kInf;
    QTest::newRow("negative overflow") << QByteArray("-1E400") << -kInf;
    QTest::newRow("overflow just past the largest") << QByteArray("1.8E308") << kInf;
    QTest::newRow("largest double")
        << QByteArray("1.7976931348623157E308") << std::numeric_limits<double>::max();
    QTest::newRow("huge exponent digits") << QByteArray("1E99999999999999999999999") << kInf;
    QTest::newRow("underflow") << QByteArray("1E-400") << 0.0;
    QTest::newRow("negative underflow is plain zero") << QByteArray("-1E-400") << 0.0;
    QTest::newRow("smallest subnormal")
        << QByteArray("4.9E-324") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("below half the smallest") << QByteArray("2E-324") << 0.0;
    QTest::newRow("huge negative exponent digits") << QByteArray("1E-99999999999999999999") << 0.0;

    QTest::newRow("fullwidth digit") << QByteArray("\xEF\xBC\x95") << 0.0;
    QTest::newRow("euro after number") << QByteArray("5\xE2\x82\xAC") << 5.0;
    QTest::newRow("enye before number") << QByteArray(
                                               "\xC3\xB1"
                                               "5")
                                        << 0.0;
    QTest::newRow("no-break space is not a blank") << QByteArray(
                                                          "\xC2\xA0"
                                                          "5")
                                                   << 0.0;
    QTest::newRow("unicode minus is not a sign") << QByteArray(
                                                        "\xE2\x88\x92"
                                                        "3")
                                                 << 0.0;
    QTest::newRow("broken UTF-8 after number") << QByteArray("7\xFF\xFE") << 7.0;
    QTest::newRow("embedded NUL ends the number") << QByteArray(
                                                         "4\0"
                                                         "5",
                                                         3)
                                                  << 4.0;
}

void TestNumbers::numericValue() {
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double actual = NumericValue(std::string_view(text.constData(), text.size()));
    QVERIFY2(SameDouble(actual, expected), Describe(actual) + " != " + Describe(expected));
}

// Long texts are read in one linear pass and still rounded exactly.
void TestNumbers::numericValueOfLongTexts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    const int million = 1'000'000;
    QTest::newRow("million nines") << QByteArray(million, '9') << kInf;
    QTest::newRow("million blanks then a digit") << (QByteArray(million, ' ') + "8") << 8.0;
    QTest::newRow("million digits with blanks between")
        << QByteArray("1 ").repeated(million / 2) << kInf;
    QTest::newRow("tiny mantissa, big exponent")
        << ("0." + QByteArray(million - 1, '0') + "5E1000000") << 5.0;
    QTest::newRow("big mantissa, tiny exponent")
        << ("1" + QByteArray(million, '0') + "E-1000000") << 1.0;
    QTest::newRow("million fraction zeros") << ("0." + QByteArray(million, '0') + "1") << 0.0;
    // 2^53 + 1 lies halfway between two doubles; a non-zero digit a thousand
    // places on decides the rounding.
    QTest::newRow("tie stays even")
        << ("9007199254740993." + QByteArray(1000, '0')) << 9007199254740992.0;
    QTest::newRow("far digit breaks the tie")
        << ("9007199254740993." + QByteArray(1000, '0') + "1") << 9007199254740994.0;
    QTest::newRow("far digit after million digits")
        << ("9007199254740993" + QByteArray(million, '0') + "1E-1000001") << 9007199254740994.0;
    QTest::newRow("hex million digits") << ("&H" + QByteArray(million, 'F')) << kInf;
    QTest::newRow("hex million zeros then one") << ("&H" + QByteArray(million, '0') + "1") << 1.0;
}

void TestNumbers::numericValueOfLongTexts() {
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double actual = NumericValue(std::string_view(text.constData(), text.size()));
    QVERIFY2(SameDouble(actual, expected), Describe(actual) + " != " + Describe(expected));
}

void TestNumbers::numberTextOfDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("three") << 3.0 << '.' << QByteArray("3");
    QTest::newRow("minus three") << -3.0 << '.' << QByteArray("-3");
    QTest::newRow("ten thirds") << 10.0 / 3 << '.' << QByteArray("3.33333333333333");
    QTest::newRow("one sixth rounds up") << 1.0 / 6 << '.' << QByteArray("0.166666666666667");
    QTest::newRow("whole without separator") << 4.0 << '.' << QByteArray("4");
    QTest::newRow("comma separator") << 4.5 << ',' << QByteArray("4,5");
    QTest::newRow("comma below one") << 0.05 << ',' << QByteArray("0,05");
    QTest::newRow("zero") << 0.0 << '.' << QByteArray("0");
    QTest::newRow("minus zero") << -0.0 << '.' << QByteArray("0");
    QTest::newRow("negative fraction") << -2.0 / 3 << '.' << QByteArray("-0.666666666666667");
    QTest::newRow("binary noise rounded away") << 0.1 + 0.2 << '.' << QByteArray("0.3");
    QTest::newRow("rounds up to whole") << 0.9999999999999999 << '.' << QByteArray("1");
    QTest::newRow("rounding carries") << 99999.99999999999 << '.' << QByteArray("100000");
    QTest::newRow("fifteen digits whole")
        << 123456789012345.0 << '.' << QByteArray("123456789012345");
    QTest::newRow("fifteen nines") << 999999999999999.0 << '.' << QByteArray("999999999999999");
    QTest::newRow("ten to the fifteen") << 1e15 << '.' << QByteArray("1E+15");
    QTest::newRow("sixteen digits")
        << 1234567890123456.0 << ',' << QByteArray("1,23456789012346E+15");
    QTest::newRow("ten thousandth") << 0.0001 << '.' << QByteArray("0.0001");
    QTest::newRow("hundred thousandth") << 0.00001 << '.' << QByteArray("1E-05");
    QTest::newRow("tiny") << -1.5e-300 << ',' << QByteArray("-1,5E-300");
    QTest::newRow("huge") << 1.5e300 << '.' << QByteArray("1.5E+300");
    QTest::newRow("largest") << std::numeric_limits<double>::max() << '.'
                             << QByteArray("1.79769313486232E+308");
    QTest::newRow("smallest subnormal")
        << std::numeric_limits<double>::denorm_min() << '.' << QByteArray("4.94065645841247E-324");
    QTest::newRow("infinity") << kInf << '.' << QByteArray("Infinito");
    QTest::newRow("minus infinity") << -kInf << '.' << QByteArray("-Infinito");
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << '.'
                                  << QByteArray("Indefinido");
}

void TestNumbers::numberTextOfDouble() {
    QFETCH(double, value);
    QFETCH(char, separator);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(NumberText(value, separator)), expected);
}

void TestNumbers::numberTextOfInteger_data() {
    QTest::addColumn<qlonglong>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("zero") << 0LL << QByteArray("0");
    QTest::newRow("three") << 3LL << QByteArray("3");
    QTest::newRow("minus three") << -3LL << QByteArray("-3");
    QTest::newRow("largest") << static_cast<qlonglong>(LLONG_MAX)
                             << QByteArray("9223372036854775807");
    QTest::newRow("smallest") << static_cast<qlonglong>(LLONG_MIN)
                              << QByteArray("-9223372036854775808");
}

void TestNumbers::numberTextOfInteger() {
    QFETCH(qlonglong, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(NumberText(static_cast<long long>(value))), expected);
    if (value >= INT_MIN && value <= INT_MAX) {
        QCOMPARE(QByteArray::fromStdString(NumberText(static_cast<int>(value))), expected);
    }
}

// Counters and points are written as text and read back as numbers.
void TestNumbers::countersReadBackAsWritten() {
    for (long long count : {0LL, 1LL, 9LL, 10LL, 599LL, 32767LL, 2147483647LL, -40LL}) {
        QCOMPARE(NumericValue(NumberText(count)), static_cast<double>(count));
        QCOMPARE(NumericValue(NumberText(static_cast<double>(count), ',')),
                 static_cast<double>(count));
    }
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
