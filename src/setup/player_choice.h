#pragma once
// The player selection as data: what each pick shows and when the choice of
// players can be accepted.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/players.h"

namespace cifrano {

class PlayerChoice {
  public:
    // Player `slot` (0 or 1) picked `fileName`; `pictureLoads` tells whether the
    // file is a picture that could be loaded. Returns true when the new picture
    // is to be shown: a file that is not a loadable picture keeps the player's
    // previous picture. The name follows the file whenever it has one.
    bool Pick(int slot, std::string_view fileName, bool pictureLoads);

    // Why the players cannot be accepted yet, in Spanish, or nothing when they
    // can: player 1 must be chosen, and the two names must differ, compared in
    // upper case.
    std::optional<std::string> AcceptanceProblem() const;

    const ChosenPlayers& Players() const { return players_; }

  private:
    ChosenPlayers players_;
};

// Whether a user file's name can be shown in a list: no control characters
// and no bytes that are not UTF-8 (read as U+FFFD), which could not be
// opened again by that name either.
bool IsShowableFileName(std::string_view name);

// Upper case of UTF-8 text for the letters of Latin, Greek and Cyrillic
// scripts; other characters are kept as they are.
std::string UpperCase(std::string_view text);

// The order of the users list: punctuation before digits before letters, case
// ignored, accents after their letter, runs of digits compared as numbers
// ("Ana2" before "Ana10"), then byte order.
bool UserFileLess(std::string_view a, std::string_view b);
// Sorts in that order, each name's sort key made once.
void SortUserFiles(std::vector<std::string>& names);

}  // namespace cifrano
