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

// Decodes code point by code point, independently of the reader's own check:
// shortest forms only, no surrogates, nothing past U+10FFFF.
bool IsWellFormedUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= static_cast<std::size_t>(extra)) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF) return false;
        if (code >= 0xD800 && code <= 0xDFFF) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::size_t CodePoints(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = DecodeConfigurationBytes(bytes);

    FUZZ_CHECK(IsWellFormedUtf8(text));
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (utf16) {
        // Two bytes a unit, a surrogate pair one character for four bytes.
        FUZZ_CHECK(CodePoints(text) <= (bytes.size() - 2) / 2);
    } else if (IsWellFormedUtf8(bytes)) {
        FUZZ_CHECK(text == bytes);  // good UTF-8 is never touched
    } else {
        // Windows-1252: every byte is exactly one character, ASCII unchanged.
        FUZZ_CHECK(CodePoints(text) == bytes.size());
    }

    const auto lines = SplitConfigurationLines(text);
    std::string joined;
    std::string withoutLineEnds;
    for (char c : text)
        if (c != '\r' && c != '\n') withoutLineEnds.push_back(c);
    for (const std::string& line : lines) {
        FUZZ_CHECK(!line.empty());
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        joined += line;

        const OperationFields fields = SplitOperationType(line);
        std::size_t spaces = 0;
        for (char c : line) spaces += c == ' ';
        std::string rebuilt;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            FUZZ_CHECK(fields[k].find(' ') == std::string::npos);
            if (k > 0 && k <= spaces) rebuilt += ' ';
            rebuilt += fields[k];
            // Past the last field every slot is empty.
            if (k > spaces) FUZZ_CHECK(fields[k].empty());
        }
        if (spaces <= fields.size() - 1) {
            FUZZ_CHECK(rebuilt == line);
        } else {
            // Eleven fields kept, the rest dropped at the eleventh's end.
            FUZZ_CHECK(line.compare(0, rebuilt.size(), rebuilt) == 0);
            FUZZ_CHECK(line[rebuilt.size()] == ' ');
        }
    }
    // Lines lose their line ends and nothing else.
    FUZZ_CHECK(joined == withoutLineEnds);
    return 0;
}
