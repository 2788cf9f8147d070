#pragma once
// The configuration file: one operation type per non-empty line, each a line of
// space-separated fields that fill OperationFields.
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

// The operation types of the file, in file order, or a Spanish message naming
// the file when there is none to offer.
struct OperationTypesResult {
    std::vector<std::string> items;
    std::string error;  // "" when items holds at least one line
};

OperationTypesResult ReadOperationTypes(const std::string& path);

}  // namespace cifrano
