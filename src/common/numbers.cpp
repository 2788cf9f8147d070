#include "common/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

namespace cifrano {

namespace {

// Every decimal that lies exactly halfway between two doubles has at most 767
// significant digits, so keeping 800 and standing in a final 1 for any
// non-zero rest rounds exactly like the full text, at a bounded cost.
constexpr std::size_t kKeptDigits = 800;

// Beyond these powers of ten (for a mantissa written 0.d...) a double is
// infinite or zero; clamping keeps the exponent arithmetic free of overflow.
constexpr long long kOverflowExponent = 400;
constexpr long long kUnderflowExponent = -400;
constexpr long long kExponentCap = 1'000'000'000'000'000LL;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks a text one character at a time, stepping over blanks wherever they are.
class BlankSkippingReader {
  public:
    explicit BlankSkippingReader(std::string_view text) : text_(text) { SkipBlanks(); }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Advance() {
        ++pos_;
        SkipBlanks();
    }

  private:
    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// &H and &O integers: the non-negative value the digits stand for, rounded to
// the nearest double (infinity when too large), whatever their number.
double ReadRadixInteger(BlankSkippingReader& reader, int bitsPerDigit) {
    const int radix = 1 << bitsPerDigit;
    std::uint64_t top = 0;  // the first 64 significant bits
    long long significantBits = 0;
    bool sticky = false;  // a 1 among the bits beyond the first 64
    for (; !reader.AtEnd(); reader.Advance()) {
        const int digit = DigitValue(reader.Peek());
        if (digit >= radix) break;
        for (int bit = bitsPerDigit - 1; bit >= 0; --bit) {
            const bool one = (digit >> bit) & 1;
            if (significantBits == 0 && !one) continue;
            if (significantBits < 64) {
                top = (top << 1) | static_cast<std::uint64_t>(one);
            } else {
                sticky = sticky || one;
            }
            ++significantBits;
        }
    }
    if (significantBits <= 64) return static_cast<double>(top);
    // The lowest of 64 bits lies below a double's rounding bit, so it can carry
    // the sticky information and the conversion still rounds to nearest.
    top |= static_cast<std::uint64_t>(sticky);
    const long long shift = std::min(significantBits - 64, 4096LL);
    return std::ldexp(static_cast<double>(top), static_cast<int>(shift));
}

double ReadDecimal(BlankSkippingReader& reader) {
    bool negative = false;
    if (reader.Peek() == '+' || reader.Peek() == '-') {
        negative = reader.Peek() == '-';
        reader.Advance();
    }

    // Significant digits without leading zeros; pointShift is the power of ten
    // of the first kept digit's place, counted as for a mantissa 0.d...
    std::string digits;
    bool droppedNonZero = false;
    long long pointShift = 0;
    bool seenPoint = false;
    for (; !reader.AtEnd(); reader.Advance()) {
        const char c = reader.Peek();
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!IsDigit(c)) break;
        if (digits.empty() && c == '0') {
            if (seenPoint) --pointShift;
            continue;
        }
        if (!seenPoint) ++pointShift;
        if (digits.size() < kKeptDigits) {
            digits.push_back(c);
        } else if (c != '0') {
            droppedNonZero = true;
        }
    }

    long long exponent = 0;
    const char e = reader.Peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        reader.Advance();
        bool exponentNegative = false;
        if (reader.Peek() == '+' || reader.Peek() == '-') {
            exponentNegative = reader.Peek() == '-';
            reader.Advance();
        }
        bool exponentDigit = false;
        for (; !reader.AtEnd() && IsDigit(reader.Peek()); reader.Advance()) {
            exponentDigit = true;
            exponent = std::min(exponent * 10 + (reader.Peek() - '0'), kExponentCap);
        }
        if (!exponentDigit) {
            exponent = 0;  // "2E" or "2E+": the letter is not part of the number
        } else if (exponentNegative) {
            exponent = -exponent;
        }
    }

    if (droppedNonZero) {
        digits.push_back('1');
    } else {
        while (!digits.empty() && digits.back() == '0') digits.pop_back();
    }
    if (digits.empty()) return 0.0;  // also "-0": no negative zero reaches a caption

    const long long scale = pointShift + exponent;  // both far from overflow
    double magnitude = 0.0;
    if (scale > kOverflowExponent) {
        magnitude = std::numeric_limits<double>::infinity();
    } else if (scale >= kUnderflowExponent) {
        std::string buffer = "0." + digits + "e" + std::to_string(scale);
        const auto result =
            std::from_chars(buffer.data(), buffer.data() + buffer.size(), magnitude);
        if (result.ec == std::errc::result_out_of_range) {
            magnitude = scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        }
    }
    if (magnitude == 0.0) return 0.0;
    return negative ? -magnitude : magnitude;
}

// The value of up to 15 digits with an optional sign and nothing else, which
// a double holds exactly; nothing for any other text.
std::optional<double> ShortWholeNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative || (!text.empty() && text.front() == '+')) text.remove_prefix(1);
    if (text.empty() || text.size() > 15) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    // No negative zero reaches a caption.
    return negative && value != 0 ? -static_cast<double>(value) : static_cast<double>(value);
}

}  // namespace

double NumericValue(std::string_view text) {
    // Most texts are short whole numbers: they need no digit buffer.
    if (const auto whole = ShortWholeNumber(text)) return *whole;
    BlankSkippingReader reader(text);
    if (reader.Peek() == '&') {
        reader.Advance();
        const char kind = reader.Peek();
        if (kind == 'H' || kind == 'h') {
            reader.Advance();
            return ReadRadixInteger(reader, 4);
        }
        if (kind == 'O' || kind == 'o') {
            reader.Advance();
            return ReadRadixInteger(reader, 3);
        }
        return 0.0;
    }
    return ReadDecimal(reader);
}

std::string NumberText(long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string NumberText(double value, char decimalSeparator) {
    if (std::isnan(value)) return "Indefinido";
    if (std::isinf(value)) return value > 0 ? "Infinito" : "-Infinito";
    if (value == 0.0) return "0";  // also -0

    // Fifteen significant digits, rounded to nearest; to_chars ignores the C
    // locale, so the separator is only ever the one asked for.
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));

    const bool negative = scientific.front() == '-';
    const std::size_t ePos = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, ePos)) {
        if (IsDigit(c)) digits.push_back(c);
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    std::string_view exponentText = scientific.substr(ePos + 1);
    if (exponentText.front() == '+') exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    std::string text = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        // Too large or too small for plain digits to stay readable.
        text += digits[0];
        if (digits.size() > 1) {
            text += decimalSeparator;
            text.append(digits, 1);
        }
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) text += '0';
        text += std::to_string(magnitude);
    } else if (exponent >= 0) {
        const std::size_t wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= wholeDigits) {
            text += digits;
            text.append(wholeDigits - digits.size(), '0');
        } else {
            text.append(digits, 0, wholeDigits);
            text += decimalSeparator;
            text.append(digits, wholeDigits);
        }
    } else {
        text += '0';
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
    }
    return text;
}

char DecimalSeparator(std::string_view localeDecimalPoint) {
    if (localeDecimalPoint.size() != 1) return '.';
    const auto c = static_cast<unsigned char>(localeDecimalPoint[0]);
    return c > 0 && c < 0x80 ? localeDecimalPoint[0] : '.';
}

}  // namespace cifrano
