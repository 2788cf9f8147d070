#include "game/answer_check.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/numbers.h"
#include "game/game_session.h"

namespace cifrano {

namespace {

enum class Operator { Add, Subtract, Multiply, Divide };

bool Matches(std::string_view text, Operator op) {
    switch (op) {
        case Operator::Add:
            return text == "+";
        case Operator::Subtract:
            return text == "-";
        // The only sign read without regard to case.
        case Operator::Multiply:
            return text == "x" || text == "X";
        case Operator::Divide:
            return text == ":";
    }
    return false;
}

using Order = std::array<Operator, 4>;
constexpr Order kUsualOrder{Operator::Add, Operator::Subtract, Operator::Multiply,
                            Operator::Divide};
constexpr Order kFirstOfTwoOrder{Operator::Multiply, Operator::Add, Operator::Subtract,
                                 Operator::Divide};

std::optional<Operator> Recognise(std::string_view text, const Order& order) {
    for (Operator op : order)
        if (Matches(text, op)) return op;
    return std::nullopt;
}

double Apply(Operator op, double x, double y) {
    switch (op) {
        case Operator::Add:
            return x + y;
        case Operator::Subtract:
            return x - y;
        case Operator::Multiply:
            return x * y;
        case Operator::Divide:
            return x / y;
    }
    return 0.0;
}

bool Binds(Operator op) { return op == Operator::Multiply || op == Operator::Divide; }

std::optional<double> Raw(int problemShape, std::string_view cell1, std::string_view cell2,
                          std::string_view cell3, std::string_view cell4, std::string_view cell5) {
    switch (problemShape) {
        case 4: {
            const auto op = Recognise(cell2, kUsualOrder);
            if (!op) return std::nullopt;
            return Apply(*op, NumericValue(cell1), NumericValue(cell3));
        }
        case 6: {
            const auto op1 = Recognise(cell2, kFirstOfTwoOrder);
            const auto op2 = Recognise(cell4, kUsualOrder);
            if (!op1 || !op2) return std::nullopt;
            const double a = NumericValue(cell1);
            const double b = NumericValue(cell3);
            const double c = NumericValue(cell5);
            // x and : bind more strongly than + and -; equals go left to right.
            if (Binds(*op2) && !Binds(*op1)) return Apply(*op1, a, Apply(*op2, b, c));
            return Apply(*op2, Apply(*op1, a, b), c);
        }
        case 7: {
            if (cell2 != "(") return std::nullopt;
            const auto op = Recognise(cell4, kUsualOrder);
            if (!op) return std::nullopt;
            return Apply(*op, NumericValue(cell3), NumericValue(cell5)) * NumericValue(cell1);
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<double> ExpectedValue(int problemShape, std::string_view cell1,
                                    std::string_view cell2, std::string_view cell3,
                                    std::string_view cell4, std::string_view cell5) {
    const auto value = Raw(problemShape, cell1, cell2, cell3, cell4, cell5);
    // A problem without a finite result (a division by zero) has no right answer to judge.
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

void GameSession::CheckAnswer() {
    // Row 0 is the template, never a problem.
    if (!Sheet.IsProblemRow(CurrentRow)) return;
    const SheetRow& row = Sheet.Rows[CurrentRow];
    if (row.AnswerText.empty()) return;
    const auto& c = row.Cells;
    const auto expected = ExpectedValue(ProblemShape, c[0].CheckedText(), c[1].CheckedText(),
                                        c[2].CheckedText(), c[3].CheckedText(), c[4].CheckedText());
    if (!expected) return;
    // The player may write a fraction with the locale's separator, as the
    // sheet shows it. An answer too large for a double reads as infinity and
    // so is simply wrong.
    std::string answer = row.AnswerText;
    if (NumberSeparator != '.') std::replace(answer.begin(), answer.end(), NumberSeparator, '.');
    const double typed = NumericValue(answer);
    if (typed == *expected)
        MarkHit();
    else
        MarkError();
}

void GameSession::MarkHit() {
    if (!Sheet.IsProblemRow(CurrentRow)) return;
    SheetRow& row = Sheet.Rows[CurrentRow];
    if (row.AnswerColour == colours::kAnswerHit) return;
    sounds_.Play(SoundCue::Acierto);
    row.AnswerColour = colours::kAnswerHit;
    ++HitCount;
}

void GameSession::MarkError() {
    if (!Sheet.IsProblemRow(CurrentRow)) return;
    sounds_.Play(SoundCue::Error);
    Sheet.Rows[CurrentRow].AnswerColour = colours::kAnswerError;
    ++ErrorCount;
}

}  // namespace cifrano
