// NumericValue on any bytes, and the caption NumberText writes for its result.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "common/numbers.h"
#include "fuzz_check.h"

using cifrano::NumberText;
using cifrano::NumericValue;

namespace {

// The largest doubles round up to 1.79769313486232E+308 at fifteen digits, past
// the largest double: the one caption that no longer reads back as a finite number.
constexpr std::string_view kAboveLargest = "1.79769313486232E+308";

bool IsPlainCaption(std::string_view text) {
    // "-"? digits, optionally "." digits, optionally "E+dd" / "E-ddd".
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    const std::size_t firstDigit = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == firstDigit) return false;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        if (i == fraction || text[i - 1] == '0') return false;  // no trailing zeros
    }
    if (i < text.size() && text[i] == 'E') {
        ++i;
        if (i >= text.size() || (text[i] != '+' && text[i] != '-')) return false;
        const std::size_t exponent = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        if (i - exponent < 2) return false;
    }
    return i == text.size();
}

int SignificantDigits(std::string_view text) {
    int count = 0;
    bool leading = true;
    for (char c : text) {
        if (c == 'E') break;
        if (c < '0' || c > '9') continue;
        if (leading && c == '0') continue;
        leading = false;
        ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = NumericValue(text);

    // Always a number: never NaN, and no negative zero that a caption would show as "-0".
    FUZZ_CHECK(!std::isnan(value));
    FUZZ_CHECK(!(value == 0.0 && std::signbit(value)));
    // Reading is pure: the same text gives the same value.
    FUZZ_CHECK(NumericValue(text) == value);

    if (!std::isfinite(value)) return 0;

    const std::string caption = NumberText(value);
    FUZZ_CHECK(IsPlainCaption(caption));
    FUZZ_CHECK(SignificantDigits(caption) <= 15);

    const double back = NumericValue(caption);
    if (std::isinf(back)) {
        FUZZ_CHECK(std::string_view(caption).substr(caption[0] == '-') == kAboveLargest);
        return 0;
    }
    // Fifteen significant digits survive a trip through a double, so the caption
    // of the value read back is the caption itself.
    FUZZ_CHECK(std::isfinite(back));
    FUZZ_CHECK(NumberText(back) == caption);
    // The value read back lies within half a unit of the fifteenth digit, plus
    // the half unit of the last bit that reading it back may add. Subnormals
    // carry fewer digits than that and are covered by the caption check alone.
    if (std::fabs(value) >= std::numeric_limits<double>::min()) {
        FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 5.2e-15);
    }
    // Whole numbers the program counts with are written without a fraction.
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        FUZZ_CHECK(caption.find('.') == std::string::npos);
        FUZZ_CHECK(caption.find('E') == std::string::npos);
        FUZZ_CHECK(caption == NumberText(static_cast<long long>(value)));
        FUZZ_CHECK(back == value);
    }
    // The comma separator changes only the separator.
    std::string withComma = NumberText(value, ',');
    for (char& c : withComma)
        if (c == ',') c = '.';
    FUZZ_CHECK(withComma == caption);
    return 0;
}
