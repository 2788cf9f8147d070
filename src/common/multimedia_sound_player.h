#pragma once
// The part of the sound player that needs Qt Multimedia. It is built as a
// separate module (libcifrano_sound.so, beside the executable) that the
// program loads when the first cue plays, so that starting the program, its
// first window and the command-line jobs never load Qt Multimedia.
#include <QString>

namespace cifrano {

class SoundEffectsPlayer {
  public:
    virtual ~SoundEffectsPlayer() = default;
    // Stops the cue playing and plays the file, already checked to be a WAV
    // file that fits its size. Asynchronous.
    virtual void Play(const QString& path) = 0;
    virtual bool IsPlaying(const QString& path) const = 0;
};

// The module's file name and its one entry point, which returns a new player
// owned by the caller.
inline constexpr char kSoundModuleFile[] = "libcifrano_sound.so";
inline constexpr char kSoundModuleEntry[] = "cifrano_new_sound_effects_player";
using NewSoundEffectsPlayer = SoundEffectsPlayer* (*)();

}  // namespace cifrano
