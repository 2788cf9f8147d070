#include "common/wave_header.h"

namespace cifrano {

namespace {

std::uint32_t Little32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

std::uint16_t Little16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

struct Format {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
};

bool FormatPlayable(const Format& f) {
    if (f.channels < 1 || f.channels > 8) return false;
    if (f.bits != 8 && f.bits != 16 && f.bits != 24 && f.bits != 32) return false;
    if (f.sampleRate < 1 || f.sampleRate > 768000) return false;
    return f.blockAlign == f.channels * (f.bits / 8);
}

}  // namespace

bool WaveFitsItsFile(std::string_view head, std::uint64_t fileSize) {
    if (fileSize > kMaxCueFileBytes || head.size() < 12 || head.size() > fileSize) return false;
    if (head.substr(0, 4) != "RIFF" || head.substr(8, 4) != "WAVE") return false;
    const std::uint64_t riffEnd = std::uint64_t{Little32(head, 4)} + 8;
    if (riffEnd != fileSize && riffEnd + 1 != fileSize) return false;

    bool haveFormat = false;
    Format format;
    std::uint64_t at = 12;
    while (at + 8 <= head.size()) {
        const std::string_view id = head.substr(at, 4);
        const std::uint64_t size = Little32(head, at + 4);
        const std::uint64_t body = at + 8;
        if (body + size > riffEnd) return false;  // a chunk past the end of the file
        if (id == "data") {
            return haveFormat && size > 0;
        }
        if (id == "fmt ") {
            if (size < 16 || body + size > head.size()) return false;
            const std::uint16_t tag = Little16(head, body);
            // PCM, or the extensible form (which QSoundEffect reads as PCM).
            if (tag != 1 && tag != 0xFFFE) return false;
            format.channels = Little16(head, body + 2);
            format.sampleRate = Little32(head, body + 4);
            format.blockAlign = Little16(head, body + 12);
            format.bits = Little16(head, body + 14);
            if (!FormatPlayable(format)) return false;
            haveFormat = true;
        }
        at = body + size + (size & 1);  // chunks are padded to an even size
    }
    return false;  // no samples within the part read
}

}  // namespace cifrano
