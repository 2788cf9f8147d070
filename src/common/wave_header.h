#pragma once
// Whether a sound cue's file is a PCM WAV file whose header agrees with the
// file's size: anything else is silent.
#include <cstdint>
#include <string_view>

namespace cifrano {

// The largest sound cue file that is played.
inline constexpr std::uint64_t kMaxCueFileBytes = 16u * 1024u * 1024u;
// How much of the file's start the check reads: the chunks before the
// samples ("fmt " and any other) must lie within it.
inline constexpr std::size_t kWaveHeadBytes = 64u * 1024u;

// `head` is the file's start (up to kWaveHeadBytes), `fileSize` its size.
// True for a RIFF/WAVE file of at most kMaxCueFileBytes whose RIFF size is the
// file's (one pad byte allowed), with a PCM "fmt " chunk (1 to 8 channels,
// 8, 16, 24 or 32 bits, 1 Hz to 768 kHz, a block size that matches) before a
// non-empty "data" chunk that lies wholly within the file.
bool WaveFitsItsFile(std::string_view head, std::uint64_t fileSize);

}  // namespace cifrano
