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

namespace {
std::string TypedAnswer(const SheetRow& row) {
    return row.AnswerText == kAnswerPlaceholder ? std::string() : row.AnswerText;
}
}  // namespace

std::string ProblemReading(const SheetRow& row) {
    std::string text = row.NumberShown ? row.NumberCaption + " " : std::string();
    for (const TokenCell& cell : row.Cells) {
        if (!cell.Shown) continue;
        if (!text.empty()) text += ' ';
        text += cell.Caption;
    }
    return text;
}

std::string AnswerState(const SheetRow& row) {
    if (row.AnswerColour == colours::kAnswerHit) return "acierto";
    if (row.AnswerColour == colours::kAnswerError) return "error";
    return TypedAnswer(row).empty() ? "sin contestar" : "sin comprobar";
}

std::string RowReading(const SheetRow& row) {
    if (!row.AnswerShown) return "Tipo de operación: " + ProblemReading(row);
    const std::string typed = TypedAnswer(row);
    return ProblemReading(row) + (typed.empty() ? "" : " " + typed) + ", " + AnswerState(row);
}

}  // namespace cifrano
