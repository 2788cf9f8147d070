#include "setup/player_choice.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "common/utf8.h"

namespace cifrano {

namespace {

// One UTF-8 character at `i`, or U+FFFD for a malformed byte; advances `i`.
char32_t NextCharacter(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                       : (lead >> 3) == 30 ? 4
                                                           : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3F);
    }
    i += length;
    return code;
}

char32_t Upper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0xFF) return 0x178;
    // Latin Extended-A: upper case on the even code, lower on the odd one,
    // shifted by one in the two stretches that start on an odd code.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char32_t{1};
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
    if (c == 0x3C2) return 0x3A3;  // final sigma
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

// The letter an accented Latin-1 letter is sorted with, in upper case.
char32_t BaseLetter(char32_t upper) {
    static constexpr char kLatin1[] = "AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTS";  // U+00C0..U+00DF
    if (upper >= 0xC0 && upper <= 0xDF && upper != 0xD7) return kLatin1[upper - 0xC0];
    return upper;
}

struct SortKey {
    std::vector<std::tuple<int, unsigned long long, char32_t>> primary;  // kind, number, letter
    std::vector<char32_t> secondary;                                     // accents and case
};

SortKey KeyOf(std::string_view text) {
    SortKey key;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] >= '0' && text[i] <= '9') {
            unsigned long long value = 0;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
                // Absurdly long runs saturate rather than wrap.
                value = value > 1'000'000'000'000'000'000ULL ? value : value * 10 + (text[i] - '0');
                ++i;
            }
            key.primary.emplace_back(1, value, 0);
            continue;
        }
        const char32_t c = NextCharacter(text, i);
        const char32_t upper = Upper(c);
        // Punctuation and symbols come first, then numbers, then letters.
        const bool symbol = c < 0x80 && !(upper >= 'A' && upper <= 'Z');
        key.primary.emplace_back(symbol ? 0 : 2, 0, BaseLetter(upper));
        key.secondary.push_back(upper);
    }
    return key;
}

bool KeyLess(const SortKey& ka, std::string_view a, const SortKey& kb, std::string_view b) {
    if (ka.primary != kb.primary) return ka.primary < kb.primary;
    if (ka.secondary != kb.secondary) return ka.secondary < kb.secondary;
    return a < b;
}

}  // namespace

std::string UpperCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t c = NextCharacter(text, i);
        if (c == 0xFFFD) {
            out.append(text.substr(start, i - start));  // malformed bytes stay as they are
        } else {
            AppendUtf8(out, Upper(c));
        }
    }
    return out;
}

bool UserFileLess(std::string_view a, std::string_view b) {
    return KeyLess(KeyOf(a), a, KeyOf(b), b);
}

void SortUserFiles(std::vector<std::string>& names) {
    std::vector<std::pair<SortKey, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) keyed.emplace_back(KeyOf(name), std::move(name));
    std::sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) {
        return KeyLess(x.first, x.second, y.first, y.second);
    });
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

bool IsShowableFileName(std::string_view name) {
    for (std::size_t i = 0; i < name.size();) {
        const char32_t c = NextCharacter(name, i);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0xFFFD) return false;
    }
    return true;
}

bool PlayerChoice::Pick(int slot, std::string_view fileName, bool pictureLoads) {
    if (slot < 0 || slot > 1 || fileName.empty()) return false;
    const auto i = static_cast<std::size_t>(slot);
    players_.Files[i] = std::string(fileName);
    if (HasUserName(fileName)) players_.Names[i] = UserName(fileName);
    return pictureLoads;
}

std::optional<std::string> PlayerChoice::AcceptanceProblem() const {
    const std::string first = UpperCase(players_.Names[0]);
    if (first == "JUGADOR 1") return "Has de seleccionar el jugador 1";
    if (first == UpperCase(players_.Names[1]))
        return "Se han de seleccionar nombres de jugadores diferentes";
    return std::nullopt;
}

}  // namespace cifrano
