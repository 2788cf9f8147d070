#pragma once
#include <vector>

#include "common/sound_cues.h"

namespace cifrano {

// Records every cue asked for, in order.
class RecordingSoundCues : public SoundCues {
  public:
    void Play(SoundCue cue) override { played.push_back(cue); }
    std::vector<SoundCue> played;
};

}  // namespace cifrano
