// The lever and stop sounds a lottery hands to the game: file paths relative to the program folder, played by the
// lever-on and by the first, second and third accepted stop.
#pragma once
#include <string>

namespace sounds {
inline constexpr const char* kLeverOn0 = "soundMofuran\\LeverOn0.wav";
inline constexpr const char* kLeverOn4 = "soundMofuran\\LeverOn4.WAV";
inline constexpr const char* kStSound1 = "soundMofuran\\StSound1.wav";
inline constexpr const char* kStSound2 = "soundMofuran\\StSound2.wav";
inline constexpr const char* kStSound3 = "soundMofuran\\StSound3.wav";
inline constexpr const char* kStSound5 = "soundMofuran\\StSound5.wav";
inline constexpr const char* kStSound8 = "soundMofuran\\StSound8.wav";
inline constexpr const char* kStSoundSp = "soundMofuran\\StSoundSp.wav";
// Those that only the games of a won MC use.
inline constexpr const char* kLeverOn1 = "soundMofuran\\LeverOn1.wav";
inline constexpr const char* kLeverOn2 = "soundMofuran\\LeverOn2.wav";
inline constexpr const char* kLeverOn3 = "soundMofuran\\LeverOn3.wav";
inline constexpr const char* kStSound4 = "soundMofuran\\StSound4.wav";
inline constexpr const char* kStSound7 = "soundMofuran\\StSound7.wav";
inline constexpr const char* kStSound7c = "soundMofuran\\StSound7c.wav";
inline constexpr const char* kStSound7e = "soundMofuran\\StSound7e.wav";
inline constexpr const char* kStSound7ni = "soundMofuran\\StSound7ni.wav";
inline constexpr const char* kStSound75 = "soundMofuran\\StSound75.wav";
}  // namespace sounds

// A game's three stop sounds, in the order the reels are stopped.
struct StopSoundSet {
  const char* first;
  const char* second;
  const char* third;
};

// The sets of ordinary games and MC games.
inline constexpr StopSoundSet kPlainStops = {sounds::kStSound1, sounds::kStSound1, sounds::kStSound1};
inline constexpr StopSoundSet kHeavyStops = {sounds::kStSound2, sounds::kStSound2, sounds::kStSound2};
inline constexpr StopSoundSet kRisingStops = {sounds::kStSound2, sounds::kStSound3, sounds::kStSound2};
inline constexpr StopSoundSet kMcStops = {sounds::kStSound5, sounds::kStSound5, sounds::kStSound5};
inline constexpr StopSoundSet kFanfareMcStops = {sounds::kStSound8, sounds::kStSound8, sounds::kStSound8};
inline constexpr StopSoundSet kSpecialStops = {sounds::kStSoundSp, sounds::kStSoundSp, sounds::kStSoundSp};

void SetStopSounds(const StopSoundSet& set);
