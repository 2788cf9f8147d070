// NumericValue on any bytes, and the caption NumberText writes for its result.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/numbers.h"
#include "fuzz_check.h"

using cifrano::NumberText;
using cifrano::NumericValue;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = NumericValue(text);
    // Always a number, and never a negative zero that a caption would show as "-0".
    FUZZ_CHECK(!std::isnan(value));
    FUZZ_CHECK(!(value == 0.0 && std::signbit(value)));
    if (!std::isfinite(value)) return 0;

    // The caption reads back as a number whose caption is the caption itself,
    // except the largest doubles, which round up past the largest double.
    const std::string caption = NumberText(value);
    const double back = NumericValue(caption);
    if (std::isinf(back)) {
        FUZZ_CHECK(caption.substr(caption[0] == '-') == "1.79769313486232E+308");
        return 0;
    }
    FUZZ_CHECK(NumberText(back) == caption);
    return 0;
}
