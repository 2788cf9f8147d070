#pragma once
// Building blocks shared by the game tests.
#include <string>
#include <string_view>
#include <vector>

#include "app/game_settings.h"
#include "game/game_session.h"

namespace cifrano::testing {

// A configuration line split at every single space, as the exercise
// selection does: two spaces in a row give an empty field.
inline OperationFields FieldsOf(std::string_view line) {
    OperationFields fields{};
    std::size_t k = 0;
    std::string field;
    for (char c : line) {
        if (c == ' ') {
            if (k < fields.size()) fields[k] = field;
            ++k;
            field.clear();
        } else {
            field.push_back(c);
        }
    }
    if (k < fields.size()) fields[k] = field;
    return fields;
}

// A session in play whose rows 1..n hold the given first five cells, each
// answer box showing "?".
inline GameSession SessionWithProblems(int problemShape,
                                       const std::vector<std::vector<std::string>>& rows) {
    GameSession session;
    session.ProblemShape = problemShape;
    session.ProblemCount = static_cast<int>(rows.size());
    session.State = GameState::Playing;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SheetRow row;
        row.Top = sheet_geometry::RowTop(static_cast<int>(r) + 1);
        row.AnswerShown = true;
        for (std::size_t c = 0; c < rows[r].size() && c < row.Cells.size(); ++c)
            row.Cells[c] = {rows[r][c], true};
        session.Sheet.Rows.push_back(row);
    }
    return session;
}

}  // namespace cifrano::testing
