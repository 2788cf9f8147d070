#pragma once
// Builds the problem rows of a sheet from the operation fields: codes become
// random numbers or operators, then a division is made exact and a
// subtraction positive.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "common/game_settings.h"
#include "game/problem_sheet.h"

namespace cifrano {

// Uniform numbers in [0, 1).
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual double Next() = 0;
};

class SeededRandom final : public RandomSource {
  public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    // A different seed at each call, so that each game gets its own sheet.
    static std::uint64_t SeedFromClock();
    double Next() override;

  private:
    std::mt19937_64 engine_;
};

// Letters of a number code accepted in field fieldIndex (0..6), or 0 when the
// field holds no number code there.
int NumberCodeLength(std::string_view field, int fieldIndex);
// Whether "*" (a random operator) is accepted in field fieldIndex.
bool AcceptsRandomOperator(int fieldIndex);

// Int(u * (10^letters - 2)) + 2: 2..9, 2..99, 2..999 or 2..9999.
long long RandomNumber(int letters, RandomSource& random);
// "+", "-" or "x" from one draw.
std::string RandomOperator(RandomSource& random);

// Replaces rows 1.. of the sheet by problemCount new rows, each a copy of
// row 0 with its codes drawn. Row 0 must already be laid out from the same
// fields. A problemCount below 1 leaves only row 0. Fractional numbers, drawn
// or written in the operation type ("2.5"), show with the decimal separator;
// each such cell keeps its "." form for the answer check.
void BuildProblemRows(ProblemSheet& sheet, const OperationFields& fields, int problemCount,
                      RandomSource& random, char decimalSeparator = '.');

// Whether a text is a plain decimal fraction: an optional sign, digits and one
// "." with at least one digit.
bool IsPlainDecimal(std::string_view text);

}  // namespace cifrano
