#pragma once
// What the benchmarks share: a game that makes no sound and asks nothing.
#include <string>

#include "app/prompts.h"
#include "app/sound_cues.h"

namespace cifrano::bench {

class SilentCues : public SoundCues {
  public:
    void Play(SoundCue) override {}
};

class NoPrompts : public Prompts {
  public:
    void Inform(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

}  // namespace cifrano::bench
