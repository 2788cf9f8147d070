#pragma once
#include <string>
#include <vector>

#include "common/prompts.h"

namespace cifrano {

// Records every message and answers questions with a preset answer.
class ScriptedPrompts : public Prompts {
  public:
    void Inform(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    bool answer = true;
};

}  // namespace cifrano
