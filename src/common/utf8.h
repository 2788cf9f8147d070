#pragma once
// Writing one Unicode character as UTF-8.
#include <string>

namespace cifrano {

// Appends `code` (a scalar value up to U+10FFFF) in one to four bytes.
void AppendUtf8(std::string& out, char32_t code);

}  // namespace cifrano
