// The game's sounds, by file name. Each group lives in its own file.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "synth.h"

struct SoundFile {
  std::string name;  // file name in the sound folder, exactly as the game plays it
  synth::Track track;
};

// Loudness targets (dBFS, RMS of the loudest 0.4 s): music above chimes above the frequent mechanical sounds.
namespace level {
constexpr double kMusic = -15.0;
constexpr double kJingle = -15.5;
constexpr double kChime = -18.0;
constexpr double kMechanical = -20.0;
}  // namespace level

// Each sound is made by its own maker, so that the makers can run side by side on several threads.
using SoundMaker = std::function<SoundFile()>;

std::vector<SoundMaker> LeverAndStopSounds();  // LeverOn*, StSound*
std::vector<SoundMaker> BonusSounds();         // fanfares, bonus music, count-down, count-up, bells, buzzer
std::vector<SoundMaker> PayoutSounds();        // coins, replays, the digital display, small signals
