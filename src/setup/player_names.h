#pragma once
// A user is a picture file in the users folder; its name is the file name less
// its last four characters (a dot and a three-letter extension).
#include <string>
#include <string_view>

namespace cifrano {

// Counted in characters, not bytes; a name of fewer than four characters has
// nothing to cut and gives no name (the caller keeps what it showed before).
bool HasUserName(std::string_view fileName);
std::string UserName(std::string_view fileName);

inline constexpr std::string_view kNoPlayerOne = "Jugador 1";
inline constexpr std::string_view kNoPlayerTwo = "Jugador 2";

}  // namespace cifrano
