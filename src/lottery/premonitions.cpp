#include "lottery/premonitions.h"

// Not built yet: a won MC keeps waiting and its games keep the sounds of the game that won it.
void RevealSequence() {}
