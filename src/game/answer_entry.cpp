// Moving between answer boxes, the placeholder, the row highlight and the
// scrolling of the sheet.
#include <algorithm>

#include "game/game_session.h"

namespace cifrano {

namespace {
void Paint(SheetRow& row, Rgb colour) {
    row.NumberColour = colour;
    row.CellColour = colour;
}
}  // namespace

// Rows the player can act on: built and within ProblemCount.
int GameSession::LastPlayableRow() const { return std::min(ProblemCount, Sheet.LastRow()); }

bool GameSession::IsPlayable(int index) const {
    return index >= 1 && index <= LastPlayableRow();
}

void GameSession::ClearPlaceholder(int row) {
    if (!Sheet.IsRow(row)) return;
    std::string& text = Sheet.Rows[row].AnswerText;
    if (text == kAnswerPlaceholder) text.clear();
}

void GameSession::MoveTo(int from, int to) {
    FocusRow = to;
    PreviousRow = from;
    CurrentRow = to;
    HighlightRow(CurrentRow);
}

void GameSession::Text1_KeyDown(int index, int keyCode) {
    if (!Sheet.Enabled || !IsPlayable(index)) return;
    if (keyCode == kKeyEnter || keyCode == kKeyDown) {
        CheckAnswer();
        if (index + 1 <= LastPlayableRow()) {
            MoveTo(index, index + 1);
            // The active row keeps its place on screen.
            Sheet.ScrollUp();
        }
    } else if (keyCode == kKeyUp) {
        CheckAnswer();
        if (index - 1 >= 1) {
            MoveTo(index, index - 1);
            Sheet.ScrollDown();
        }
    }
    // Before the key's own character lands in the box.
    ClearPlaceholder(CurrentRow);
}

void GameSession::Text1_Click(int index) {
    if (!Sheet.Enabled || !IsPlayable(index)) return;
    // The first click has no earlier row to judge.
    if (RowActive) CheckAnswer();
    ClearPlaceholder(index);
    HighlightRow(index);
    CurrentRow = index;
    PreviousRow = index;
    RowActive = true;
    FocusRow = index;
}

void GameSession::HighlightRow(int row) {
    if (!Sheet.IsRow(row)) return;
    Paint(Sheet.Rows[row], colours::kRowHighlight);
    if (PreviousRow != row && Sheet.IsRow(PreviousRow))
        Paint(Sheet.Rows[PreviousRow], colours::kBlack);
}

void GameSession::Command2_Click(int index) {
    if (index != 0 && index != 1) return;
    sounds_.Play(SoundCue::ArribaAbajo);
    if (index == 1)
        Sheet.ScrollUp();
    else
        Sheet.ScrollDown();
}

void GameSession::SetAnswerText(int row, std::string text) {
    if (!Sheet.Enabled || !IsPlayable(row)) return;
    Sheet.Rows[row].AnswerText = std::move(text);
}

}  // namespace cifrano
