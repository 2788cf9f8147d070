// The configuration file's bytes, as any editor or accident may leave them:
// decoded, cut into lines and each line split into operation fields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "setup/operation_types.h"

using namespace cifrano;

namespace {

// Shortest forms only, no surrogates, nothing past U+10FFFF.
bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80   ? 0
                          : lead < 0xC0 ? -1
                          : lead < 0xE0 ? 1
                          : lead < 0xF0 ? 2
                          : lead < 0xF8 ? 3
                                        : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) return false;
        char32_t code = lead & (0x7F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text =
        DecodeConfigurationBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(IsWellFormedUtf8(text));

    for (const std::string& line : SplitConfigurationLines(text)) {
        FUZZ_CHECK(!line.empty() && line.find_first_of("\r\n") == std::string::npos);
        // At most eleven fields (the array's size): they rejoin to the line, or,
        // past the eleventh, to the part of it before the eleventh field's end.
        const OperationFields fields = SplitOperationType(line);
        std::size_t spaces = 0;
        for (char c : line) spaces += c == ' ';
        std::string rebuilt;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            if (k > 0 && k <= spaces) rebuilt += ' ';
            rebuilt += fields[k];
        }
        if (spaces < fields.size()) {
            FUZZ_CHECK(rebuilt == line);
        } else {
            FUZZ_CHECK(line.compare(0, rebuilt.size(), rebuilt) == 0 &&
                       line[rebuilt.size()] == ' ');
        }
    }
    return 0;
}
