#pragma once
// Judging the answer of the active row from the texts shown in it.
#include <optional>
#include <string_view>

#include "app/sound_cues.h"
#include "game/game_session.h"

namespace cifrano {

// The expected value of a problem from its first five token cells, or nothing
// when the row is not judged: a form other than 4, 6 or 7, an operator sign
// that is not understood, or a value that is not finite (a division by zero).
std::optional<double> ExpectedValue(int problemShape, std::string_view cell1,
                                    std::string_view cell2, std::string_view cell3,
                                    std::string_view cell4, std::string_view cell5);

// Judges row CurrentRow and calls MarkHit or MarkError at most once.
void CheckAnswer(GameSession& session, SoundCues& sounds);
// A hit on row CurrentRow; a row already green is not counted again.
void MarkHit(GameSession& session, SoundCues& sounds);
// An error on row CurrentRow; every call counts.
void MarkError(GameSession& session, SoundCues& sounds);

}  // namespace cifrano
