#pragma once
// Every data file lies beside the executable: application folder + suffix.
#include <string>
#include <string_view>

namespace cifrano {

inline constexpr char kFolderSeparator = '/';

inline constexpr std::string_view kUsersFolder = "\\usuarios\\";
inline constexpr std::string_view kConfigurationFile = "\\configuracion.txt";
inline constexpr std::string_view kGifsFolder = "\\gifs\\";

// The suffixes are written with backslashes; they are mapped to the platform's
// separator, keeping the letter case.
std::string DataPath(std::string_view appFolder, std::string_view suffix);

// "\gifs\" + minutes + ".gif"
std::string AnimationSuffix(int gameMinutes);

}  // namespace cifrano
