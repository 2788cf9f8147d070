#pragma once
// The two rules that turn texts into numbers and numbers into texts. Every
// caption, counter and typed answer goes through them.
#include <string>
#include <string_view>

namespace cifrano {

// Reads the leading number of a text: blanks (space, tab, line feed) are
// skipped anywhere, an optional sign, digits with "." as the only decimal
// point, an optional exponent (E or D, either case), or an &H / &O integer.
// A text without a number at its start reads as 0. Overflow gives +-infinity.
double NumericValue(std::string_view text);

// Plain decimal digits, "-" in front when negative.
std::string NumberText(long long value);
inline std::string NumberText(int value) { return NumberText(static_cast<long long>(value)); }

// Rounded to 15 significant digits, shortest form, with the given decimal separator.
std::string NumberText(double value, char decimalSeparator = '.');

// The separator numbers are written with, from the locale's decimal point: its
// one ASCII character, or "." when the locale gives none or a wider one.
char DecimalSeparator(std::string_view localeDecimalPoint);

}  // namespace cifrano
