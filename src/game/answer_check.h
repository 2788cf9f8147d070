#pragma once
// The value a problem row asks for, from the texts shown in it.
#include <optional>
#include <string_view>


namespace cifrano {

// The expected value of a problem from its first five token cells, or nothing
// when the row is not judged: a form other than 4, 6 or 7, an operator sign
// that is not understood, or a value that is not finite (a division by zero).
std::optional<double> ExpectedValue(int problemShape, std::string_view cell1,
                                    std::string_view cell2, std::string_view cell3,
                                    std::string_view cell4, std::string_view cell5);

}  // namespace cifrano
