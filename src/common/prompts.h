#pragma once
// Messages to the user. The shell shows real message boxes; tests answer them.
#include <string>

namespace cifrano {

class Prompts {
  public:
    virtual ~Prompts() = default;
    // A message with an OK button.
    virtual void Inform(const std::string& text) = 0;
    // A question with Yes (the default) and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};

}  // namespace cifrano
