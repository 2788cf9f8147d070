#pragma once
// Row 0 of the sheet shows the operation type as a pattern and is the copy
// source of every problem row.
#include <array>

#include "common/game_settings.h"
#include "game/problem_sheet.h"

namespace cifrano {

struct TemplateLayout {
    std::array<TokenCell, sheet_geometry::kTokenCellCount> Cells{};
    int AnswerLeft = sheet_geometry::kAnswerBox.Left;
    int UnderlineX2 = sheet_geometry::kDesignedUnderlineX2;
    // 4..7 when cell 4 is in use; 0 when it is not (never carried over from
    // an earlier game, so a pattern without cell 4 is never judged).
    int ProblemShape = 0;
};

// Lays out row 0 from fields 0..6: a non-empty field is shown as it is, the
// cell of an empty field is hidden and keeps its designed caption; the answer
// box goes behind the pattern and the underline reaches past the box.
TemplateLayout LayoutTemplateRow(const OperationFields& fields);

// Writes a layout into row 0 and the sheet-wide box Left and underline end.
void ApplyTemplateLayout(const TemplateLayout& layout, ProblemSheet& sheet);

}  // namespace cifrano
