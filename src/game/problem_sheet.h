#pragma once
// The problem sheet of the game screen as data: row 0 is the template row,
// rows 1 to ProblemCount are the problems. A view paints it; the game core
// reads and writes it. No widget exists per row.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "common/colours.h"

namespace cifrano {

// Designed geometry of the sheet, in twips. The view paints from these same
// numbers so that the model and the picture cannot drift apart.
namespace sheet_geometry {

inline constexpr int kRowPitch = 650;
inline constexpr int kFirstRowTop = 600;        // row 0: labels and box
inline constexpr int kUnderlineBelowTop = 600;  // row 0: underline at 1200
inline constexpr int kTokenCellCount = 7;

struct CellGeometry {
    int Left = 0;
    int Width = 0;
    int Height = 0;
    bool Centred = false;
};

// Label1: the row number.
inline constexpr CellGeometry kNumberLabel{240, 735, 615, false};
// Label2..Label7 and Label11: token cells 1 to 7.
inline constexpr std::array<CellGeometry, kTokenCellCount> kTokenCells{{
    {1200, 615, 495, true},
    {2040, 375, 615, true},
    {2640, 615, 615, true},
    {3600, 255, 495, false},
    {4320, 495, 495, false},
    {5040, 495, 495, false},
    {5640, 495, 495, false},
}};
// Text1: the answer box (its Left is chosen by the template layout).
inline constexpr CellGeometry kAnswerBox{6240, 855, 495, true};
// Line1: the underline of each row.
inline constexpr int kUnderlineX1 = 240;
inline constexpr int kDesignedUnderlineX2 = 6960;

// Picture2, the sheet itself, and Picture1, the window onto it.
inline constexpr int kSheetWidth = 8415;
inline constexpr int kDesignedSheetHeight = 5895;
inline constexpr int kSheetBottomMargin = 550;
struct Rect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};
inline constexpr Rect kSheetWindow{240, 600, 7575, 5895};

// Top of the labels and the box of row r.
constexpr int RowTop(int row) { return kFirstRowTop + kRowPitch * row; }

// Picture2's height once rows 1..problemCount exist: the last number label and a margin fit.
constexpr int SheetHeightFor(int problemCount) {
    return RowTop(problemCount) + kNumberLabel.Height + kSheetBottomMargin;
}

}  // namespace sheet_geometry

// Designed captions of row 0 before any layout.
inline constexpr const char* kDesignedNumberCaption = "1-";
inline constexpr std::array<const char*, sheet_geometry::kTokenCellCount> kDesignedCellCaptions{
    "222", "x", "222", "=", "1", "1", "1"};
inline constexpr const char* kAnswerPlaceholder = "?";

struct TokenCell {
    std::string Caption;
    bool Shown = false;
    // Where the caption writes its number's decimal point with another
    // separator; -1 when the caption reads as it is.
    int SeparatorAt = -1;
    // The text the answer check reads: the caption with "." as its decimal point.
    std::string CheckedText() const {
        std::string text = Caption;
        if (SeparatorAt >= 0 && static_cast<std::size_t>(SeparatorAt) < text.size())
            text[static_cast<std::size_t>(SeparatorAt)] = '.';
        return text;
    }
};

struct SheetRow {
    int Top = sheet_geometry::kFirstRowTop;
    std::string NumberCaption = kDesignedNumberCaption;  // Label1
    bool NumberShown = false;
    // Cells[0..6] are Label2..Label7 and Label11.
    std::array<TokenCell, sheet_geometry::kTokenCellCount> Cells{};
    std::string AnswerText = kAnswerPlaceholder;  // Text1
    Rgb AnswerColour = colours::kAnswerInitial;
    bool AnswerShown = false;
    // Text colours set by the row highlight: Label1 and Label2..Label7.
    // Label11 is never recoloured and stays black.
    Rgb NumberColour = colours::kRowNumber;
    Rgb CellColour = colours::kBlack;

    bool Highlighted() const { return CellColour == colours::kRowHighlight; }
    int UnderlineY() const { return Top + sheet_geometry::kUnderlineBelowTop; }
};

// Row 0 as designed: cells 1 to 6 shown with their designed captions,
// number label, cell 7 and answer box hidden.
SheetRow DesignedTemplateRow();

// A problem as a player reads it: the row number and the shown cells,
// "3-  4 + 6 =".
std::string ProblemReading(const SheetRow& row);
// What became of a row's answer: "sin contestar", "sin comprobar" (typed, not
// yet confirmed), "acierto" or "error".
std::string AnswerState(const SheetRow& row);
// The whole row read aloud: "3-  4 + 6 = 10, acierto"; the template row
// reads "Tipo de operación: A + B =".
std::string RowReading(const SheetRow& row);

struct ProblemSheet {
    std::vector<SheetRow> Rows{DesignedTemplateRow()};
    int AnswerLeft = sheet_geometry::kAnswerBox.Left;
    int AnswerWidth = sheet_geometry::kAnswerBox.Width;
    int UnderlineX1 = sheet_geometry::kUnderlineX1;
    int UnderlineX2 = sheet_geometry::kDesignedUnderlineX2;
    int Top = 0;  // Picture2.Top; moved by whole row pitches, without bounds
    int Height = sheet_geometry::kDesignedSheetHeight;
    bool Enabled = true;

    // Back to the designed template row alone.
    void Reset() { *this = ProblemSheet{}; }

    int LastRow() const { return static_cast<int>(Rows.size()) - 1; }
    // True for rows 1..LastRow(): the rows a player can act on.
    bool IsProblemRow(int row) const { return row >= 1 && row <= LastRow(); }
    bool IsRow(int row) const { return row >= 0 && row <= LastRow(); }

    // The top stops at a billion twips either way (over a million rows away),
    // so that no number of presses can overflow it.
    static constexpr int kTopLimit = 1'000'000'000;
    void ScrollUp() {
        if (Top >= -kTopLimit + sheet_geometry::kRowPitch) Top -= sheet_geometry::kRowPitch;
    }
    void ScrollDown() {
        if (Top <= kTopLimit - sheet_geometry::kRowPitch) Top += sheet_geometry::kRowPitch;
    }
};

}  // namespace cifrano
