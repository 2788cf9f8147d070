#pragma once
// "cifrano --comprobar": reads a configuration file the way the exercise
// selection screen does and tells, line by line, how the game will treat each
// operation type, so that a teacher can check a file without playing it.
// The command line itself is parsed here too, so that the rules are tested
// without a window system.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cifrano {

inline constexpr std::string_view kCheckOption = "--comprobar";
inline constexpr int kExitUsable = 0;
inline constexpr int kExitUnusable = 2;  // also the status of a bad command line

// The example problems come from a fixed seed, so that two runs over the same
// file print the same report.
inline constexpr std::uint64_t kExampleSeed = 20240917;
// Problems drawn per line to find out whether the check can judge them.
inline constexpr int kSampleProblems = 100;

enum class CommandKind { Play, Check, Help, Unknown };

struct CommandLine {
    CommandKind Kind = CommandKind::Play;
    std::string Path;     // Check: the file to read, "" for the default one
    std::string Problem;  // Unknown: what was not understood, in Spanish
    // Unknown, but it starts with an option of the window toolkit (-platform,
    // -style ...), which only the toolkit can take off the command line.
    bool MaybeToolkitOptions = false;
};

// args holds the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText();
// The message for a command line that is not understood: the problem and a
// short usage line.
std::string UsageText(const CommandLine& parsed);

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

struct ConfigCheckResult {
    int Status = kExitUsable;
    std::string Report;  // for standard output
    std::string Error;   // for standard error; "" when the file can be used
};

ConfigCheckResult CheckConfigurationFile(const std::string& path);

}  // namespace cifrano
