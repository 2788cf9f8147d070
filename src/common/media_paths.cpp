#include "common/media_paths.h"

#include "common/numbers.h"

namespace cifrano {

std::string DataPath(std::string_view appFolder, std::string_view suffix) {
    std::string path(appFolder);
    while (!path.empty() && path.back() == kFolderSeparator) path.pop_back();
    for (char c : suffix) path.push_back(c == '\\' ? kFolderSeparator : c);
    return path;
}

std::string AnimationSuffix(int gameMinutes) {
    return std::string(kGifsFolder) + NumberText(gameMinutes) + ".gif";
}

}  // namespace cifrano
