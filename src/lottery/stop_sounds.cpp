#include "lottery/stop_sounds.h"

#include "machine/lottery_state.h"

void SetStopSounds(const StopSoundSet& set) {
  Lottery.StopSounds[0] = set.first;
  Lottery.StopSounds[1] = set.second;
  Lottery.StopSounds[2] = set.third;
}
