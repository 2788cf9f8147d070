#pragma once
// "cifrano --comprobar": reads a configuration file the way the exercise
// selection screen does and tells, line by line, how the game will treat each
// operation type, so that a teacher can check a file without playing it.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"

namespace cifrano {


// The example problems come from a fixed seed, so that two runs over the same
// file print the same report.
inline constexpr std::uint64_t kExampleSeed = 20240917;
// Problems drawn per line to find out whether the check can judge them.
inline constexpr int kSampleProblems = 100;

// How the answer check will treat the problems of one operation type.
enum class Verdict {
    Judged,           // forms 4, 6 and 7
    NoCellFour,       // fewer than four cells in front of the box: no form at all
    FormFive,         // five cells in front of the box: a form without a rule
    UnknownSign,      // an operator cell holds something that is not + - x :
    NoBracket,        // form 7 whose second cell is not "("
    NeverComputable,  // every sample problem divides by zero
};

struct OperationTypeCheck {
    std::string Text;                  // the line as it is in the list
    std::vector<std::string> Fields;   // as stored (at most 11)
    std::vector<std::string> Dropped;  // fields beyond the eleventh
    int ProblemShape = 0;
    Verdict Result = Verdict::Judged;
    std::string Explanation;  // the verdict in Spanish
    std::vector<std::string> Warnings;
    std::string Example;        // e.g. "57 + 8 = ?"
    std::string ExampleAnswer;  // "" when the example is not judged
    int UnjudgedSamples = 0;    // of kSampleProblems, when the form is judged
};

OperationTypeCheck CheckOperationType(std::string_view line);

// Writes the report to `out` as it goes and the reason a file cannot be used
// to `err`; returns the exit status (kExitUsable or kExitUnusable).
int CheckConfigurationFile(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace cifrano
