// Placeholder until the sound library lands: the calls are accepted and make no sound.
#include "sound/sound_bank.h"

std::string AppFolder;

void PlayBankSound(const std::string&) {}
void LoopBankSound(const std::string&) {}
void StopBankSound(const std::string&) {}
void SndPlaySound(const std::string&) {}
