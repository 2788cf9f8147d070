#include "game/problem_generator.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <utility>

#include "common/numbers.h"

namespace cifrano {

std::uint64_t SeededRandom::SeedFromClock() {
    // Two loads within one clock tick still get different sheets.
    static std::atomic<std::uint64_t> calls{0};
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(ticks) ^ (++calls * 0x9E3779B97F4A7C15ULL);
}

double SeededRandom::Next() {
    // 53 random bits: exactly representable and always below 1.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

namespace {

// A draw kept inside [0, 1) whatever the source returns, so that the
// arithmetic below stays in range.
double Draw(RandomSource& random) {
    const double u = random.Next();
    if (!(u >= 0.0)) return 0.0;
    if (u >= 1.0) return std::nextafter(1.0, 0.0);
    return u;
}

bool IsRepeated(std::string_view text, char letter, std::size_t maxLength) {
    if (text.empty() || text.size() > maxLength) return false;
    for (char c : text)
        if (c != letter) return false;
    return true;
}

void WriteWhole(std::string& text, long long value, std::string_view suffix = {}) {
    char buffer[24];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    text.assign(buffer, end);
    text += suffix;
}

// A computed cell value written back as a caption; a value that is not a
// number (from a text cell of infinite value) leaves the caption as it was.
void SetNumberCaption(TokenCell& cell, double value, char separator) {
    if (!std::isfinite(value)) return;
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        cell.SeparatorAt = -1;
        WriteWhole(cell.Caption, static_cast<long long>(value));
    } else {
        // Shown with the decimal separator; the cell notes where it stands (the
        // one place the two texts differ) for the answer check.
        const std::string plain = NumberText(value);
        cell.Caption = NumberText(value, separator);
        const auto differs = std::mismatch(plain.begin(), plain.end(), cell.Caption.begin(),
                                           cell.Caption.end());
        cell.SeparatorAt = differs.first == plain.end()
                               ? -1
                               : static_cast<int>(differs.first - plain.begin());
    }
}

// A fraction written in the operation type ("2.5") reads like every other
// number on the sheet; any other text stays as it is.
void LocaliseLiteral(TokenCell& cell, char separator) {
    if (cell.SeparatorAt >= 0 || !IsPlainDecimal(cell.Caption)) return;
    const std::size_t point = cell.Caption.find('.');
    cell.Caption[point] = separator;
    cell.SeparatorAt = static_cast<int>(point);
}

// What a field puts in its cell on every row: a number of so many digits, a
// drawn sign (worth 0 as a number), or the template's caption, whose value is
// worked out once.
struct CellDraw {
    int Letters = 0;
    bool Sign = false;
    double Value = 0.0;
};

CellDraw DrawFor(std::string_view field, int fieldIndex, const TokenCell& templateCell) {
    CellDraw draw{NumberCodeLength(field, fieldIndex),
                  field == "*" && AcceptsRandomOperator(fieldIndex)};
    if (draw.Letters == 0 && !draw.Sign) draw.Value = NumericValue(templateCell.CheckedText());
    return draw;
}

// Draws the caption of a cell and returns the cell's value as a number.
double DrawCell(TokenCell& cell, const CellDraw& draw, RandomSource& random) {
    if (draw.Letters > 0) {
        const long long number = RandomNumber(draw.Letters, random);
        WriteWhole(cell.Caption, number);
        return static_cast<double>(number);
    }
    if (draw.Sign) cell.Caption = RandomOperator(random);
    return draw.Value;
}

// Makes a division in cell 2 exact and a subtraction positive; a and b are
// the values of cells 1 and 3.
void AdjustByOperator(SheetRow& row, const OperationFields& fields, double a, double b,
                      RandomSource& random, char separator) {
    const std::string& op = row.Cells[1].Caption;
    if (op == ":") {
        const double quotient = std::floor(Draw(random) * 8) + 2;
        SetNumberCaption(row.Cells[0], b * quotient, separator);
    } else if (op == "-") {
        const double u = Draw(random);
        // Computed in floating point so that a cell 1 of 0, 1 or any text stays defined.
        const double value =
            (fields[2] == "B" && !(a < 10)) ? std::floor(u * 9) + 1 : std::floor(u * (a - 1)) + 1;
        SetNumberCaption(row.Cells[2], value, separator);
    }
}

}  // namespace

int NumberCodeLength(std::string_view field, int fieldIndex) {
    switch (fieldIndex) {
        case 0:
        case 1:
            return IsRepeated(field, 'A', 4) ? static_cast<int>(field.size()) : 0;
        case 2:
        case 3:
            return IsRepeated(field, 'B', 4) ? static_cast<int>(field.size()) : 0;
        case 4:
        case 5:
            if (field == "C") return 1;
            if (field == "BBBB") return 4;
            return 0;
        default:
            return 0;
    }
}

bool AcceptsRandomOperator(int fieldIndex) { return fieldIndex >= 1 && fieldIndex <= 5; }

bool IsPlainDecimal(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    int points = 0;
    int digits = 0;
    for (char c : text) {
        if (c == '.')
            ++points;
        else if (c >= '0' && c <= '9')
            ++digits;
        else
            return false;
    }
    return points == 1 && digits > 0;
}

long long RandomNumber(int letters, RandomSource& random) {
    long long power = 1;
    for (int i = 0; i < letters; ++i) power *= 10;
    return static_cast<long long>(std::floor(Draw(random) * static_cast<double>(power - 2))) + 2;
}

std::string RandomOperator(RandomSource& random) {
    switch (static_cast<int>(std::floor(Draw(random) * 3))) {
        case 0:
            return "+";
        case 1:
            return "-";
        default:
            return "x";
    }
}

void BuildProblemRows(ProblemSheet& sheet, const OperationFields& fields, int problemCount,
                      RandomSource& random, char decimalSeparator) {
    if (sheet.Rows.empty()) sheet.Rows.push_back(DesignedTemplateRow());
    sheet.Rows.resize(1);
    if (problemCount < 1) return;
    sheet.Rows.reserve(static_cast<std::size_t>(problemCount) + 1);

    // Every row starts as a hidden copy of the laid-out template row.
    SheetRow blank = sheet.Rows[0];
    blank.NumberShown = false;
    for (TokenCell& cell : blank.Cells) cell.Shown = false;
    // Through a string: assigning the pointer itself trips a false GCC 12 -Wrestrict warning.
    blank.AnswerText = std::string(kAnswerPlaceholder);
    blank.AnswerColour = colours::kAnswerInitial;
    blank.AnswerShown = true;
    blank.NumberColour = colours::kRowNumber;
    blank.CellColour = colours::kBlack;

    std::array<CellDraw, 6> draws;
    for (int k = 0; k < 6; ++k) draws[k] = DrawFor(fields[k], k, blank.Cells[k]);

    for (int r = 1; r <= problemCount; ++r) {
        SheetRow& row = sheet.Rows.emplace_back(blank);
        row.Top = sheet_geometry::RowTop(r);
        WriteWhole(row.NumberCaption, r, "-");
        row.NumberShown = true;

        // The order of the draws is part of the rule: cells 1, 2, 3, the
        // adjustment, then cells 4, 5, 6.
        const double a = DrawCell(row.Cells[0], draws[0], random);
        DrawCell(row.Cells[1], draws[1], random);
        const double b = DrawCell(row.Cells[2], draws[2], random);
        AdjustByOperator(row, fields, a, b, random, decimalSeparator);
        DrawCell(row.Cells[3], draws[3], random);
        for (int k = 0; k < 4; ++k) row.Cells[k].Shown = true;
        for (int k = 4; k <= 5; ++k) {
            if (fields[k].empty()) continue;
            DrawCell(row.Cells[k], draws[k], random);
            row.Cells[k].Shown = true;
        }
        if (!fields[6].empty()) {
            row.Cells[6].Caption = fields[6];
            row.Cells[6].Shown = true;
        }
        if (decimalSeparator != '.')
            for (TokenCell& cell : row.Cells) LocaliseLiteral(cell, decimalSeparator);
    }
}

}  // namespace cifrano
