#pragma once
// Moving between answer boxes, the placeholder, the row highlight and the
// scrolling of the sheet.
#include <string>

#include "app/sound_cues.h"
#include "game/game_session.h"

namespace cifrano {

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyDown = 40;

// A key went down in answer box `index`. Modifiers do not matter and the key
// is not consumed: the caller lets it act in the box afterwards. An index
// that is not a problem row, or a disabled sheet, is ignored.
void Text1_KeyDown(GameSession& session, SoundCues& sounds, int index, int keyCode);

// The player clicked answer box `index`.
void Text1_Click(GameSession& session, SoundCues& sounds, int index);

// Paints row `row` blue and, when it differs, row PreviousRow black.
void HighlightRow(GameSession& session, int row);

// The arrow buttons beside the sheet: 0 scrolls down, 1 scrolls up.
void Command2_Click(GameSession& session, SoundCues& sounds, int index);

// The text of answer box `row` as edited by the player.
void SetAnswerText(GameSession& session, int row, std::string text);

}  // namespace cifrano
