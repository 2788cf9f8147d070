#include "setup/operation_types.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/utf8.h"

namespace cifrano {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Windows-1252 bytes 0x80 to 0x9F; the five bytes the code page leaves
// undefined keep their own value, as the C1 controls of the same number.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8) count += !IsContinuation(static_cast<unsigned char>(c));
    return count;
}

// Well-formed UTF-8 only: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;  // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (n - i < length) return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            if (!IsContinuation(static_cast<unsigned char>(bytes[i + k]))) return false;
        }
        i += length;
    }
    return true;
}

std::string DecodeWindows1252(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F) {
            AppendUtf8(text, kWindows1252High[byte - 0x80]);
        } else {
            AppendUtf8(text, byte);  // Latin-1 and ASCII bytes are their own code points
        }
    }
    return text;
}

// Text saved as "Unicode" by an editor: UTF-16 with its byte order mark. A
// lone surrogate becomes U+FFFD and an odd last byte is dropped.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    text.reserve(bytes.size());
    auto unitAt = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) unit = 0xFFFD;
        AppendUtf8(text, unit);
    }
    return text;
}

}  // namespace

OperationFields SplitOperationType(std::string_view line) {
    OperationFields fields{};
    std::size_t field = 0;
    for (;;) {
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos || field + 1 == fields.size()) {
            // The last slot takes the rest up to the next space: extra fields are dropped.
            fields[field] = std::string(line.substr(0, space));
            break;
        }
        fields[field++] = std::string(line.substr(0, space));
        line.remove_prefix(space + 1);
    }
    return fields;
}

std::string DecodeConfigurationBytes(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return DecodeWindows1252(bytes);
}

std::vector<std::string> SplitConfigurationLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachConfigurationLine(text, [&](std::string_view line, int) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

OperationTypesResult ReadOperationTypes(const std::string& path) {
    const std::string notFound = "No se encuentra el archivo de configuración: " + path;
    const std::string unreadable = "No se puede leer el archivo de configuración: " + path;

    // Checked before opening: a directory, a device or a pipe of that name would
    // otherwise read as empty, endless or blocking.
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return {{}, {}, notFound};
    if (error) return {{}, {}, unreadable};
    if (status.type() != std::filesystem::file_type::regular) return {{}, {}, unreadable};

    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return {{}, {}, unreadable};
    if (size > kMaxConfigurationBytes)
        return {{}, {}, "El archivo de configuración pasa del límite de 1 MiB: " + path};

    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return {{}, {}, unreadable};
    // Read in chunks up to one byte past the limit, even if the file grows
    // meanwhile; a file of a few kilobytes costs a few kilobytes.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size) + 1);
    std::array<char, 16 * 1024> chunk;
    while (bytes.size() <= kMaxConfigurationBytes) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        bytes.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
        if (!file) break;
    }
    if (file.bad()) return {{}, {}, unreadable};
    if (bytes.size() > kMaxConfigurationBytes)
        return {{}, {}, "El archivo de configuración pasa del límite de 1 MiB: " + path};

    OperationTypesResult result;
    ForEachConfigurationLine(DecodeConfigurationBytes(bytes), [&](std::string_view line, int n) {
        if (CharacterCount(line) > kMaxLineCharacters) {
            result.error = "La línea " + std::to_string(n) +
                           " del archivo de configuración pasa del límite de " +
                           std::to_string(kMaxLineCharacters) + " caracteres: " + path;
        } else if (result.items.size() == kMaxOperationTypes) {
            result.error = "El archivo de configuración pasa del límite de " +
                           std::to_string(kMaxOperationTypes) + " tipos de operación: " + path;
        } else {
            result.items.emplace_back(line);
            result.lineNumbers.push_back(n);
            return true;
        }
        return false;
    });
    if (!result.error.empty()) return {{}, {}, result.error};
    if (result.items.empty()) {
        result.error = "El archivo de configuración no contiene ningún tipo de operación: " + path;
    }
    return result;
}

}  // namespace cifrano
