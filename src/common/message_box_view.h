#pragma once
#include <QPointer>
#include <QWidget>

#include "common/prompts.h"

namespace cifrano {

// Prompts shown as message boxes carrying the application's title.
class MessageBoxPrompts : public Prompts {
  public:
    void Inform(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
};

}  // namespace cifrano
