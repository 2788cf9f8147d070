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
        const int extra = lead < 0x80                   ? 0
                          : lead < 0xC0 || lead >= 0xF8 ? -1
                          : lead < 0xE0                 ? 1
                          : lead < 0xF0                 ? 2
                                                        : 3;
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
        // Eleven fields at most: rejoined they give the line, or past the eleventh field the
        // part of it before that field's end.
        const OperationFields fields = SplitOperationType(line);
        for (const std::string& field : fields) FUZZ_CHECK(field.find(' ') == std::string::npos);
        std::string rebuilt = fields[0];
        for (std::size_t k = 1; k < fields.size() && rebuilt.size() < line.size(); ++k)
            rebuilt += ' ' + fields[k];
        FUZZ_CHECK(line.starts_with(rebuilt) &&
                   (rebuilt.size() == line.size() || line[rebuilt.size()] == ' '));
    }
    return 0;
}
