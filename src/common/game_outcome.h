#pragma once
// What a finished game hands on to the results: the game screen produces it
// at the end of the time, the results record it.
#include <string>

namespace cifrano {

struct GameOutcome {
    double Rate = 0.0;          // hits per minute
    std::string OperationText;  // the operation type the game was played with
    int Hits = 0;
    int Errors = 0;  // after the last check
    int Minutes = 0;
};

}  // namespace cifrano
