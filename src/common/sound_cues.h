#pragma once
// The eight sound cues and the sink through which the program asks for them.
#include <array>
#include <string_view>

namespace cifrano {

enum class SoundCue { Continuar, List, Boton, Adelante, ArribaAbajo, Acierto, Error, Final };

inline constexpr std::array<SoundCue, 8> kAllSoundCues{
    SoundCue::Continuar,   SoundCue::List,    SoundCue::Boton, SoundCue::Adelante,
    SoundCue::ArribaAbajo, SoundCue::Acierto, SoundCue::Error, SoundCue::Final};

// The cue's file, as a suffix of the application folder.
constexpr std::string_view CueSuffix(SoundCue cue) {
    switch (cue) {
        case SoundCue::Continuar:
            return "\\sonidos\\CONTINUAR.WAV";
        case SoundCue::List:
            return "\\sonidos\\LIST.WAV";
        case SoundCue::Boton:
            return "\\sonidos\\BOTON.WAV";
        case SoundCue::Adelante:
            return "\\sonidos\\ADELANTE.WAV";
        case SoundCue::ArribaAbajo:
            return "\\sonidos\\ARRIBAABAJO.WAV";
        case SoundCue::Acierto:
            return "\\sonidos\\ACIERTO.WAV";
        case SoundCue::Error:
            return "\\sonidos\\ERROR.WAV";
        case SoundCue::Final:
            return "\\sonidos\\FINAL.WAV";
    }
    return {};
}

// Plays a cue asynchronously; a new cue replaces the one playing. Never fails:
// a missing file or a machine without sound is silent.
class SoundCues {
  public:
    virtual ~SoundCues() = default;
    virtual void Play(SoundCue cue) = 0;
};

}  // namespace cifrano
