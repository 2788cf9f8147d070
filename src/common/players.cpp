#include "common/players.h"

namespace cifrano {

namespace {
// Start of each UTF-8 character: every byte that is not a continuation byte.
bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }
}  // namespace

bool HasUserName(std::string_view fileName) {
    int characters = 0;
    for (char c : fileName) characters += StartsCharacter(c);
    return characters >= 4;
}

std::string UserName(std::string_view fileName) {
    if (!HasUserName(fileName)) return {};
    std::size_t end = fileName.size();
    for (int cut = 0; cut < 4;) {
        --end;
        if (StartsCharacter(fileName[end])) ++cut;
    }
    return std::string(fileName.substr(0, end));
}

bool IsSinglePlayer(std::string_view secondPlayerName) { return secondPlayerName == kNoPlayerTwo; }

}  // namespace cifrano
