#include "game/template_row.h"

namespace cifrano {

TemplateLayout LayoutTemplateRow(const OperationFields& fields) {
    using namespace sheet_geometry;
    TemplateLayout layout;
    const SheetRow designed = DesignedTemplateRow();
    for (int k = 0; k < kTokenCellCount; ++k) {
        TokenCell& cell = layout.Cells[k];
        cell.Caption = designed.Cells[k].Caption;
        cell.Shown = !fields[k].empty();
        if (cell.Shown) cell.Caption = fields[k];
    }

    // A chain: each cell counts only when every cell before it (from cell 4) is in use.
    const auto shown = [&](int cellNumber) { return layout.Cells[cellNumber - 1].Shown; };
    const auto& cells = kTokenCells;
    if (shown(4)) {
        layout.AnswerLeft = cells[4].Left;
        layout.ProblemShape = 4;
        if (shown(5)) {
            layout.AnswerLeft = cells[5].Left;
            layout.ProblemShape = 5;
            if (shown(6)) {
                layout.AnswerLeft = cells[5].Left + cells[5].Width + 80;
                layout.ProblemShape = 6;
                if (shown(7)) {
                    layout.AnswerLeft = cells[6].Left + cells[6].Width + 80;
                    layout.ProblemShape = 7;
                }
            }
        }
    }
    layout.UnderlineX2 = layout.AnswerLeft + kAnswerBox.Width + 75;
    return layout;
}

void ApplyTemplateLayout(const TemplateLayout& layout, ProblemSheet& sheet) {
    if (sheet.Rows.empty()) sheet.Rows.push_back(DesignedTemplateRow());
    sheet.Rows[0].Cells = layout.Cells;
    sheet.AnswerLeft = layout.AnswerLeft;
    sheet.UnderlineX2 = layout.UnderlineX2;
}

}  // namespace cifrano
