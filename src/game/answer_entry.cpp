#include "game/answer_entry.h"

#include <algorithm>

#include "game/answer_check.h"

namespace cifrano {

namespace {

// Rows the player can act on: built and within ProblemCount.
int LastPlayableRow(const GameSession& session) {
    return std::min(session.ProblemCount, session.Sheet.LastRow());
}

bool IsPlayable(const GameSession& session, int index) {
    return index >= 1 && index <= LastPlayableRow(session);
}

void ClearPlaceholder(GameSession& session, int row) {
    if (!session.Sheet.IsRow(row)) return;
    std::string& text = session.Sheet.Rows[row].AnswerText;
    if (text == kAnswerPlaceholder) text.clear();
}

void Paint(SheetRow& row, Rgb colour) {
    row.NumberColour = colour;
    row.CellColour = colour;
}

void MoveTo(GameSession& session, int from, int to) {
    session.FocusRow = to;
    session.PreviousRow = from;
    session.CurrentRow = to;
    HighlightRow(session, session.CurrentRow);
}

}  // namespace

void Text1_KeyDown(GameSession& session, SoundCues& sounds, int index, int keyCode) {
    if (!session.Sheet.Enabled || !IsPlayable(session, index)) return;
    if (keyCode == kKeyEnter || keyCode == kKeyDown) {
        CheckAnswer(session, sounds);
        if (index + 1 <= LastPlayableRow(session)) {
            MoveTo(session, index, index + 1);
            // The active row keeps its place on screen.
            session.Sheet.ScrollUp();
        }
    } else if (keyCode == kKeyUp) {
        CheckAnswer(session, sounds);
        if (index - 1 >= 1) {
            MoveTo(session, index, index - 1);
            session.Sheet.ScrollDown();
        }
    }
    // Before the key's own character lands in the box.
    ClearPlaceholder(session, session.CurrentRow);
}

void Text1_Click(GameSession& session, SoundCues& sounds, int index) {
    if (!session.Sheet.Enabled || !IsPlayable(session, index)) return;
    // The first click has no earlier row to judge.
    if (session.RowActive) CheckAnswer(session, sounds);
    ClearPlaceholder(session, index);
    HighlightRow(session, index);
    session.CurrentRow = index;
    session.PreviousRow = index;
    session.RowActive = true;
    session.FocusRow = index;
}

void HighlightRow(GameSession& session, int row) {
    ProblemSheet& sheet = session.Sheet;
    if (!sheet.IsRow(row)) return;
    Paint(sheet.Rows[row], colours::kRowHighlight);
    if (session.PreviousRow != row && sheet.IsRow(session.PreviousRow))
        Paint(sheet.Rows[session.PreviousRow], colours::kBlack);
}

void Command2_Click(GameSession& session, SoundCues& sounds, int index) {
    if (index != 0 && index != 1) return;
    sounds.Play(SoundCue::ArribaAbajo);
    if (index == 1)
        session.Sheet.ScrollUp();
    else
        session.Sheet.ScrollDown();
}

void SetAnswerText(GameSession& session, int row, std::string text) {
    if (!session.Sheet.Enabled || !IsPlayable(session, row)) return;
    session.Sheet.Rows[row].AnswerText = std::move(text);
}

}  // namespace cifrano
