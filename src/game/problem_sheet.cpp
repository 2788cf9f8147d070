#include "game/problem_sheet.h"

namespace cifrano {

SheetRow DesignedTemplateRow() {
    SheetRow row;
    for (int i = 0; i < sheet_geometry::kTokenCellCount; ++i) {
        row.Cells[i].Caption = kDesignedCellCaptions[i];
        // Cell 7 is the only token cell hidden at design.
        row.Cells[i].Shown = i < sheet_geometry::kTokenCellCount - 1;
    }
    return row;
}

}  // namespace cifrano
