#pragma once
// The configuration file: one operation type per non-empty line, each a line of
// space-separated fields that fill OperationFields.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/game_settings.h"

namespace cifrano {

// Splits at every single space; two spaces in a row give an empty field, and a
// leading or trailing space an empty first or last field. Fields after the
// eleventh are dropped, since OperationFields has no room for them.
OperationFields SplitOperationType(std::string_view line);

// The file's bytes as UTF-8 text: valid UTF-8 is kept (a leading byte order mark
// dropped); UTF-16 with its byte order mark (an editor's "Unicode") is converted;
// anything else is read as Windows-1252, the code page such files were written in.
std::string DecodeConfigurationBytes(std::string_view bytes);

// Lines end at CR LF, CR or LF; a last line without a line end counts. Empty
// lines are skipped; a line of blanks is kept.
std::vector<std::string> SplitConfigurationLines(std::string_view text);

// Calls `line(text, number)` for each non-empty line, with its 1-based line
// number in the file, by the same rules; stops early when it returns false.
template <typename LineHandler>
void ForEachConfigurationLine(std::string_view text, LineHandler&& line) {
    std::size_t start = 0;
    int number = 1;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        const std::size_t lineEnd = end == std::string_view::npos ? text.size() : end;
        if (lineEnd > start && !line(text.substr(start, lineEnd - start), number)) return;
        if (end == std::string_view::npos) return;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
        ++number;
    }
}

// Limits that keep a game's memory and the screens' speed independent of what
// the file holds: a teacher's file is a few kilobytes.
inline constexpr std::uintmax_t kMaxConfigurationBytes = 1024 * 1024;
inline constexpr std::size_t kMaxOperationTypes = 1000;
inline constexpr std::size_t kMaxLineCharacters = 300;

// The operation types of the file, in file order, with their line numbers in
// the file, or a Spanish message naming the file when there is none to offer
// or the file is past a limit.
struct OperationTypesResult {
    std::vector<std::string> items;
    std::vector<int> lineNumbers;
    std::string error;  // "" when items holds at least one line
};

OperationTypesResult ReadOperationTypes(const std::string& path);

}  // namespace cifrano
