#pragma once
#include <cstddef>
#include <vector>

#include "game/problem_generator.h"

namespace cifrano {

// Returns the given values in order, then 0; counts every draw.
class ScriptedRandom : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<double> values = {}) : values_(std::move(values)) {}
    double Next() override {
        const std::size_t i = draws++;
        return i < values_.size() ? values_[i] : 0.0;
    }
    std::size_t draws = 0;

  private:
    std::vector<double> values_;
};

}  // namespace cifrano
